// Folder runs: the checks before a scan, the recursive walk over the folder tree, and the
// two passes (count the files, then read them) with their progress and summary lines.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace talq {

struct SourceSession;

// Reads one selected file of a folder run (the per-file reader). Contract:
// - called once per selected file with its full path (also in run.strCurrentFile);
// - in the counting pass (run.blnCountingFiles) and when listing (run.blnListingFilesOnly)
//   it only registers or lists the file; in the reading pass (run.blnScanningFiles) it reads it;
// - before reading a file it empties the phrase window, so a phrase never spans two files;
// - it increments run.lngFilesDone for every file it accepts (text files), and only then;
// - it may set run.blnStop to end the scan; it returns its status code (0 done or skipped).
using PerFileReader = std::function<int(const std::string& path)>;

// How a folder run ended.
enum class FolderScanResult {
  Refused,       // ValidateFolder said no (after its message)
  Stopped,       // run.blnStop was set during a pass
  Listed,        // listing only: the files were listed
  TooManyFiles,  // more than 10000 files for the words-vs-files table (after its message)
  Cancelled,     // no output file was chosen at the multiple-files question
  NoFilesFound,  // the reading pass read no file ("No files found" already shown)
  Done,          // the reading pass read at least one file
};

// Checks the folder box (trimmed in place) and the output file (trimmed in place) before a
// scan. Returns false after one message.
bool ValidateFolder(SourceSession& s);

// One pass over `folder`: files in byte order of their names, then (with
// chkIncludeSubfolders) subfolders in byte order. Skips folders whose lower-cased path holds
// an exclusion text, subfolders named like "recycle.bin" (and "extracted_text" while
// chkExtractTextFromDocx writes there), symbolic links back into a folder
// on the current path, and unreadable folders. Ends early when run.blnStop is set.
// Unreadable folders and files (the reader's kFilePermissionDenied) go into sources.skipped.
// Counts the folders in which `perFile` accepted a file into reports.intNumFoldersScanned.
void ScanFolderTree(SourceSession& s, const std::string& folder, const PerFileReader& perFile);

// The whole folder run on txbFolder: validation, counting pass, reading pass, summary line.
// `forWordsVsFilesTable` applies the 10000-file limit of that table. The caller resets its
// per-run counters beforehand and handles a stop (Stopped) afterwards.
FolderScanResult RunFolderScan(SourceSession& s, const PerFileReader& perFile,
                               bool forWordsVsFilesTable = false);

// The "List files to be scanned" command: RunFolderScan with run.blnListingFilesOnly set,
// the text box starting with "{Folder} = <folder>" when the folder path is longer than 13
// characters.
FolderScanResult ListFilesToBeScanned(SourceSession& s, const PerFileReader& perFile);

// The output-file chooser (cmdFile element 1). True when a file was chosen and put into the
// output-file box; a file inside the scanned folder is refused with a message.
bool ChooseOutputFile(SourceSession& s);

// The single-file chooser (cmdFile element 0). True when a file was put into the input-file box.
bool ChooseInputFile(SourceSession& s);

// The folder chooser (cmdFolder). True when a folder was chosen: it goes into txbFolder, the
// previous result is forgotten and output to file is enabled again.
bool ChooseScanFolder(SourceSession& s);

}  // namespace talq
