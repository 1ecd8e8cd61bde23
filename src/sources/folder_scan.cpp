// Folder runs: validation, the recursive walk and the two passes.
#include "sources/folder_scan.h"

#include "reports/report_sinks.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "sources/file_reader.h"
#include "sources/file_selection.h"
#include "sources/source_session.h"
#include "util/paths.h"
#include "util/program_texts.h"
#include "util/text_case.h"
#include "util/utf8.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kMaxFilesForTable = 10000;

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// Appends `line` on a line of its own.
void AppendLine(Host& host, const std::string& line) {
  const std::string text = host.TxbText();
  if (!text.empty() && text.back() != '\n') host.TxbAppend("\n");
  host.TxbAppend(line + "\n");
}

// A regular file of a folder, with the identity of the file its name leads to.
struct ListedFile {
  std::string name;
  dev_t dev = 0;          // known only when statted
  ino_t ino = 0;
  bool statted = false;  // dev and ino from a stat of the file, not from the folder's record
  bool operator<(const ListedFile& o) const { return name < o.name; }
};

struct FolderListing {
  std::vector<ListedFile> files;     // regular files (also through links), byte order
  std::vector<std::string> folders;  // folders (also through links), byte order
};

// Entries that cannot be examined, and everything of an unreadable folder, are left out;
// error says why the folder could not be read (wholly or in part). Devices, pipes and
// sockets are never files to read. The type the folder itself records is trusted: only
// links and entries of unknown type are stat-ed, so a file is stat-ed once, when it is read.
FolderListing ListFolder(const std::string& folder, std::error_code& ec) {
  FolderListing listing;
  ec.clear();
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    ec.assign(errno, std::generic_category());
    return listing;
  }
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) {
      if (errno != 0) ec.assign(errno, std::generic_category());
      break;
    }
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    unsigned char type = entry->d_type;
    ListedFile file{std::string(), 0, entry->d_ino};
    if (type == DT_LNK || type == DT_UNKNOWN) {
      struct stat st{};
      if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) != 0) continue;
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
      file.dev = st.st_dev;
      file.ino = st.st_ino;
      file.statted = true;
    }
    if (type == DT_DIR) {
      listing.folders.push_back(std::move(name));
    } else if (type == DT_REG) {
      file.name = std::move(name);
      listing.files.push_back(std::move(file));
    }
  }
  ::closedir(dir);
  std::sort(listing.files.begin(), listing.files.end());
  std::sort(listing.folders.begin(), listing.folders.end());
  return listing;
}

// A folder as the file system knows it, whatever path leads to it.
struct FolderId {
  dev_t dev = 0;
  ino_t ino = 0;
  bool operator==(const FolderId&) const = default;
};

// The folders of the current path, so that a link back into one of them is seen.
class PathGuard {
 public:
  // False when `folder` is already on the path (a link loop) or cannot be examined;
  // otherwise enters it.
  bool Enter(const std::string& folder) {
    struct stat st{};
    if (::stat(folder.c_str(), &st) != 0) return false;
    const FolderId id{st.st_dev, st.st_ino};
    if (std::find(path_.begin(), path_.end(), id) != path_.end()) return false;
    path_.push_back(id);
    return true;
  }
  void Leave() { path_.pop_back(); }
  // The folder entered last.
  const FolderId& Current() const { return path_.back(); }

 private:
  std::vector<FolderId> path_;
};

bool HasAnyFile(const std::string& folder, bool includeSubfolders, PathGuard& guard) {
  if (!guard.Enter(folder)) return false;
  std::error_code ignored;
  const FolderListing listing = ListFolder(folder, ignored);
  bool found = !listing.files.empty();
  for (std::size_t i = 0; !found && includeSubfolders && i < listing.folders.size(); ++i)
    found = HasAnyFile(JoinPath(folder, listing.folders[i]), true, guard);
  guard.Leave();
  return found;
}

// Why path cannot be opened for reading, as the system says it.
std::string UnreadableReason(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  return "read error";
}

// The count-only list file, resolved and stat-ed once per pass, so that telling whether a
// file of the scan is it costs no stat of that file.
class CountOnlyFile {
 public:
  explicit CountOnlyFile(const std::string& path) : path_(path) {
    exists_ = !path.empty() && ::stat(path.c_str(), &st_) == 0;
    if (!exists_) return;
    std::error_code ec;
    const fs::path resolved = fs::canonical(path, ec);
    struct stat folder{};
    if (!ec && ::stat(resolved.parent_path().c_str(), &folder) == 0) {
      folder_ = FolderId{folder.st_dev, folder.st_ino};
      name_ = resolved.filename().string();
    }
  }
  // Whether the file listed as f in folder, spelled path, is it.
  bool Is(const std::string& path, const FolderId& folder, const ListedFile& f) const {
    if (path_.empty()) return false;
    if (path == path_) return true;
    if (!exists_) return false;
    if (!name_.empty() && folder == folder_ && f.name == name_) return true;
    if (f.ino != st_.st_ino) return false;  // another name of it?
    if (f.statted) return f.dev == st_.st_dev;
    // Some file systems number the folder's record apart from the file.
    struct stat o{};
    return ::stat(path.c_str(), &o) == 0 && o.st_dev == st_.st_dev && o.st_ino == st_.st_ino;
  }

 private:
  std::string path_;
  bool exists_ = false;
  struct stat st_{};
  FolderId folder_;   // the folder it is in, and
  std::string name_;  // its name there, both resolved
};

void ScanTree(SourceSession& s, const std::string& folder, const PerFileReader& perFile,
              PathGuard& guard, const CountOnlyFile& countOnly) {
  RunFlags& run = s.run;
  const std::string loweredFolder = LowerCaseAccented(folder);
  for (const auto& x : s.selection.exclusionTexts)
    if (loweredFolder.find(x) != std::string::npos) return;
  if (!guard.Enter(folder)) return;

  if (run.blnCountingFiles && !run.blnListingFilesOnly) {
    const std::int64_t n = run.lngFilesDone;
    if (n % 5 == 0 || (n < 10 && n > 0))
      s.host.TxbSet("Counting files . . . " + std::to_string(n));
  }

  std::error_code listError;
  const FolderListing listing = ListFolder(folder, listError);
  if (listError) s.sources.skipped.push_back({folder, listError.message()});
  bool folderCounted = false;
  for (const ListedFile& file : listing.files) {
    const std::string path = JoinPath(folder, file.name);
    if (!IsSelectedFile(s.selection, path)) continue;
    run.strCurrentFile = path;
    for (const char* control : {"txbFile", "cmdCountArray", "lblFilesize", "lblXMLsize"})
      s.host.SetLabelVisible(control, false);
    if (countOnly.Is(path, guard.Current(), file)) {
      s.host.MsgBox("The file " + path + "\nis among the files to be scanned.\n"
                    "But this file is the same as the count-only words/phrases file\n"
                    "currently specified in the Settings panel. \nThis is not permitted.",
                    "Invalid input", MsgIcon::Exclamation);
      run.blnStop = true;
      break;
    }
    const std::int64_t before = run.lngFilesDone;
    if (perFile(path) == kFilePermissionDenied)
      s.sources.skipped.push_back({path, UnreadableReason(path)});
    if (run.lngFilesDone > before && !folderCounted) {
      folderCounted = true;
      ++s.reports.intNumFoldersScanned;
    }
    if (run.blnStop) break;
  }

  if (!run.blnStop && s.settings.chkIncludeSubfolders != 0) {
    for (const auto& name : listing.folders) {
      if (LowerCaseAccented(name).find("recycle.bin") != std::string::npos) continue;
      // Text extracted from the documents of a scan would be counted again beside them.
      if (s.settings.chkExtractTextFromDocx && name == "extracted_text") continue;
      ScanTree(s, JoinPath(folder, name), perFile, guard, countOnly);
      s.host.Pump();
      if (run.blnStop) break;
    }
  }
  guard.Leave();
}

std::string NoFilesFoundText(const SourceSession& s) {
  std::string text = "No scanable files ";
  if (!s.selection.filePatterns.empty() || !s.selection.exclusionTexts.empty())
    text += "as specified ";
  text += "were found in this folder";
  if (s.settings.chkIncludeSubfolders != 0) text += " or in its subfolders";
  return text + ".";
}

// Runs one pass with the given flag raised; returns the files the reader accepted.
std::int64_t RunPass(SourceSession& s, bool RunFlags::*pass, const PerFileReader& perFile) {
  s.run.*pass = true;
  s.run.lngFilesDone = 0;
  s.reports.intNumFoldersScanned = 0;
  s.sources.skipped.clear();
  ScanFolderTree(s, s.settings.txbFolder, perFile);
  s.run.*pass = false;
  s.reports.lngNumFilesScanned = s.run.lngFilesDone;
  return s.run.lngFilesDone;
}

}  // namespace

bool ValidateFolder(SourceSession& s) {
  Settings& st = s.settings;
  st.txbFolder = TrimPathBox(st.txbFolder);
  if (st.txbFolder.empty()) {
    s.host.MsgBox("Folder not specified.", "Error", MsgIcon::Exclamation);
    return false;
  }
  std::error_code ec;
  if (!fs::is_directory(st.txbFolder, ec)) {
    s.host.MsgBox("Folder does not exist", "Invalid input", MsgIcon::Exclamation);
    return false;
  }
  PathGuard guard;
  if (!HasAnyFile(st.txbFolder, st.chkIncludeSubfolders != 0, guard)) {
    s.host.MsgBox("Folder contains no files.", "Nothing to do", MsgIcon::Information);
    return false;
  }
  st.txbFile[1] = TrimPathBox(st.txbFile[1]);
  if (!st.txbFile[1].empty() && st.chkDisableOutputToFile == 0 &&
      OutputFileInFolder(st.txbFolder, st.txbFile[1], st.chkIncludeSubfolders != 0)) {
    s.host.MsgBox("The output file cannot be in the folder or a subfolder.",
                  "Invalid output file", MsgIcon::Information);
    return false;
  }
  return true;
}

void ScanFolderTree(SourceSession& s, const std::string& folder, const PerFileReader& perFile) {
  PathGuard guard;
  ScanTree(s, folder, perFile, guard, CountOnlyFile(s.settings.cboWordsFile[1].Selected()));
}

FolderScanResult RunFolderScan(SourceSession& s, const PerFileReader& perFile,
                               bool forWordsVsFilesTable) {
  // The boxes may have been set without leaving them (command line, restored state).
  GetFileFilepathSpecifications(s, 0);
  GetFileFilepathSpecifications(s, 1);
  if (!CheckPatternCharacters(s) || !ValidateFolder(s)) return FolderScanResult::Refused;
  RunFlags& run = s.run;
  Settings& st = s.settings;
  s.host.SetCaption("cmdCountWords", ProgramText(25));
  // What the counting pass learns of the files serves this run's reading pass only.
  struct Forget {
    SourceSession& s;
    ~Forget() { Clear(s.sources); }
    static void Clear(SourceState& src) {
      src.classified.clear();  // closes the files kept open for reading
      src.filesKeptOpen = 0;
      src.output.reset();
    }
  } forget{s};
  Forget::Clear(s.sources);

  run.lngFilesTotal = RunPass(s, &RunFlags::blnCountingFiles, perFile);
  if (run.blnStop) {
    AppendLine(s.host, "Stopped while counting files (so far: " +
                           FilesInFoldersText(run.lngFilesTotal,
                                              s.reports.intNumFoldersScanned) +
                           ").");
    return FolderScanResult::Stopped;
  }
  if (run.blnListingFilesOnly) {
    AppendLine(s.host, run.lngFilesTotal > 0
                           ? FilesInFoldersText(run.lngFilesTotal,
                                                s.reports.intNumFoldersScanned) +
                                 " will be scanned."
                           : "No files will be scanned.");
    return FolderScanResult::Listed;
  }
  if (forWordsVsFilesTable && run.lngFilesTotal > kMaxFilesForTable) {
    s.host.MsgBox("The number of files to be scanned is " + std::to_string(run.lngFilesTotal) +
                      ".\nBut when creating an Excel file of words/phrases vs files\n"
                      "the maximum number of files is 10,000.",
                  "Too many files", MsgIcon::Information);
    return FolderScanResult::TooManyFiles;
  }
  if (s.host.TxbHasCapacityLimit() && st.txbFile[1].empty() && st.chkDisableOutputToFile == 0 &&
      run.lngFilesTotal >= 2) {
    const MsgAnswer answer = s.host.MsgBox(
        "When scanning multiple files or folders\n"
        "you must specify an output file in case\n"
        "the text window will not hold the result.",
        "Multiple files/folders", MsgIcon::Question, MsgButtons::OkCancel, MsgAnswer::Ok);
    if (answer != MsgAnswer::Ok || !ChooseOutputFile(s)) return FolderScanResult::Cancelled;
  }

  std::string emptyBar(static_cast<std::size_t>(std::max(run.intProgressWidth, 0)) + 2, ' ');
  emptyBar.front() = '[';
  emptyBar.back() = ']';
  s.host.SetLabel("lblNumOccurrences", emptyBar);
  const std::int64_t scanned = RunPass(s, &RunFlags::blnScanningFiles, perFile);
  AppendLine(s.host, scanned > 0 ? FilesInFoldersText(scanned, s.reports.intNumFoldersScanned) +
                                       (scanned == 1 ? " was" : " were") + " scanned."
                                 : "No files were scanned.");
  if (run.blnStop) return FolderScanResult::Stopped;
  if (scanned == 0) {
    s.host.MsgBox(NoFilesFoundText(s), "No files found", MsgIcon::Information);
    return FolderScanResult::NoFilesFound;
  }
  return FolderScanResult::Done;
}

FolderScanResult ListFilesToBeScanned(SourceSession& s, const PerFileReader& perFile) {
  const std::string folder = TrimPathBox(s.settings.txbFolder);
  s.host.TxbClear();
  if (DecodeUtf8(folder).size() > 13) s.host.TxbSet("{Folder} = " + folder + "\n\n");
  s.run.blnStop = false;
  s.run.blnListingFilesOnly = true;
  const FolderScanResult result = RunFolderScan(s, perFile);
  s.run.blnListingFilesOnly = false;
  return result;
}

bool ChooseOutputFile(SourceSession& s) {
  const auto chosen = s.host.ChooseSaveFile(ProgramText(47), "", s.settings.txbFile[1]);
  if (!chosen || TrimPathBox(*chosen).empty()) return false;
  // Writing the report into the folder being read would feed it back into the count.
  if (s.settings.source == Source::optFolder &&
      OutputFileInFolder(TrimPathBox(s.settings.txbFolder), TrimPathBox(*chosen), true)) {
    s.host.MsgBox("The output file cannot be in the folder or a subfolder", "Invalid output file",
                  MsgIcon::Information);
    return false;
  }
  s.settings.txbFile[1] = TrimPathBox(*chosen);
  return true;
}

bool ChooseInputFile(SourceSession& s) {
  const auto chosen =
      s.host.ChooseOpenFile(ProgramText(46), "A text file or a docx file", s.settings.txbFile[0]);
  if (!chosen || TrimPathBox(*chosen).empty()) return false;
  s.settings.txbFile[0] = TrimPathBox(*chosen);
  return true;
}

bool ChooseScanFolder(SourceSession& s) {
  const auto chosen = s.host.ChooseFolder(ProgramText(45), s.settings.txbFolder);
  if (!chosen || TrimPathBox(*chosen).empty()) return false;
  s.settings.txbFolder = TrimPathBox(*chosen);
  s.settings.blnWordsGot = false;
  for (const char* label :
       {"lblNumberOfWords", "lblNumWordsExcluded", "lblNumOccurrences", "lblTotalNumOccurrences"})
    s.host.SetLabelVisible(label, false);
  s.host.SetLabel("lblTimeElapsed", "");
  s.settings.chkDisableOutputToFile = 0;
  return true;
}

}  // namespace talq
