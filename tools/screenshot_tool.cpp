// Renders the windows (main window after counting the sample and after counting its phrases,
// phrase window, table dialog, count chooser, settings window) into PNG files for the manual: ui_screenshots OUTDIR [--dark].
// Run offscreen through scripts/screenshots.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include "run/run_summary.h"
#include "run/session.h"
#include "host/scripted_host.h"
#include "ui/count_chooser.h"
#include "ui/main_window.h"
#include "ui/phrase_window.h"
#include "ui/qt_host.h"
#include "ui/settings_window.h"
#include "ui/table_dialog.h"
#include "util/program_texts.h"

using namespace talq;
using namespace talq::ui;

namespace {

QPalette DarkPalette() {
  QPalette p;
  const QColor window(45, 45, 48), base(30, 30, 30), text(230, 230, 230);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, window);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, window);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Highlight, QColor(42, 130, 218));
  p.setColor(QPalette::HighlightedText, Qt::black);
  p.setColor(QPalette::Link, QColor(100, 170, 255));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(130, 130, 130));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(130, 130, 130));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(130, 130, 130));
  return p;
}

bool Save(QWidget* w, const QString& path) {
  QTest::qWait(50);
  return w->grab().save(path);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: ui_screenshots OUTDIR [--dark]\n");
    return 2;
  }
  const QString out = argv[1];
  QDir().mkpath(out);
  const QString suffix = argc > 2 && QString(argv[2]) == "--dark" ? "-dark" : "";
  if (!suffix.isEmpty()) {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setPalette(DarkPalette());
  }
  LoadProgramTexts(DataDir() + "/talq.dat");

  ScriptedHost answers;
  answers.answers.push_back(MsgAnswer::Yes);  // ignore the common English words
  MainWindow w;
  w.host().SetSeam(&answers);
  w.showHelpAtStartUp = false;
  w.show();
  w.StartUp();
  w.findChild<QRadioButton*>("optInFile")->click();
  w.session().settings.txbFile[0] = DataDir() + "/sample.txt";
  w.SyncFromSettings();
  w.findChild<QPushButton*>("cmdCountWords")->click();
  bool ok = Save(&w, out + "/main" + suffix + ".png");

  // The phrases of the sample, then the phrase window again, its filter now open to them.
  PhraseWindow& phrases = w.phraseWindow();
  w.findChild<QPushButton*>("cmdCountAllPhrases")->click();
  phrases.findChild<QPushButton*>("cmdCountPhrases")->click();
  ok = Save(&w, out + "/main-phrases" + suffix + ".png") && ok;
  w.findChild<QPushButton*>("cmdCountAllPhrases")->click();
  auto* filter = phrases.findChild<QLineEdit*>("txbFilterWords");
  filter->setText("sea");
  emit filter->textEdited("sea");
  phrases.findChild<QRadioButton*>("optIncludeAllWords")->click();
  ok = Save(&phrases, out + "/phrases" + suffix + ".png") && ok;
  phrases.hide();

  TableDialog& table = w.tableDialog();
  table.Open();
  ok = Save(&table, out + "/table" + suffix + ".png") && ok;
  table.hide();

  CountChooser& chooser = w.countChooser();
  chooser.Prepare(CountChooserIntro(w.session()), {"Count all words"}, false, false);
  chooser.show();
  ok = Save(&chooser, out + "/chooser" + suffix + ".png") && ok;
  chooser.hide();
  SettingsWindow& settings = w.settingsWindow();
  settings.ShowCentred();
  settings.resize(settings.FullSize());
  ok = Save(&settings, out + "/settings" + suffix + ".png") && ok;
  settings.hide();
  return ok ? 0 : 1;
}
