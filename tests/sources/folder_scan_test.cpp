#include "sources/folder_scan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "engine/session.h"
#include "host/scripted_host.h"

namespace talq {
namespace {

namespace fs = std::filesystem;

class FolderScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "talq_selection_XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    s_.settings.txbFolder = root_;
    s_.settings.txbFile[1] = "";
  }
  void TearDown() override {
    std::error_code ec;
    for (auto& p : fs::recursive_directory_iterator(root_, ec))
      fs::permissions(p.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }

  // Creates the file (and its folders) below the root.
  void Touch(const std::string& rel) {
    fs::create_directories((fs::path(root_) / rel).parent_path());
    std::ofstream(fs::path(root_) / rel) << "text\n";
  }

  // A reader that accepts every file but those named "*notext*", recording what it saw.
  PerFileReader Reader() {
    return [this](const std::string& path) {
      seen_.push_back(path.substr(root_.size() + 1));
      if (path.find("notext") == std::string::npos) ++s_.run.lngFilesDone;
      return 0;
    };
  }

  // The files the reading pass handed over, relative to the root.
  std::vector<std::string> ReadingPass() {
    std::vector<std::string> read;
    PerFileReader inner = Reader();
    s_.settings.txbFolder = root_;
    s_.run.blnScanningFiles = true;
    ScanFolderTree(s_, root_, [&](const std::string& p) {
      read.push_back(p.substr(root_.size() + 1));
      return inner(p);
    });
    s_.run.blnScanningFiles = false;
    return read;
  }

  std::string root_;
  ScriptedHost host_;
  Session s_{host_};
  std::vector<std::string> seen_;
};

TEST_F(FolderScanTest, FilesThenSubfoldersInByteOrder) {
  for (const char* f : {"b.txt", "B.txt", "a.txt", "_.txt", "z/1.txt", "A/2.txt", "A/b/3.txt"})
    Touch(f);
  using V = std::vector<std::string>;
  EXPECT_EQ(ReadingPass(), (V{"B.txt", "_.txt", "a.txt", "b.txt"}));
  s_.settings.chkIncludeSubfolders = 1;
  EXPECT_EQ(ReadingPass(), (V{"B.txt", "_.txt", "a.txt", "b.txt", "A/2.txt", "A/b/3.txt",
                              "z/1.txt"}));
}

TEST_F(FolderScanTest, SkippedFoldersAndEntries) {
  for (const char* f : {"a.txt", "$Recycle.Bin/r.txt", "old-BAK/o.txt", "keep/k.txt",
                        "keep/pic.png", "keep/k.bak.txt"})
    Touch(f);
  ASSERT_EQ(mkfifo((root_ + "/keep/pipe.txt").c_str(), 0600), 0);  // reading it would block
  fs::create_symlink(root_ + "/missing.txt", root_ + "/dangling.txt");
  s_.settings.chkIncludeSubfolders = 1;
  s_.settings.txbFileFilepathSpecifications[1] = "bak";
  GetFileFilepathSpecifications(s_, 1);
  EXPECT_EQ(ReadingPass(), (std::vector<std::string>{"a.txt", "keep/k.txt"}));
}

TEST_F(FolderScanTest, SymbolicLinkLoopIsNotFollowed) {
  Touch("a.txt");
  Touch("sub/b.txt");
  Touch("../" + fs::path(root_).filename().string() + "-outside/c.txt");
  fs::create_directory_symlink(root_, root_ + "/sub/up");
  fs::create_directory_symlink(root_ + "-outside", root_ + "/sub/elsewhere");
  s_.settings.chkIncludeSubfolders = 1;
  EXPECT_EQ(ReadingPass(),
            (std::vector<std::string>{"a.txt", "sub/b.txt", "sub/elsewhere/c.txt"}));
  fs::remove_all(root_ + "-outside");
}

TEST_F(FolderScanTest, UnreadableFolderIsSkippedSilently) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  Touch("a.txt");
  Touch("locked/b.txt");
  fs::permissions(root_ + "/locked", fs::perms::none);
  s_.settings.chkIncludeSubfolders = 1;
  EXPECT_EQ(ReadingPass(), (std::vector<std::string>{"a.txt"}));
  EXPECT_TRUE(host_.messages.empty());
}

TEST_F(FolderScanTest, ValidateFolderMessages) {
  struct Case {
    std::string folder;
    std::string output;
    int subfolders;
    const char* text;  // "" when valid
    const char* title;
  };
  Touch("only-below/a.txt");
  Touch("files/f.txt");
  Touch("files/sub/g.txt");
  const std::string files = root_ + "/files";
  const std::string relFiles = fs::relative(files, fs::current_path()).string();
  const Case cases[] = {
      {"   ", "", 0, "Folder not specified.", "Error"},
      {root_ + "/nowhere", "", 0, "Folder does not exist", "Invalid input"},
      {root_, "", 0, "Folder contains no files.", "Nothing to do"},
      {root_, "", 1, "", ""},  // the file below counts with subfolders
      {files, files + "/out.txt", 0, "The output file cannot be in the folder or a subfolder.",
       "Invalid output file"},
      {relFiles + "/", files + "/out.txt", 0,
       "The output file cannot be in the folder or a subfolder.", "Invalid output file"},
      {files, relFiles + "/sub/../out.txt", 0,
       "The output file cannot be in the folder or a subfolder.", "Invalid output file"},
      {files, files + "/sub/out.txt", 0, "", ""},
      {files, files + "/sub/out.txt", 1,
       "The output file cannot be in the folder or a subfolder.", "Invalid output file"},
      {files, files + "-out.txt", 1, "", ""},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    Session s(host);
    s.settings.txbFolder = c.folder;
    s.settings.txbFile[1] = c.output;
    s.settings.chkIncludeSubfolders = c.subfolders;
    const bool valid = ValidateFolder(s);
    EXPECT_EQ(valid, std::string(c.text).empty()) << c.folder << " / " << c.output;
    if (!valid) {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].text, c.text);
      EXPECT_EQ(host.messages[0].title, c.title);
    }
  }
  // Output to file disabled: the output path does not matter.
  s_.settings.txbFolder = files;
  s_.settings.txbFile[1] = files + "/out.txt";
  s_.settings.chkDisableOutputToFile = 1;
  EXPECT_TRUE(ValidateFolder(s_));
}

TEST_F(FolderScanTest, RunSummariesAndNoFilesMessages) {
  struct Case {
    std::vector<std::string> files;
    const char* patterns;
    int subfolders;
    FolderScanResult result;
    const char* lastLine;
    const char* message;  // "No files found" text, "" when none
  };
  const Case cases[] = {
      {{"a.txt", "s/b.txt", "s/c.txt"}, "", 1, FolderScanResult::Done,
       "3 files in 2 folders were scanned.", ""},
      {{"a.txt", "b.notext"}, "", 0, FolderScanResult::Done, "1 file in 1 folder was scanned.", ""},
      {{"a.notext"}, "", 0, FolderScanResult::NoFilesFound, "No files were scanned.",
       "No scanable files were found in this folder."},
      {{"a.txt", "s/b.txt"}, "*.htm", 1, FolderScanResult::NoFilesFound,
       "No files were scanned.",
       "No scanable files as specified were found in this folder or in its subfolders."},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    for (const auto& f : c.files) Touch(f);
    ScriptedHost host;
    Session s(host);
    s.settings.txbFolder = root_;
    s.settings.chkIncludeSubfolders = c.subfolders;
    s.settings.txbFileFilepathSpecifications[0] = c.patterns;
    auto reader = [&](const std::string& path) {
      if (path.find("notext") == std::string::npos) ++s.run.lngFilesDone;
      return 0;
    };
    EXPECT_EQ(RunFolderScan(s, reader), c.result) << c.lastLine;
    const std::string text = host.TxbText();
    const std::string last = std::string(c.lastLine) + "\n";
    if (std::string(c.message).empty()) {
      EXPECT_TRUE(text.ends_with(last)) << text;
      EXPECT_TRUE(host.messages.empty());
    } else {
      EXPECT_TRUE(text.ends_with("No files were scanned.\n")) << text;
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].text, c.message);
      EXPECT_EQ(host.messages[0].title, "No files found");
    }
    EXPECT_FALSE(s.run.blnCountingFiles || s.run.blnScanningFiles);
  }
}

TEST_F(FolderScanTest, StopWhileCountingReportsFilesSoFar) {
  for (const char* f : {"a.txt", "b.txt", "c.txt"}) Touch(f);
  int calls = 0;
  auto reader = [&](const std::string&) {
    ++s_.run.lngFilesDone;
    if (++calls == 2) s_.run.blnStop = true;
    return 0;
  };
  EXPECT_EQ(RunFolderScan(s_, reader), FolderScanResult::Stopped);
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(host_.TxbText().ends_with(
      "Counting files . . . 0\nStopped while counting files (so far: 2 files in 1 folder).\n"))
      << host_.TxbText();
}

TEST_F(FolderScanTest, CountOnlyFileAmongScannedFilesStopsTheScan) {
  Touch("a.txt");
  Touch("list.txt");
  s_.settings.cboWordsFile[1].items = {root_ + "/list.txt"};
  s_.settings.cboWordsFile[1].index = 0;
  EXPECT_EQ(RunFolderScan(s_, Reader()), FolderScanResult::Stopped);
  EXPECT_EQ(seen_, std::vector<std::string>{"a.txt"});
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text, "The file " + root_ +
                                        "/list.txt\nis among the files to be scanned.\n"
                                        "But this file is the same as the count-only "
                                        "words/phrases file\ncurrently specified in the "
                                        "Settings panel. \nThis is not permitted.");
  EXPECT_TRUE(s_.run.blnStop);
}

TEST_F(FolderScanTest, MultipleFilesAskForAnOutputFileOnlyWithALimitedTextBox) {
  Touch("a.txt");
  Touch("b.txt");
  const char* kQuestion =
      "When scanning multiple files or folders\nyou must specify an output file in case\n"
      "the text window will not hold the result.";
  struct Case {
    bool limited;
    MsgAnswer answer;
    std::optional<std::string> chosen;
    FolderScanResult result;
    std::vector<std::string> titles;
  };
  const std::string outside = root_ + "-out.txt";
  const Case cases[] = {
      {false, MsgAnswer::Ok, std::nullopt, FolderScanResult::Done, {}},
      {true, MsgAnswer::Cancel, std::nullopt, FolderScanResult::Cancelled,
       {"Multiple files/folders"}},
      {true, MsgAnswer::Ok, std::nullopt, FolderScanResult::Cancelled,
       {"Multiple files/folders"}},
      {true, MsgAnswer::Ok, root_ + "/out.txt", FolderScanResult::Cancelled,
       {"Multiple files/folders", "Invalid output file"}},
      {true, MsgAnswer::Ok, outside, FolderScanResult::Done, {"Multiple files/folders"}},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    host.capacityLimited = c.limited;
    host.answers = {c.answer};
    host.chosenPaths = {c.chosen};
    Session s(host);
    s.settings.txbFolder = root_;
    auto reader = [&](const std::string&) { return static_cast<int>(++s.run.lngFilesDone); };
    EXPECT_EQ(RunFolderScan(s, reader), c.result);
    std::vector<std::string> titles;
    for (const auto& m : host.messages) titles.push_back(m.title);
    EXPECT_EQ(titles, c.titles);
    if (!titles.empty()) {
      EXPECT_EQ(host.messages[0].text, kQuestion);
    }
    if (titles.size() == 2) {
      EXPECT_EQ(host.messages[1].text, "The output file cannot be in the folder or a subfolder");
    }
    if (c.result == FolderScanResult::Done && c.chosen) {
      EXPECT_EQ(s.settings.txbFile[1], outside);
    }
  }
}

TEST_F(FolderScanTest, WordsVsFilesTableTakesAtMostTenThousandFiles) {
  Touch("a.txt");
  Touch("b.txt");
  for (std::int64_t total : {10000, 10001}) {
    ScriptedHost host;
    Session s(host);
    s.settings.txbFolder = root_;
    // The first file stands for all but one of the files.
    auto reader = [&](const std::string& p) {
      s.run.lngFilesDone += p.ends_with("a.txt") ? total - 1 : 1;
      return 0;
    };
    const FolderScanResult r = RunFolderScan(s, reader, true);
    if (total == 10000) {
      EXPECT_EQ(r, FolderScanResult::Done);
      EXPECT_TRUE(host.messages.empty());
    } else {
      EXPECT_EQ(r, FolderScanResult::TooManyFiles);
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_EQ(host.messages[0].text,
                "The number of files to be scanned is 10001.\n"
                "But when creating an Excel file of words/phrases vs files\n"
                "the maximum number of files is 10,000.");
      EXPECT_EQ(host.messages[0].title, "Too many files");
    }
  }
}

TEST_F(FolderScanTest, ListingOnlyCountsAndNamesTheFolder) {
  Touch("a.txt");
  Touch("s/b.txt");
  s_.settings.chkIncludeSubfolders = 1;
  ASSERT_GT(root_.size(), 13u);
  EXPECT_EQ(ListFilesToBeScanned(s_, Reader()), FolderScanResult::Listed);
  EXPECT_EQ(host_.TxbText(), "{Folder} = " + root_ + "\n\n2 files in 2 folders will be scanned.\n");
  EXPECT_EQ(seen_, (std::vector<std::string>{"a.txt", "s/b.txt"}));  // one pass only
  EXPECT_FALSE(s_.run.blnListingFilesOnly);

  s_.settings.txbFileFilepathSpecifications[0] = "*.htm";
  EXPECT_EQ(ListFilesToBeScanned(s_, Reader()), FolderScanResult::Listed);
  EXPECT_TRUE(host_.TxbText().ends_with("\n\nNo files will be scanned.\n"));
}

}  // namespace
}  // namespace talq
