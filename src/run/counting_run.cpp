#include "run/counting_run.h"

#include <sys/stat.h>

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>

#include "engine/words_phrases.h"
#include "lists/list_lookup_impl.h"
#include "lists/patterns.h"
#include "lists/word_lists.h"
#include "reports/display_controls.h"
#include "reports/report_formats.h"
#include "reports/report_sinks.h"
#include "run/filter_words.h"
#include "run/parallel_reading.h"
#include "run/phrase_run.h"
#include "run/run_summary.h"
#include "run/session.h"
#include "sources/folder_scan.h"
#include "sources/stream_source.h"
#include "text/word_chars.h"
#include "util/numbers.h"
#include "util/paths.h"
#include "util/program_texts.h"
#include "util/times.h"

namespace talq {

namespace fs = std::filesystem;

namespace {

// Appends text on a line of its own.
void AppendLine(Session& s, const std::string& text) {
  const std::string box = s.host.TxbText();
  OutputToTxb(s, (!box.empty() && box.back() != '\n' ? "\n" : "") + text);
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

// "Count all words" sets the count-only list aside for one run and brings it back after it,
// however the run ends.
class CountOnlySetAside {
 public:
  explicit CountOnlySetAside(Session& s) : s_(s) {}
  CountOnlySetAside(const CountOnlySetAside&) = delete;
  CountOnlySetAside& operator=(const CountOnlySetAside&) = delete;
  ~CountOnlySetAside() {
    if (!active_) return;
    ListState& l = s_.lists;
    l.strExtraCountOnlyWords = std::move(extras_);
    l.intNumExtraCountOnlyWords = numExtras_;
    l.lngNumCountOnlyWords = numLoaded_;
    s_.settings.txbWordsToIgnoreOrCount[kCountOnly] = extraText_;
    s_.settings.cboWordsFile[kCountOnly].index = fileIndex_;
    s_.run.blnThereAreCountOnlyWords = numExtras_ >= 1 || numLoaded_ >= 1;
  }
  void Apply() {
    ListState& l = s_.lists;
    active_ = true;
    extras_ = std::move(l.strExtraCountOnlyWords);
    l.strExtraCountOnlyWords = {std::string()};
    numExtras_ = l.intNumExtraCountOnlyWords;
    numLoaded_ = l.lngNumCountOnlyWords;
    extraText_ = s_.settings.txbWordsToIgnoreOrCount[kCountOnly];
    fileIndex_ = s_.settings.cboWordsFile[kCountOnly].index;
    l.intNumExtraCountOnlyWords = 0;
    l.lngNumCountOnlyWords = 0;
    s_.settings.txbWordsToIgnoreOrCount[kCountOnly].clear();
    s_.settings.cboWordsFile[kCountOnly].index = -1;
    s_.run.blnThereAreCountOnlyWords = false;
  }

 private:
  Session& s_;
  bool active_ = false;
  std::vector<std::string> extras_;
  int numExtras_ = 0;
  std::int64_t numLoaded_ = 0;
  std::string extraText_;
  int fileIndex_ = -1;
};

void SetListFlags(Session& s) {
  const ListState& l = s.lists;
  s.run.blnThereAreCountOnlyWords = l.intNumExtraCountOnlyWords >= 1 || l.lngNumCountOnlyWords >= 1;
  s.run.blnThereAreWordsToIgnore = l.HasWordsToIgnore();
}

}  // namespace

void SetCountWordsCaption(Session& s) {
  const ListState& l = s.lists;
  s.run.blnThereAreCountOnlyWords = l.intNumExtraCountOnlyWords >= 1 || l.lngNumCountOnlyWords >= 1;
  s.host.SetCaption("cmdCountWords", ProgramText(21));
  s.host.SetCaption("cmdCountArray", ProgramText(s.run.blnThereAreCountOnlyWords ? 102 : 101));
}

namespace {

bool InProgress(Session& s) {
  if (s.counting.blnRunInProgress) return true;
  // Other long operations (reading a list, listing files) share the button's stop caption.
  const std::string caption = s.host.Caption("cmdCountWords");
  const bool stopCaption =
      !caption.empty() && (caption == ProgramText(90) || caption == ProgramText(25));
  return stopCaption && (s.run.blnReadingWords || s.run.blnListingFilesOnly ||
                         s.lists.blnListingCountOnlyWords);
}

// The chooser and the run, with the count-only list set aside when all words are counted.
RunResult ChooseAndCount(Session& s, bool forTable) {
  CountOnlySetAside aside(s);
  s.reports.blnCountSpecifiedWordsPhrases = false;
  if (!forTable) {
    std::vector<std::string> options{"Count all words"};
    if (s.run.blnThereAreCountOnlyWords) options.push_back("Count only specified words/phrases");
    const int choice = s.host.Choose(CountChooserIntro(s), "Count words/phrases", options,
                                     static_cast<int>(options.size()) - 1);
    if (choice < 0 || choice >= static_cast<int>(options.size())) return RunResult::Cancelled;
    if (choice == 0) {
      aside.Apply();
    } else {
      s.reports.blnCountSpecifiedWordsPhrases = true;
    }
  }
  for (const char* label : {"lblNumberOfWords", "lblNumWordsExcluded", "lblNumOccurrences",
                            "lblTotalNumOccurrences"})
    s.host.SetLabel(label, "");
  s.counting.blnMakingWordsVsFilesTable = forTable;
  const RunResult result = CountWordsPhrases(s);
  s.counting.blnMakingWordsVsFilesTable = false;
  return result;
}

RunResult StartRun(Session& s, bool forTable) {
  s.run.blnCountingMFP = false;
  if (!ValidateInput(s)) return RunResult::Refused;
  // A folder-only format may still be selected from before the source changed.
  if (!forTable && !CheckDisplayFormatAvailable(s)) return RunResult::Refused;
  s.reports.strHowManyPhrases.clear();
  if (!GetExtraWords(s, kWordsToIgnore) || !GetExtraWords(s, kCountOnly)) return RunResult::Refused;
  if (s.extraction.lists == nullptr) InstallWordLists(s);
  SetListFlags(s);
  const RunResult result = ChooseAndCount(s, forTable);
  // The captions follow the count-only list that is back in force.
  SetCountWordsCaption(s);
  return result;
}

// The source, read into the word table. Returns nullopt when counting went through (or was
// stopped by the user), else how the run ends.
std::optional<RunResult> ReadSource(Session& s) {
  Settings& st = s.settings;
  // Other cores read ahead while the source is read; nothing of it outlives this call.
  std::unique_ptr<ParallelReader> parallel;
  if (JobsFor(s) > 1) parallel = std::make_unique<ParallelReader>(JobsFor(s));
  s.sources.parallel = parallel.get();
  struct Uninstall {
    Session& s;
    ~Uninstall() { s.sources.parallel = nullptr; }
  } uninstall{s};
  switch (st.source) {
    case Source::optOnClipboard:
      if (s.sources.intStandardInput >= 0) {
        if (DoItFromStandardInput(s) != kFileDone) return RunResult::Refused;
        return std::nullopt;
      }
      if (GetClipboardText(s, false) != 0) return RunResult::Refused;
      if (DoItFromClipboard(s) != kFileDone) return RunResult::Refused;
      return std::nullopt;
    case Source::optInFile: {
      const int status = DoItFromFile(s, st.txbFile[0]);
      if (status == kFileBadPath || status == kFileNotFound || status == kFileEmptyOrNoPath)
        ReportFileStatus(s, status, st.txbFile[0]);
      if (status != kFileDone) return RunResult::Refused;
      return std::nullopt;
    }
    case Source::optFolder: {
      s.words.Clear();
      s.reports.lngNumFilesScanned = 0;
      s.reports.intNumFoldersScanned = 0;
      const PerFileReader perFile = [&s, &parallel](const std::string& path) {
        // A phrase never spans two files.
        if (s.run.blnScanningFiles) ResetPhrases(s);
        const std::int64_t before = s.run.lngFilesDone;
        const int status = DoItFromFile(s, path);
        // The counting pass tells the reading pass which files to read ahead.
        if (parallel && s.run.blnCountingFiles && s.run.lngFilesDone > before) {
          const auto known = s.sources.classified.find(path);
          if (known != s.sources.classified.end()) {
            const TextFileStats& st = known->second.stats;
            parallel->Plan(s, path, known->second.verdict, st.encoding.encoding,
                           st.encoding.bomLength, known->second.length, known->second.file);
          }
        }
        return status;
      };
      const FolderScanResult r = RunFolderScan(s, perFile, s.counting.blnMakingWordsVsFilesTable);
      switch (r) {
        case FolderScanResult::Done:
          return std::nullopt;
        case FolderScanResult::Stopped:
          // A stop the user did not ask for comes from a refusal already reported.
          if (s.run.blnStopRequested) return std::nullopt;
          return RunResult::Refused;
        case FolderScanResult::Cancelled:
          return RunResult::Cancelled;
        default:
          return RunResult::Refused;
      }
    }
  }
  return RunResult::Failed;
}

RunResult PhraseCountStopped(Host& h) {
  h.TxbSet("Counting of phrases was stopped.");
  return RunResult::Stopped;
}

std::string SourceText(const Session& s) {
  const Settings& st = s.settings;
  switch (st.source) {
    case Source::optOnClipboard:
      return s.sources.intStandardInput >= 0 ? "standard input" : "the clipboard";
    case Source::optFolder:
      return st.txbFolder;
    default:
      return st.txbFile[0];
  }
}

}  // namespace

bool RunSucceeded(RunResult result) {
  return result == RunResult::Reported || result == RunResult::NothingFound ||
         result == RunResult::TableWritten || result == RunResult::StopRequested;
}

RunResult cmdCountWords_Click(Session& s) {
  // A stop request is recognised before anything else: validating or resetting the run's
  // flags in the middle of a run would disturb the run being stopped.
  if (InProgress(s)) {
    RequestStop(s);
    return RunResult::StopRequested;
  }
  return StartRun(s, false);
}

RunResult CountWords(Session& s, bool forTable) { return StartRun(s, forTable); }

bool RequestStop(Session& s) {
  Host& h = s.host;
  if (s.run.blnCountingMFP) {
    if (h.MsgBox("Really stop?", "Counting all phrases", MsgIcon::Question, MsgButtons::YesNo,
                 MsgAnswer::No) != MsgAnswer::Yes)
      return false;
    h.TxbSet("Counting of all phrases was stopped.");
  } else if (s.words.lngNumWords > 800 && !s.run.blnReadingWords &&
             !s.lists.blnListingCountOnlyWords) {
    if (h.MsgBox(FormatCount(s.words.lngNumWords) + " found so far.\n\nReally stop?",
                 h.Caption("cmdCountWords"), MsgIcon::Question, MsgButtons::YesNo,
                 MsgAnswer::No) != MsgAnswer::Yes)
      return false;
  }
  s.run.blnStop = true;
  s.run.blnStopRequested = true;
  h.SetCaption("cmdCountWords", ProgramText(21));
  s.run.blnElapsedTimeRunning = false;
  s.counting.lastTick.reset();
  return true;
}

bool ValidateInput(Session& s) {
  Settings& st = s.settings;
  Host& h = s.host;
  st.txbFile[0] = TrimPathBox(st.txbFile[0]);
  switch (st.source) {
    case Source::optOnClipboard: {
      // Standard input is known to be empty only once it is read.
      if (s.sources.intStandardInput >= 0) return true;
      const std::optional<std::string> text = h.GetClipboardText();
      if (!text || text->empty()) {
        h.MsgBox(ProgramText(213), "Invalid input", MsgIcon::Exclamation);
        return false;
      }
      return true;
    }
    case Source::optInFile: {
      const std::string& path = st.txbFile[0];
      if (path.empty()) {
        h.MsgBox("Input file not specified!", "Invalid input", MsgIcon::Exclamation);
        return false;
      }
      struct stat info{};  // one stat for every check
      if (::stat(path.c_str(), &info) != 0) {
        h.MsgBox("Input file not found:\n" + path, "Invalid input", MsgIcon::Exclamation);
        return false;
      }
      // A device, pipe or socket would be read forever or block: never a file to count.
      if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        h.MsgBox(path + " is not a regular file.", "Invalid input", MsgIcon::Exclamation);
        return false;
      }
      if (S_ISREG(info.st_mode) && info.st_size == 0 && FileHasNoBytes(path)) {
        h.MsgBox("Input file is zero-length!", "Empty file", MsgIcon::Exclamation);
        return false;
      }
      return true;
    }
    case Source::optFolder:
      return ValidateFolder(s);
  }
  return false;
}

void SetPhraseWindowForCountOnly(Session& s) {
  s.extraction.intPhraseWindow = CountOnlyPhraseWindow(s.lists);
}

RunResult CountWordsPhrases(Session& s) {
  Settings& st = s.settings;
  Host& h = s.host;
  const std::string output = TrimPathBox(st.txbFile[1]);
  if (!output.empty() && !st.chkDisableOutputToFile) {
    const fs::path folder = fs::path(output).parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
      h.MsgBox("Output folder does not exist.", "Output file error", MsgIcon::Exclamation);
      return RunResult::Refused;
    }
  }
  const std::string& countOnlyFile = st.cboWordsFile[kCountOnly].Selected();
  if (st.source == Source::optInFile && !countOnlyFile.empty() &&
      SamePath(TrimPathBox(st.txbFile[0]), countOnlyFile)) {
    h.MsgBox("The file to be scanned, " + TrimPathBox(st.txbFile[0]) + ",\n" +
                 "cannot be the same as the count-only words/phrases file\n" +
                 "currently specified in the Settings panel.",
             "Invalid input", MsgIcon::Exclamation);
    return RunResult::Refused;
  }
  if (!s.run.blnCountingMFP) {
    SetPhraseWindowForCountOnly(s);
  } else if (s.extraction.blnStripPhrases) {
    s.extraction.intPhraseWindow *= 2;
  }
  SetPhraseWindow(s, s.extraction.intPhraseWindow);

  CountingRunState& cr = s.counting;
  s.run.blnStop = false;
  s.run.blnStopRequested = false;
  cr.blnRunInProgress = true;
  RunResult result;
  try {
    result = DoCount(s);
  } catch (const std::bad_alloc&) {
    ReportError(s, 7, "Out of memory", "DoCount");
    result = RunResult::Failed;
  } catch (const std::exception& e) {
    ReportError(s, 5, e.what(), "DoCount");
    result = RunResult::Failed;
  }
  s.lists.memo.Reset(false);
  cr.blnRunInProgress = false;
  cr.blnExcludingRedundant = false;
  cr.lastTick.reset();
  s.run.blnElapsedTimeRunning = false;
  s.run.blnStop = false;
  SetCountWordsCaption(s);
  return result;
}

RunResult DoCount(Session& s) {
  Settings& st = s.settings;
  Host& h = s.host;
  RunFlags& run = s.run;
  CountingRunState& cr = s.counting;
  const std::string noun = WordsPhrases(run);

  cr.intThresholdFrequency = st.ThresholdFrequency();
  cr.intExcessFrequency = st.ExcessFrequency();
  if (st.chkIgnoreInfrequentWords && st.chkIgnoreExcessivelyFrequentWords &&
      cr.intThresholdFrequency > cr.intExcessFrequency) {
    h.MsgBox("The settings currently say to ignore " + noun + "\nwith fewer than " +
                 std::to_string(cr.intThresholdFrequency) + " occurrences and with more than " +
                 std::to_string(cr.intExcessFrequency) + " occurrences,\nwhich implies that all " +
                 noun + " will be ignored.",
             "Invalid input", MsgIcon::Exclamation);
    return RunResult::Refused;
  }

  BuildAllowedExtraChars(s.settings, s.extraction.strAllowedExtraChars);
  SetAllowedExtraChars2(s.settings, s.extraction.strAllowedExtraChars);

  run.blnElapsedTimeRunning = true;
  h.SetLabel("lblTimeElapsed", "Time elapsed: 0s");
  run.lngSecondsElapsed = 0;
  cr.lastTick = std::chrono::steady_clock::now();

  s.words.Clear();
  s.words.UseThreads(JobsFor(s));
  // Within the run a lookup's answer depends only on the word: remembered until its end.
  s.lists.memo.Reset(true);
  s.extraction.lngTotalNumOccurrences = 0;
  s.reports.blnCountingStopped = false;
  s.reports.intOutputFileError = 0;
  ResetPhrases(s);
  const char* what = run.blnCountingMFP              ? "counting phrases"
                     : run.blnThereAreCountOnlyWords ? "counting specified words/phrases"
                                                     : "counting all words";
  h.TxbSet(std::string("Now ") + what + " in\n" + SourceText(s) + "\n\n");

  if (std::optional<RunResult> end = ReadSource(s)) return *end;
  s.words.SettleCounts();
  if (run.blnCountingMFP) FinishPhraseReading(s);
  const bool stopped = run.blnStop && run.blnStopRequested;
  if (run.blnStop && !stopped) return RunResult::Refused;

  if (s.words.lngNumWords > 1 && !(stopped && run.blnCountingMFP))
    s.words.SortWordsByKey(&h, run.blnCountingMFP ? &run.blnStop : nullptr);
  // A phrase count stopped while reading or sorting lists nothing; on a large text the rest
  // would take long.
  if (run.blnCountingMFP && run.blnStop) return PhraseCountStopped(h);

  if (stopped && !run.blnCountingMFP) {
    const std::int64_t n = s.words.lngNumWords;
    if (n < 1) return RunResult::Stopped;
    AppendLine(s, "Stopped with " + std::to_string(n) + " word" + (n == 1 ? "" : "s") + " found.");
    if (h.MsgBox("The operation was stopped before all " + noun + " were counted.\n" +
                     "Do you wish to list those which were were found?",
                 "Counting interrupted", MsgIcon::Question, MsgButtons::YesNo,
                 MsgAnswer::Yes) != MsgAnswer::Yes)
      return RunResult::Stopped;
    run.blnStop = false;
    s.reports.blnCountingStopped = true;
  }

  h.TxbSet("Processing . . .");
  if (!run.blnThereAreCountOnlyWords && !run.blnCountingMFP) {
    h.TxbSet("Now filtering words . . .");
    FilterWords(s);
    ClearTextbox(s);
  } else {
    ApplyFrequencyLimits(s);
  }

  if (run.blnCountingMFP) {
    h.TxbSet("Excluding redundant subphrases . . . ");
    cr.blnExcludingRedundant = true;
    if (!run.blnStop && cr.hooks.ExcludeRedundantSubphrases) cr.hooks.ExcludeRedundantSubphrases(s);
    cr.blnExcludingRedundant = false;
    if (run.blnStop) return PhraseCountStopped(h);
  }
  s.reports.lngTotalNumOccurrences = s.extraction.lngTotalNumOccurrences;
  ComputeRunStatistics(s);
  if (cr.blnMakingWordsVsFilesTable) {
    if (cr.hooks.WriteWordsVsFilesTable) cr.hooks.WriteWordsVsFilesTable(s);
    return RunResult::TableWritten;
  }

  h.TxbSet("Now setting up frequency chain . . .");
  s.words.SetUpFrequencyChain(&h);
  // The listing clears the stop flag: a phrase count stopped here must end now.
  if (run.blnCountingMFP && run.blnStop) return PhraseCountStopped(h);
  ClearTextbox(s);

  // The table is kept for relisting when the format or the order changes.
  st.blnWordsGot = true;
  ShowRunSummary(s);
  if (run.blnCountingMFP) MakePhraseRunSummary(s);
  if (s.words.lngNumWordsIncluded == 0) {
    // A phrase count's summary already says that none was found, and why.
    if (!run.blnCountingMFP) ReportNothingFound(s);
    return RunResult::NothingFound;
  }
  ListWords(s);
  return s.reports.intOutputFileError != 0 ? RunResult::Failed : RunResult::Reported;
}

void Timer2_Timer(Session& s) {
  RunFlags& run = s.run;
  ++run.lngSecondsElapsed;
  if (s.settings.source != Source::optOnClipboard)
    s.host.SetLabel("lblTimeElapsed", "Time elapsed: " + ElapsedTimeCompact(run.lngSecondsElapsed));
  const std::string count =
      FormatCount(run.blnCountingMFP ? NumPhrasesFoundSoFar(s) : s.words.lngNumWords);
  s.host.SetLabel("lblNumberOfWords",
                  run.blnCountingMFP
                      ? "Number of different phrases found so far: " + count
                      : "Number of different " + WordsPhrases(run) + " found so far: " + count);
  if (s.counting.blnExcludingRedundant) s.host.TxbAppend(". ");
}

void Tick(Session& s) { Tick(s, std::chrono::steady_clock::now()); }

void Tick(Session& s, std::chrono::steady_clock::time_point now) {
  CountingRunState& cr = s.counting;
  if (!s.run.blnElapsedTimeRunning) {
    cr.lastTick.reset();
    return;
  }
  if (!cr.lastTick) {
    cr.lastTick = now;
    return;
  }
  while (now - *cr.lastTick >= std::chrono::seconds(1) && s.run.blnElapsedTimeRunning) {
    *cr.lastTick += std::chrono::seconds(1);
    Timer2_Timer(s);
  }
}

}  // namespace talq
