// Reading on worker threads. Each job cuts its text in a session of its own (a copy of what
// counting reads, a host that shows nothing) into a batch of words; the calling thread
// counts the batches in order, replays the progress bar, and serves Pump() while it waits.
#include "run/parallel_reading.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "engine/extraction.h"
#include "host/scripted_host.h"
#include "sources/line_reader.h"
#include "sources/source_session.h"
#include "sources/text_prep.h"
#include "text/markup.h"
#include "util/ordered_work.h"
#include "util/paths.h"

namespace talq {

namespace {

// Batches given back once counted, for workers to gather into again: a batch that grew once
// does not grow (rehashing, faulting in pages) again for every file or stretch.
class BatchPool {
 public:
  WordBatch Take() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (free_.empty()) return {};
    WordBatch b = std::move(free_.back());
    free_.pop_back();
    return b;
  }
  void Give(WordBatch&& b) {
    std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(std::move(b));
  }

 private:
  std::mutex mutex_;
  std::vector<WordBatch> free_;
};

// What a job needs of the calling session, copied once on the calling thread.
struct Prototype {
  Prototype(const SourceSession& from, int only7bit, BatchPool* pool)
      : session(host), batches(pool) {
    SourceSession& p = session;
    p.settings = from.settings;
    p.settings.chkOnly7bitASCII = only7bit;
    p.settings.chkSuppressWords = 1;  // the live display is the calling thread's to show
    p.run = from.run;
    p.run.blnStop = false;
    p.run.blnCountingFiles = false;  // a folder run may start jobs in its counting pass
    p.run.blnScanningFiles = true;
    p.lists = from.lists;
    p.extraction = from.extraction;
    p.extraction.blnGatherWords = true;  // words go to a batch, counted on the calling thread
    p.comments = from.comments;
  }
  ScriptedHost host;
  SourceSession session;
  BatchPool* batches = nullptr;  // shared by the copies every worker thread makes
  // Tells prototypes apart where one may take the place of another that ended: the calling
  // thread, which runs jobs too, keeps its copy from run to run.
  const std::uint64_t serial = NextSerial();

 private:
  static std::uint64_t NextSerial() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
  }
};

// One worker session per thread and prototype, reset for every job: copying the lists for
// every file would cost more than reading many small files. The session cuts words into a
// batch for the calling thread to count: a table of its own, merged there, cost more (fresh
// records for every word, and a lookup of each in the run's table all the same).
SourceSession& WorkerSession(const Prototype& proto) {
  struct PerThread {
    std::uint64_t owner = 0;
    std::unique_ptr<Prototype> copy;
  };
  thread_local PerThread mine;
  if (mine.owner != proto.serial) {
    mine.copy = std::make_unique<Prototype>(proto.session, proto.session.settings.chkOnly7bitASCII,
                                            proto.batches);
    mine.owner = proto.serial;
  }
  SourceSession& w = mine.copy->session;
  w.words.GatherInto(proto.batches->Take());
  w.run.blnStop = false;
  w.extraction.lngTotalNumOccurrences = 0;
  w.settings.chkOnly7bitASCII = proto.session.settings.chkOnly7bitASCII;
  w.comments = proto.session.comments;
  ResetPhrases(w);
  return w;
}

struct Counted {
  WordBatch batch;
  std::int64_t occurrences = 0;       // lngTotalNumOccurrences of the stretch
  // Line-bar positions as the line loop shows them, each with the number of distinct words
  // gathered then, so the count shows them between the same new words.
  std::vector<std::pair<std::int64_t, std::int64_t>> barSteps;
  bool opened = false;                 // false: not read here (the caller reads it)
  bool whole = false;                  // read to the end (not cut short by a stop)
  TextEncoding encoding = TextEncoding::Ansi;
  int bomLength = 0;
};

// Reads reader into w with the job's cancel flag as the stop button.
void CountLines(SourceSession& w, LineReader& reader, bool html, bool utf8,
                const std::atomic<bool>& cancel, Counted& out,
                std::function<void(std::int64_t)> afterRead = nullptr) {
  LineLoopHooks hooks;
  hooks.beforeLine = [&cancel] { return !cancel.load(std::memory_order_relaxed); };
  hooks.afterRead = std::move(afterRead);
  ReadLines(w, reader, html, utf8, hooks);
  out.batch = w.words.TakeBatch();
  out.occurrences = w.extraction.lngTotalNumOccurrences;
  out.opened = true;
  out.whole = !cancel.load();
}

// Counts one batch into the session's table on the calling thread and gives it back.
void CountInto(SourceSession& s, Counted& c, BatchPool& batches,
                  const std::function<void(std::int64_t)>& before = nullptr) {
  s.words.CountBatch(CountingContext(s), c.batch, before);
  s.extraction.lngTotalNumOccurrences += c.occurrences;
  batches.Give(std::move(c.batch));
}

// Files up to this many bytes (a few milliseconds' reading) may be read on the calling thread.
constexpr std::int64_t kReadHereUpTo = std::int64_t{1} << 20;

bool IsByteEncoding(TextEncoding e) { return e == TextEncoding::Ansi || e == TextEncoding::Utf8; }

}  // namespace

struct ParallelReader::FolderWork {
  // Files are read ahead while the counting pass still plans them, up to a few files past
  // the one being counted, and more while the text waiting to be counted stays small. The
  // calling thread reads files too while it would wait (kReadHereUpTo): one worker fewer.
  FolderWork(const SourceSession& s, int only7bit, int jobs)
      : proto(s, only7bit, &batches),
        work(std::max(jobs - 1, 1), std::size_t(jobs) * 2 + 48, std::size_t(jobs) * 2 + 2,
             std::int64_t{16} << 20,
             [this](std::size_t i, const std::atomic<bool>& cancel) {
               Planned file;
               {
                 std::lock_guard<std::mutex> lock(filesMutex);
                 file = files[i];
               }
               return ReadOne(file, cancel);
             }) {}

  void Add(const Planned& file) {
    {
      std::lock_guard<std::mutex> lock(filesMutex);
      files.push_back(file);
    }
    work.Add(file.length);
  }

  Counted ReadOne(const Planned& file, const std::atomic<bool>& cancel) const {
    Counted c;
    const std::string& path = file.path;
    const std::string extension = GetFileExtension(path, true);
    if (extension == "docx") return c;  // documents are extracted on the calling thread
    if (file.verdict <= 0 || file.verdict == kTextRtf) return c;
    c.encoding = file.encoding;
    c.bomLength = file.bomLength;
    SourceSession& w = WorkerSession(proto);
    if (c.encoding != TextEncoding::Ansi) w.settings.chkOnly7bitASCII = 0;
    SetCommentMarkersForExtension(w.comments, extension);
    w.comments.intWithinComment = -1;
    LineReader reader;
    const bool opened = file.file ? reader.Open(*file.file, c.encoding, c.bomLength)
                                  : reader.Open(path, c.encoding, c.bomLength);
    if (!opened) return c;
    CountLines(w, reader, extension.find("htm") != std::string::npos,
               c.encoding == TextEncoding::Utf8, cancel, c);
    return c;
  }

  std::mutex filesMutex;
  std::vector<Planned> files;  // guarded: the counting pass adds while workers read
  BatchPool batches;
  Prototype proto;
  OrderedWork<Counted> work;
};

int JobsFor(const SourceSession& s) {
  if (s.sources.intJobs > 0) return s.sources.intJobs;
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

bool LinesIndependent(const SourceSession& s, bool html) {
  return !html && s.comments.intNumCommentMarkers == 0 && !s.run.blnCountingMFP &&
         !s.run.blnThereAreCountOnlyWords && !s.run.blnReadingWords &&
         s.extraction.intPhraseWindow <= 1;
}

ParallelReader::ParallelReader(int jobs) : jobs_(jobs) {}
ParallelReader::~ParallelReader() = default;

// Files are independent (comment state and phrase window start afresh in each), but
// count-only lookups may raise messages, and a count of all phrases stays on one thread.
static bool FilesReadAhead(const SourceSession& s) {
  return !s.run.blnCountingMFP && !s.run.blnThereAreCountOnlyWords && !s.run.blnReadingWords;
}

void ParallelReader::Plan(const SourceSession& s, const std::string& path, int verdict,
                          TextEncoding encoding, int bomLength, std::int64_t length,
                          std::shared_ptr<SourceFile> file) {
  plan_.push_back(Planned{path, verdict, encoding, bomLength, length, std::move(file)});
  if (jobs_ < 2 || !FilesReadAhead(s) || s.run.blnListingFilesOnly) return;
  // The counting pass leaves the user's setting in place.
  if (!folder_) folder_ = std::make_unique<FolderWork>(s, s.settings.chkOnly7bitASCII, jobs_);
  folder_->Add(plan_.back());
}

bool ParallelReader::ReadFile(SourceSession& s, const FileToRead& f) {
  if (jobs_ < 2 || s.run.blnReadingWords) return false;
  if (s.settings.source == Source::optFolder) return ReadPlanned(s, f);
  return ReadChunked(s, f);
}

bool ParallelReader::ReadPlanned(SourceSession& s, const FileToRead& f) {
  if (!FilesReadAhead(s) || plan_.empty()) return false;
  if (!folder_) {
    folder_ = std::make_unique<FolderWork>(s, f.userOnly7bitASCII, jobs_);
    for (const Planned& p : plan_) folder_->Add(p);
  }
  folder_->work.Close();  // the reading pass has begun: nothing more is planned
  std::size_t i = nextPlanned_;
  while (i < plan_.size() && plan_[i].path != f.path) ++i;
  if (i == plan_.size()) return false;
  nextPlanned_ = i + 1;
  // Work the end of the run would do on this thread alone is done while it would wait.
  if (!folder_->work.Ready(i)) s.words.ApplyLoggedCounts();
  // A file no worker has begun is read here: this thread is one of the run's threads. Not a
  // large one, which would keep the window without events for long.
  std::optional<Counted> c = folder_->work.Take(
      i,
      [&s] {
        s.host.Pump();
        return !s.run.blnStop;
      },
      kReadHereUpTo);
  if (!c) return true;  // stopped before the file was begun
  // Read here only what the calling thread judged the same way; a stop keeps the part read.
  if (!c->opened || c->encoding != f.encoding || c->bomLength != f.bomLength) return false;
  CountInto(s, *c, folder_->batches);
  s.host.Pump();
  return true;
}

bool ParallelReader::ReadChunked(SourceSession& s, const FileToRead& f) {
  // A file is cut when it holds at least two stretches.
  const std::int64_t chunkBytes = std::max<std::int64_t>(s.sources.lngChunkBytes, 4096);
  if (!IsByteEncoding(f.encoding) || !LinesIndependent(s, f.extension.find("htm") != std::string::npos) ||
      f.length < 2 * chunkBytes)
    return false;
  // Stretches start at line starts, so every line is read whole by one job.
  std::vector<std::int64_t> cuts{f.bomLength};
  // A small first stretch fills the table, its labels and the stop question early.
  for (std::int64_t p = chunkBytes / 8; p < f.length; p += p < chunkBytes ? chunkBytes - p : chunkBytes) {
    const std::int64_t cut = f.file ? LineStartAtOrAfter(f.file->fd(), p, f.length)
                                    : LineStartAtOrAfter(f.path, p, f.length);
    if (cut > cuts.back() && cut < f.length) cuts.push_back(cut);
  }
  cuts.push_back(f.length);

  BatchPool batches;
  Prototype proto(s, s.settings.chkOnly7bitASCII, &batches);
  const int width = s.run.intProgressWidth;
  OrderedWork<Counted> work(
      jobs_, cuts.size() - 1, std::size_t(jobs_),
      [&](std::size_t i, const std::atomic<bool>& cancel) {
        Counted c;
        SourceSession& w = WorkerSession(proto);
        w.comments.intWithinComment = -1;
        LineReader reader;
        const bool opened = f.file ? reader.OpenRange(*f.file, f.encoding, cuts[i], cuts[i + 1])
                                   : reader.OpenRange(f.path, f.encoding, cuts[i], cuts[i + 1]);
        if (!opened) return c;
        std::function<void(std::int64_t)> bar;
        if (f.lineBar) {
          bar = [&c, &w, &cuts, i, width, &f](std::int64_t bytes) {
            const std::int64_t k = LineBarPosition(width, cuts[i] + bytes, f.length);
            if (c.barSteps.empty() || c.barSteps.back().second != k)
              c.barSteps.emplace_back(w.words.NumGathered(), k);
          };
        }
        CountLines(w, reader, false, f.encoding == TextEncoding::Utf8, cancel, c, bar);
        return c;
      });
  std::int64_t lastK = -1;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    std::optional<Counted> c = work.Take(i, [&s] {
      s.host.Pump();
      return !s.run.blnStop;
    });
    if (!c) break;
    std::size_t step = 0;
    const auto showBar = [&](std::int64_t entries) {
      for (; step < c->barSteps.size() && c->barSteps[step].first <= entries; ++step) {
        const std::int64_t k = c->barSteps[step].second;
        if (k == lastK) continue;
        lastK = k;
        s.host.SetLabel("lblNumOccurrences", ProgressBar(width, k));
      }
    };
    // A stretch cut short by a stop still counts what it read, as the line loop would.
    if (c->opened) CountInto(s, *c, batches, showBar);
    showBar(INT64_MAX);
    if (!c->whole) break;  // stopped, or unreadable now: the file ends as at a read error
    s.host.Pump();
    if (s.run.blnStop) break;
  }
  return true;
}

}  // namespace talq
