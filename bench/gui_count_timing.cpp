// Times one count of a file or folder through the real main window (offscreen), as a user
// would run it:
//   gui_count_timing FILE|FOLDER [--show-words | --phrases [--min N] [--max N] [--min-freq N]]
//                    [--stop-at TEXT]
// --phrases: a count of all phrases (the phrase window's defaults unless given). Prints the
// seconds the count took and the longest time the window went without handling its events
// (what Stop has to wait). --stop-at: Esc is pressed once the text box starts with TEXT (the
// name of a stage, such as "Excluding") or, given a number, that many milliseconds into the
// count; the time until the stop is taken and until the run ends are printed too.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QTemporaryDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "host/scripted_host.h"
#include "run/session.h"
#include "ui/main_window.h"
#include "ui/phrase_window.h"
#include "ui/qt_host.h"
#include "util/program_texts.h"

namespace {

// Notes when the first question after the Esc press is asked: the press was taken then.
class Answers : public talq::ScriptedHost {
 public:
  const QElapsedTimer* sinceStop = nullptr;
  qint64 stopSeenAfter = -1;

 protected:
  void OnMessage(const Message&) override {
    if (sinceStop != nullptr && sinceStop->isValid() && stopSeenAfter < 0) stopSeenAfter = sinceStop->elapsed();
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bool showWords = false;
  bool phrases = false;
  int lengths[2] = {0, 0};
  int minFrequency = 0;
  QString stopAt;
  bool usage = argc < 2;
  for (int i = 2; i < argc && !usage; ++i) {
    const QString a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == "--show-words") {
      showWords = true;
    } else if (a == "--phrases") {
      phrases = true;
    } else if (a == "--min" && hasValue) {
      lengths[0] = std::atoi(argv[++i]);
    } else if (a == "--max" && hasValue) {
      lengths[1] = std::atoi(argv[++i]);
    } else if (a == "--min-freq" && hasValue) {
      minFrequency = std::atoi(argv[++i]);
    } else if (a == "--stop-at" && hasValue) {
      stopAt = argv[++i];
    } else {
      usage = true;
    }
  }
  if (usage) {
    std::fprintf(stderr,
                 "usage: gui_count_timing FILE|FOLDER [--show-words | --phrases [--min N] [--max N] "
                 "[--min-freq N]] [--stop-at TEXT]\n");
    return 2;
  }
  talq::LoadProgramTexts(talq::DataDir() + "/talq.dat");
  Answers answers;
  talq::ui::MainWindow w;
  w.host().SetSeam(&answers);
  w.showHelpAtStartUp = false;
  answers.answers.push_back(talq::MsgAnswer::No);  // no common-word list: as talq count
  w.show();
  w.StartUp();
  talq::Settings& settings = w.session().settings;
  QTemporaryDir output;
  if (QFileInfo(argv[1]).isDir()) {
    w.findChild<QRadioButton*>("optFolder")->click();
    settings.txbFolder = argv[1];
    // Several files are counted only with an output file to take what the box cannot hold.
    settings.txbFile[1] = output.filePath("report.txt").toStdString();
  } else {
    w.findChild<QRadioButton*>("optInFile")->click();
    settings.txbFile[0] = argv[1];
  }
  settings.chkSuppressWords = showWords ? 0 : 1;
  for (int i = 0; i < 2; ++i)
    if (lengths[i] > 0) settings.cboPhraseLength[i] = lengths[i] - 1;
  if (minFrequency > 0) settings.cboMinimumFrequency = minFrequency - 1;
  w.SyncFromSettings();

  // A 5 ms timer measures how long the window goes without running its events.
  // The text box names the phase the count is in; the gap is put down to the phase it ended in.
  QElapsedTimer sinceTick;
  qint64 longestGap = 0;
  std::string gapPhase;
  QTimer probe;
  probe.setInterval(5);
  QElapsedTimer sinceStop;
  QElapsedTimer clock;
  std::string stopPhase;
  answers.sinceStop = &sinceStop;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 gap = sinceTick.restart();
    bool afterMs = false;
    const qint64 stopMs = stopAt.toLongLong(&afterMs);
    if (!stopAt.isEmpty() && !sinceStop.isValid() && w.Busy() &&
        (afterMs ? clock.elapsed() >= stopMs
                 : QString::fromStdString(w.host().TxbText()).startsWith(stopAt))) {
      answers.answerYes = true;  // "Really stop?"; a word count then lists what it found
      const std::string box = w.host().TxbText();
      stopPhase = box.substr(0, std::min<std::size_t>(box.find('\n'), 40));
      sinceStop.start();
      // The window's Esc shortcut fires at the next pass through the event loop, as a key
      // press would make it.
      for (QShortcut* sc : w.findChildren<QShortcut*>())
        if (sc->key() == QKeySequence(Qt::Key_Escape))
          QMetaObject::invokeMethod(sc, &QShortcut::activated, Qt::QueuedConnection);
    }
    if (gap <= longestGap) return;
    longestGap = gap;
    const std::string box = w.host().TxbText();
    gapPhase = box.substr(0, std::min<std::size_t>(box.find('\n'), 40));
  });
  if (phrases) w.findChild<QPushButton*>("cmdCountAllPhrases")->click();
  // The windows are drawn first, as a user sees them before starting the count.
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  clock.start();
  sinceTick.start();
  probe.start();
  if (phrases) {
    w.phraseWindow().findChild<QPushButton*>("cmdCountPhrases")->click();
  } else {
    w.findChild<QPushButton*>("cmdCountWords")->click();
  }
  const double seconds = clock.nsecsElapsed() / 1e9;
  const qint64 stopEnded = sinceStop.isValid() ? sinceStop.elapsed() : -1;
  std::printf("%.3f s, longest time without events %lld ms (ending in \"%s\"), report %zu characters\n",
              seconds, static_cast<long long>(longestGap), gapPhase.c_str(), w.host().TxbLength());
  if (!stopAt.isEmpty()) {
    if (sinceStop.isValid())
      std::printf("stop: Esc in \"%s\" taken after %lld ms, the run ended %lld ms after the press\n",
                  stopPhase.c_str(), static_cast<long long>(answers.stopSeenAfter),
                  static_cast<long long>(stopEnded));
    else
      std::printf("stopped: never (no stage began with \"%s\")\n", qPrintable(stopAt));
  }
  return 0;
}
