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
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "run/session.h"
#include "ui/qt_host.h"
#include "ui/ui_harness.h"
#include "util/program_texts.h"

using namespace talq;
using namespace talq::ui;
using namespace talq::ui::test;

namespace {

// What `talq count` prints for these arguments.
QString CommandLineReport(const QStringList& args) {
  QProcess p;
  p.start(TALQ_BINARY, QStringList{"count"} + args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString BoxText(const Fixture& f) {
  f.window->host().Flush();
  return f.Get<QPlainTextEdit>("txbOutput")->toPlainText();
}

void ChooseSingleFile(Fixture& f, const std::string& path) {
  f.Get<QRadioButton>("optInFile")->click();
  QLineEdit* box = f.Get<QLineEdit>("txbFile(0)");
  box->clear();
  QTest::keyClicks(box, QString::fromStdString(path));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { InitEnvironment(); }

  void initialState() {
    Fixture f;
    f.Start();
    QVERIFY(f.Get<QRadioButton>("optFolder")->isChecked());
    QCOMPARE(f.Get<QComboBox>("cboDisplayFormat")->currentIndex(), 0);
    QCOMPARE(f.Get<QComboBox>("cboWordOrder")->currentIndex(), 0);
    QVERIFY(f.Get<QPushButton>("cmdFolder")->isVisible());
    QVERIFY(!f.Get<QPushButton>("cmdFile(0)")->isVisible());
    QVERIFY(!f.Get<QCheckBox>("chkDisableOutputToFile")->isEnabled());
    QVERIFY(f.Get<QPushButton>("cmdFolder")->hasFocus());
    QCOMPARE(f.Get<QPushButton>("cmdCountWords")->text().remove('&'), QString::fromStdString(ProgramText(21)));
    // The common-words offer came last, answered No.
    QCOMPARE(f.answers.messages.back().title, std::string("TALQ"));
    QCOMPARE(f.window->session().settings.cboCommonWordsLanguages, 7);
  }

  void everyControlIsNamedForAssistiveTools() {
    Fixture f;
    f.Start();
    for (QWidget* w : f.window->findChildren<QWidget*>()) {
      if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
          qobject_cast<QComboBox*>(w)) {
        if (w->objectName().startsWith("qt_")) continue;
        QVERIFY2(!w->accessibleDescription().isEmpty(), qPrintable(w->objectName()));
        const QString name = w->accessibleName().isEmpty()
                                 ? static_cast<QAbstractButton*>(w)->text()
                                 : w->accessibleName();
        QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
      }
    }
  }

  void switchingSourcesRestoresTheirPaths() {
    Fixture f;
    f.Start();
    const std::string file = DataPath("run/small.txt");
    ChooseSingleFile(f, file);
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
    f.Start();
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

  void wholeCountEqualsTheCommandLine_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("folder");
    QTest::newRow("single file") << QString::fromStdString(DataPath("run/small.txt")) << false;
    QTest::newRow("folder") << QString::fromStdString(DataPath("cli/tree")) << true;
  }
  void wholeCountEqualsTheCommandLine() {
    QFETCH(QString, source);
    QFETCH(bool, folder);
    QTemporaryDir out;
    Fixture f;
    f.Start();
    if (folder) {
      QTest::keyClicks(f.Get<QLineEdit>("txbFolder"), source);
      f.Get<QCheckBox>("chkIncludeSubfolders")->click();
    } else {
      ChooseSingleFile(f, source.toStdString());
    }
    // A folder run writes its report to a file, in case the text box cannot hold it.
    QTest::keyClicks(f.Get<QLineEdit>("txbFile(1)"), out.filePath("gui.txt"));
    f.Get<QPushButton>("cmdCountWords")->click();
    QStringList args{source, "-o", out.filePath("cli.txt")};
    if (folder) args << "-r";
    QCOMPARE(BoxText(f).trimmed(), CommandLineReport(args).trimmed());
    QFile gui(out.filePath("gui.txt")), cli(out.filePath("cli.txt"));
    QVERIFY(gui.open(QIODevice::ReadOnly) && cli.open(QIODevice::ReadOnly));
    QCOMPARE(gui.readAll(), cli.readAll());
    QVERIFY(f.Get<QLabel>("lblNumberOfWords")->isVisible());
    QVERIFY(f.Get<QLabel>("lblNumberOfWords")->text().startsWith("Number of words in this list:"));
    QVERIFY(f.Get<QPushButton>("cmdCountWords")->isEnabled());
    QCOMPARE(f.Get<QPushButton>("cmdListFiles")->isVisible(), folder);
  }

  // Former fault: nothing marked the table as kept, so a new format or order never relisted it.
  void changingFormatAndOrderRelistsWithoutRecounting() {
    Fixture f;
    f.Start();
    const std::string file = DataPath("run/small.txt");
    ChooseSingleFile(f, file);
    f.Get<QPushButton>("cmdCountWords")->click();
    QComboBox* format = f.Get<QComboBox>("cboDisplayFormat");
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Down);
    QCOMPARE(f.window->session().settings.cboDisplayFormat, 1);
    QCOMPARE(BoxText(f).trimmed(), CommandLineReport({QString::fromStdString(file), "-f", "1"}).trimmed());
    QComboBox* order = f.Get<QComboBox>("cboWordOrder");
    order->setFocus();
    QTest::keyClick(order, Qt::Key_Down);
    QCOMPARE(BoxText(f).trimmed(),
             CommandLineReport({QString::fromStdString(file), "-f", "1", "--order", "alpha"}).trimmed());
  }

  void stopDuringALongCountListsWhatWasFound() {
    QTemporaryDir dir;
    const QString path = dir.filePath("long.txt");
    {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      QByteArray line;
      for (int i = 0; i < 400000; ++i) {
        line = "word" + QByteArray::number(i % 50000, 36) + " and more words here\n";
        file.write(line);
      }
    }
    Fixture f;
    f.Start();
    ChooseSingleFile(f, path.toStdString());
    f.answers.answerYes = true;  // "Really stop?" and "list those found?"
    auto* count = f.Get<QPushButton>("cmdCountWords");
    // Small stretches and an event loop on every pass keep the run long enough, in many
    // steps, for the stop to land while words are still being read.
    f.window->session().sources.lngChunkBytes = 64 << 10;
    f.window->host().pumpInterval = std::chrono::milliseconds(0);
    bool sawStopCaption = false;
    // Fires inside the count, from the event loop the count lets run, once the first words
    // are in the table (so that the stop question is asked).
    std::function<void()> poke = [&] {
      if (f.window->session().words.lngNumWords <= 800) {
        QTimer::singleShot(0, count, poke);
        return;
      }
      sawStopCaption = count->text().remove('&').startsWith("Stop");
      QTest::keyClick(f.window.get(), Qt::Key_Escape);
    };
    QTimer::singleShot(0, count, poke);
    count->click();
    QVERIFY(sawStopCaption);
    QVERIFY2(f.Titles().find("Counting interrupted") != std::string::npos, f.Titles().c_str());
    QVERIFY(f.window->session().reports.blnCountingStopped);
    QVERIFY(BoxText(f).contains("Rank"));
    QCOMPARE(count->text().remove('&'), QString::fromStdString(ProgramText(21)));
    QVERIFY(f.Get<QPushButton>("cmdCountAllPhrases")->isEnabled());
  }

  void tableOfAFolderEqualsTheCommandLines() {
    QTemporaryDir out;
    const QString folder = QString::fromStdString(DataPath("cli/tree"));
    Fixture f;
    f.Start();
    QTest::keyClicks(f.Get<QLineEdit>("txbFolder"), folder);
    f.Get<QCheckBox>("chkIncludeSubfolders")->click();
    QTest::keyClicks(f.Get<QLineEdit>("txbFile(1)"), out.filePath("gui.txt"));
    f.window->session().settings.tableLayout = TableLayout::optBoth;
    f.Get<QPushButton>("cmdCountArray")->click();
    QProcess p;
    p.start(TALQ_BINARY, {"table", folder, "-r", "--layout", "both", "-o", out.filePath("cli.txt")});
    QVERIFY(p.waitForFinished(60000));
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
    f.Start();
    f.Get<QPushButton>("cmdCountWords")->setFocus();
    QTest::keyClick(f.Get<QPushButton>("cmdCountWords"), Qt::Key_F1);
    QCOMPARE(f.answers.messages.back().title, std::string("Help is available online"));
    QVERIFY(f.answers.messages.back().text.find("It is recommended to consult this often") !=
            std::string::npos);
  }

  void resizingKeepsTheStartUpLimits() {
    Fixture f;
    f.Start();
    const QSize start = f.window->startUpSize();
    f.window->resize(start.width(), start.height() + 150);
    QTRY_COMPARE(f.window->height(), start.height());
    f.window->resize(start.width() - 60, start.height());
    QTRY_COMPARE(f.window->width(), start.width());  // the text box is empty
  }

  void droppedFileOrFolderBecomesTheSource() {
    Fixture f;
    f.Start();
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
      f.Start();
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
      Fixture f;
      f.Start(false, true);
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
    Fixture f;
    f.Start(false, true);
    QVERIFY(!f.Get<QCheckBox>("chkSuppressFilenames")->isChecked());
  }

  void clipboardSourceCountsTheClipboard() {
    Fixture f;
    f.Start();
    f.window->host().SetClipboardText("alpha beta beta\n");
    f.Get<QRadioButton>("optOnClipboard")->click();
    f.Get<QPushButton>("cmdCountWords")->click();
    QVERIFY(BoxText(f).contains("beta"));
    f.Get<QPushButton>("cmdClearOutput")->click();
    QCOMPARE(BoxText(f), QString());
    QVERIFY(!f.Get<QLabel>("lblNumberOfWords")->isVisible());
    QVERIFY(!f.window->session().settings.blnWordsGot);
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
