// Times one count of a file through the real main window (offscreen), as a user would run
// it: gui_count_timing FILE [--show-words | --phrases] (--phrases: a count of all phrases with
// the phrase window's defaults). Prints the seconds the count took and the longest time the
// window went without handling its events (what Stop has to wait).
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>

#include "host/scripted_host.h"
#include "run/session.h"
#include "ui/main_window.h"
#include "ui/phrase_window.h"
#include "ui/qt_host.h"
#include "util/program_texts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: gui_count_timing FILE [--show-words | --phrases]\n");
    return 2;
  }
  const bool showWords = argc > 2 && QString(argv[2]) == "--show-words";
  const bool phrases = argc > 2 && QString(argv[2]) == "--phrases";
  talq::LoadProgramTexts(talq::DataDir() + "/talq.dat");
  talq::ScriptedHost answers;
  talq::ui::MainWindow w;
  w.host().SetSeam(&answers);
  w.showHelpAtStartUp = false;
  answers.answers.push_back(talq::MsgAnswer::No);  // no common-word list: as talq count
  w.show();
  w.StartUp();
  w.findChild<QRadioButton*>("optInFile")->click();
  w.session().settings.txbFile[0] = argv[1];
  w.session().settings.chkSuppressWords = showWords ? 0 : 1;
  w.SyncFromSettings();

  // A 5 ms timer measures how long the window goes without running its events.
  // The text box names the phase the count is in; the gap is put down to the phase it ended in.
  QElapsedTimer sinceTick;
  qint64 longestGap = 0;
  std::string gapPhase;
  QTimer probe;
  probe.setInterval(5);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const qint64 gap = sinceTick.restart();
    if (gap <= longestGap) return;
    longestGap = gap;
    const std::string box = w.host().TxbText();
    gapPhase = box.substr(0, std::min<std::size_t>(box.find('\n'), 40));
  });
  QElapsedTimer clock;
  clock.start();
  sinceTick.start();
  probe.start();
  if (phrases) {
    w.findChild<QPushButton*>("cmdCountAllPhrases")->click();
    w.phraseWindow().findChild<QPushButton*>("cmdCountPhrases")->click();
  } else {
    w.findChild<QPushButton*>("cmdCountWords")->click();
  }
  const double seconds = clock.nsecsElapsed() / 1e9;
  std::printf("%.3f s, longest time without events %lld ms (ending in \"%s\"), report %zu characters\n",
              seconds, static_cast<long long>(longestGap), gapPhase.c_str(), w.host().TxbLength());
  return 0;
}
