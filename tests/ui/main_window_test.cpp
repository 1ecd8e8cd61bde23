// The main window driven through its controls: initial state, sources and their remembered
// paths, the output file, whole counts compared with the command line, relisting, Stop,
// help, resizing and dropped files.
#include <functional>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "run/session.h"
#include "ui/count_chooser.h"
#include "ui/phrase_window.h"
#include "ui/table_dialog.h"
#include "ui/qt_host.h"
#include "ui/ui_harness.h"
#include "util/program_texts.h"

using namespace talq;
using namespace talq::ui;
using namespace talq::ui::test;

namespace {

QString CommandLineReport(const QStringList& args) { return CommandLineOutput(QStringList{"count"} + args); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { InitEnvironment(); }

  void initialState() {
    Fixture f;
    QVERIFY(f.Get<QRadioButton>("optFolder")->isChecked());
    QVERIFY(f.Get<QPushButton>("cmdFolder")->isVisible());
    QVERIFY(!f.Get<QPushButton>("cmdFile(0)")->isVisible());
    QVERIFY(!f.Get<QCheckBox>("chkDisableOutputToFile")->isEnabled());
    QVERIFY(f.Get<QPushButton>("cmdFolder")->hasFocus());
    // The common-words offer came last, answered No.
    QCOMPARE(f.answers.messages.back().title, std::string("TALQ"));
    QCOMPARE(f.window->session().settings.cboCommonWordsLanguages, 7);
  }

  void everyControlIsNamedForAssistiveTools() {
    Fixture f;
    VerifyNamedForAssistiveTools(f.window.get());
    VerifyNamedForAssistiveTools(&f.window->phraseWindow());
    VerifyNamedForAssistiveTools(&f.window->tableDialog());
    VerifyNamedForAssistiveTools(&f.window->countChooser());
  }

  void switchingSourcesRestoresTheirPaths() {
    Fixture f;
    const std::string file = DataPath("run/small.txt");
    f.ChooseFile(file);
    f.Get<QRadioButton>("optFolder")->click();
    QTest::keyClicks(f.Get<QLineEdit>("txbFolder"), "/tmp");
    f.Get<QRadioButton>("optOnClipboard")->click();
    QVERIFY(!f.Get<QLineEdit>("txbFolder")->isVisible());
    QVERIFY(!f.Get<QLineEdit>("txbFile(0)")->isVisible());
    QVERIFY(f.Get<QPushButton>("cmdCountWords")->hasFocus());
    f.Get<QRadioButton>("optInFile")->click();
    QCOMPARE(f.Get<QLineEdit>("txbFile(0)")->text().toStdString(), file);
    QVERIFY(f.Get<QPushButton>("cmdCountWords")->hasFocus());
    f.Get<QRadioButton>("optFolder")->click();
    QCOMPARE(f.Get<QLineEdit>("txbFolder")->text(), QString("/tmp"));
  }

  void clearingTheOutputPathUnchecksAndDisablesDisable() {
    Fixture f;
    auto* disable = f.Get<QCheckBox>("chkDisableOutputToFile");
    QTest::keyClicks(f.Get<QLineEdit>("txbFile(1)"), "/tmp/out.txt");
    QVERIFY(disable->isEnabled());
    disable->click();
    QCOMPARE(f.window->session().settings.chkDisableOutputToFile, 1);
    f.Get<QPushButton>("cmdClearFile(1)")->click();
    QVERIFY(!disable->isChecked());
    QVERIFY(!disable->isEnabled());
    QCOMPARE(f.window->session().settings.chkDisableOutputToFile, 0);
    QVERIFY(f.Get<QPushButton>("cmdFile(1)")->hasFocus());
  }

  // A single file is compared below, after a change of format.
  void wholeCountOfAFolderEqualsTheCommandLine() {
    const QString source = QString::fromStdString(DataPath("cli/tree"));
    QTemporaryDir out;
    Fixture f;
    QTest::keyClicks(f.Get<QLineEdit>("txbFolder"), source);
    f.Get<QCheckBox>("chkIncludeSubfolders")->click();
    // A folder run writes its report to a file, in case the text box cannot hold it.
    QTest::keyClicks(f.Get<QLineEdit>("txbFile(1)"), out.filePath("gui.txt"));
    f.Get<QPushButton>("cmdCountWords")->click();
    QStringList args{source, "-o", out.filePath("cli.txt"), "-r"};
    QCOMPARE(f.Report().trimmed(), CommandLineReport(args).trimmed());
    QFile gui(out.filePath("gui.txt")), cli(out.filePath("cli.txt"));
    QVERIFY(gui.open(QIODevice::ReadOnly) && cli.open(QIODevice::ReadOnly));
    QCOMPARE(gui.readAll(), cli.readAll());
    QVERIFY(f.Get<QLabel>("lblNumberOfWords")->isVisible());
    QVERIFY(f.Get<QLabel>("lblNumberOfWords")->text().startsWith("Number of words in this list:"));
    QVERIFY(f.Get<QPushButton>("cmdCountWords")->isEnabled());
    QVERIFY(f.Get<QPushButton>("cmdListFiles")->isVisible());
  }

  // Former fault: nothing marked the table as kept, so a new format or order never relisted it.
  void changingFormatAndOrderRelistsWithoutRecounting() {
    Fixture f;
    const std::string file = DataPath("run/small.txt");
    f.ChooseFile(file);
    f.Get<QPushButton>("cmdCountWords")->click();
    QCOMPARE(f.Report().trimmed(), CommandLineReport({QString::fromStdString(file)}).trimmed());
    QVERIFY(!f.Get<QPushButton>("cmdListFiles")->isVisible());
    QComboBox* format = f.Get<QComboBox>("cboDisplayFormat");
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Down);
    QCOMPARE(f.window->session().settings.cboDisplayFormat, 1);
    QCOMPARE(f.Report().trimmed(), CommandLineReport({QString::fromStdString(file), "-f", "1"}).trimmed());
    QComboBox* order = f.Get<QComboBox>("cboWordOrder");
    order->setFocus();
    QTest::keyClick(order, Qt::Key_Down);
    QCOMPARE(f.Report().trimmed(),
             CommandLineReport({QString::fromStdString(file), "-f", "1", "--order", "alpha"}).trimmed());
  }

  // Stop (here Esc) during a long count: a word count offers to list what it found; a
  // phrase count asks "Really stop?" under its own title and lists nothing.
  void stopDuringALongCount_data() {
    QTest::addColumn<bool>("phrases");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("box");
    QTest::newRow("words") << false << "Counting interrupted" << "Rank";
    QTest::newRow("phrases") << true << "Counting all phrases" << "Counting of phrases was stopped.";
  }
  void stopDuringALongCount() {
    QFETCH(bool, phrases);
    QFETCH(QString, title);
    QFETCH(QString, box);
    QTemporaryDir dir;
    QByteArray text;
    for (int i = 0; i < 400000; ++i)
      text += "word" + QByteArray::number(i % 50000, 36) + " and more words here\n";
    Fixture f;
    f.ChooseFile(WriteTestFile(dir, "long.txt", text.toStdString()));
    f.answers.answerYes = true;  // "Really stop?" and "list those found?"
    auto* count = f.Get<QPushButton>("cmdCountWords");
    // Small stretches and an event loop on every pass keep the run long enough, in many
    // steps, for the stop to land while words are still being read.
    Session& s = f.window->session();
    s.sources.lngChunkBytes = 64 << 10;
    f.window->host().pumpInterval = std::chrono::milliseconds(0);
    bool sawStopCaption = false;
    // Fires inside the count, from the event loop the count lets run, once it is under way
    // (a word count asks first only after 800 words).
    std::function<void()> poke = [&] {
      if (!f.window->Busy()) return;
      if (!s.run.blnCountingMFP && s.words.lngNumWords <= 800) {
        QTimer::singleShot(0, count, poke);
        return;
      }
      sawStopCaption = count->text().remove('&').startsWith("Stop");
      QTest::keyClick(f.window.get(), Qt::Key_Escape);
    };
    QTimer::singleShot(0, count, poke);
    if (phrases) {
      f.Get<QPushButton>("cmdCountAllPhrases")->click();
      f.window->phraseWindow().findChild<QPushButton*>("cmdCountPhrases")->click();
    } else {
      count->click();
    }
    QVERIFY(sawStopCaption);
    QVERIFY2(f.Titles().find(title.toStdString()) != std::string::npos, f.Titles().c_str());
    QVERIFY(f.Report().contains(box));
    QCOMPARE(count->text().remove('&'), QString::fromStdString(ProgramText(21)));
    QVERIFY(f.Get<QPushButton>("cmdCountAllPhrases")->isEnabled());
  }

  // A click in the text box while files are listed, or scanned with words shown, asks the
  // user to wait; a right-click with the clipboard as source says how to count it.
  void textBoxClicksExplainThemselves_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("title");
    QTest::newRow("listing") << "cmdListFiles" << false << "Listing files to be scanned";
    QTest::newRow("scanning") << "cmdCountWords" << false << "Scanning files";
    QTest::newRow("clipboard, idle") << "" << true << "Text on clipboard";
  }
  void textBoxClicksExplainThemselves() {
    QFETCH(QString, command);
    QFETCH(bool, right);
    QFETCH(QString, title);
    QTemporaryDir dir, out;
    for (int i = 0; i < 300; ++i)
      WriteTestFile(dir, qPrintable(QString("f%1.txt").arg(i)), "alpha beta gamma\n");
    Fixture f;
    QWidget* viewport = f.Get<QPlainTextEdit>("txbOutput")->viewport();
    const Qt::MouseButton button = right ? Qt::RightButton : Qt::LeftButton;
    if (command.isEmpty()) {
      f.Get<QRadioButton>("optOnClipboard")->click();
      QTest::mouseClick(viewport, button);
      QCOMPARE(QString::fromStdString(f.Titles()).section(" | ", -1), title);
      return;
    }
    QTest::keyClicks(f.Get<QLineEdit>("txbFolder"), dir.path());
    QTest::keyClicks(f.Get<QLineEdit>("txbFile(1)"), out.filePath("out.txt"));
    f.Get<QCheckBox>("chkSuppressWords")->click();  // words shown as found
    f.window->host().pumpInterval = std::chrono::milliseconds(0);
    bool clicked = false;
    std::function<void()> poke = [&] {
      if (!f.window->Busy()) return;  // the run is over
      const RunFlags& run = f.window->session().run;
      if (!run.blnListingFilesOnly && !run.blnScanningFiles) {
        QTimer::singleShot(0, viewport, poke);
        return;
      }
      clicked = true;
      QTest::mouseClick(viewport, button);
    };
    QTimer::singleShot(0, viewport, poke);
    f.Get<QPushButton>(qPrintable(command))->click();
    QVERIFY(clicked);
    QVERIFY2(f.Titles().find(title.toStdString()) != std::string::npos, f.Titles().c_str());
  }

  void tableOfAFolderEqualsTheCommandLines() {
    QTemporaryDir out;
    const QString folder = QString::fromStdString(DataPath("cli/tree"));
    Fixture f;
    QTest::keyClicks(f.Get<QLineEdit>("txbFolder"), folder);
    f.Get<QCheckBox>("chkIncludeSubfolders")->click();
    QTest::keyClicks(f.Get<QLineEdit>("txbFile(1)"), out.filePath("gui.txt"));
    f.window->session().settings.tableLayout = TableLayout::optBoth;
    f.Get<QPushButton>("cmdCountArray")->click();
    CommandLineOutput({"table", folder, "-r", "--layout", "both", "-o", out.filePath("cli.txt")});
    QFile gui(out.filePath("gui.txt")), cli(out.filePath("cli.txt"));
    QVERIFY(gui.open(QIODevice::ReadOnly) && cli.open(QIODevice::ReadOnly));
    // The first line names the program and the time; the table follows.
    QList<QByteArray> g = gui.readAll().split('\n'), c = cli.readAll().split('\n');
    QVERIFY(g.size() > 3);
    QCOMPARE(g.mid(1), c.mid(1));
    QVERIFY(f.Get<QPushButton>("cmdCountArray")->isEnabled());
  }

  void f1ShowsTheHelpMessage() {
    Fixture f;
    f.Get<QPushButton>("cmdCountWords")->setFocus();
    QTest::keyClick(f.Get<QPushButton>("cmdCountWords"), Qt::Key_F1);
    QCOMPARE(f.answers.messages.back().title, std::string("Help is available online"));
    QVERIFY(f.answers.messages.back().text.find("It is recommended to consult this often") !=
            std::string::npos);
  }

  void resizingKeepsTheStartUpLimits() {
    Fixture f;
    const QSize start = f.window->startUpSize();
    f.window->resize(start.width(), start.height() + 150);
    QTRY_COMPARE(f.window->height(), start.height());
    f.window->resize(start.width() - 60, start.height());
    QTRY_COMPARE(f.window->width(), start.width());  // the text box is empty
  }

  void droppedFileOrFolderBecomesTheSource() {
    Fixture f;
    const QString folder = QString::fromStdString(DataPath("cli/tree"));
    const QString file = QString::fromStdString(DataPath("run/small.txt"));
    for (const QString& path : {file, folder}) {
      QMimeData data;
      data.setUrls({QUrl::fromLocalFile(path)});
      QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      // Straight to the window: the application's drag-and-drop routing needs a real drag.
      static_cast<QObject*>(f.window.get())->event(&drop);
      const Settings& st = f.window->session().settings;
      if (path == file) {
        QVERIFY(f.Get<QRadioButton>("optInFile")->isChecked());
        QCOMPARE(QString::fromStdString(st.txbFile[0]), file);
      } else {
        QVERIFY(f.Get<QRadioButton>("optFolder")->isChecked());
        QCOMPARE(f.Get<QLineEdit>("txbFolder")->text(), folder);
      }
    }
  }

  void savedSettingsComeBackAfterARestart() {
    {
      Fixture f;
      f.Get<QRadioButton>("optInFile")->click();
      QTest::keyClicks(f.Get<QLineEdit>("txbFile(0)"), "/tmp/some.txt");
      QComboBox* format = f.Get<QComboBox>("cboDisplayFormat");
      format->setFocus();
      QTest::keyClick(format, Qt::Key_Down);
      f.Get<QCheckBox>("chkSuppressFilenames")->click();
      f.Get<QPushButton>("cmdSaveState")->click();
      QVERIFY(f.answers.messages.size() == 1);  // no error box, only the start-up offer
    }
    {
      Fixture f(/*keepState=*/true);
      QVERIFY(f.Get<QRadioButton>("optInFile")->isChecked());
      QCOMPARE(f.Get<QLineEdit>("txbFile(0)")->text(), QString("/tmp/some.txt"));
      QCOMPARE(f.Get<QComboBox>("cboDisplayFormat")->currentIndex(), 1);
      QVERIFY(f.Get<QCheckBox>("chkSuppressFilenames")->isChecked());
      // Saving on quit, when asked to.
      f.window->session().settings.chkSaveStateOnQuit = 1;
      f.Get<QCheckBox>("chkSuppressFilenames")->click();
      f.Get<QPushButton>("cmdQuit")->click();
      QVERIFY(!f.window->isVisible());
    }
    Fixture f(/*keepState=*/true);
    QVERIFY(!f.Get<QCheckBox>("chkSuppressFilenames")->isChecked());
  }

  void clipboardSourceCountsTheClipboard() {
    Fixture f;
    f.window->host().SetClipboardText("alpha beta beta\n");
    f.Get<QRadioButton>("optOnClipboard")->click();
    f.Get<QPushButton>("cmdCountWords")->click();
    QVERIFY(f.Report().contains("beta"));
    f.Get<QPushButton>("cmdClearOutput")->click();
    QCOMPARE(f.Report(), QString());
    QVERIFY(!f.Get<QLabel>("lblNumberOfWords")->isVisible());
    QVERIFY(!f.window->session().settings.blnWordsGot);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
