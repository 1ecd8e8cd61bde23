// The smaller windows: count chooser, phrase window filter controls, table dialog, pop-up.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "run/run_summary.h"
#include "run/session.h"
#include "settings/settings.h"
#include "ui/count_chooser.h"
#include "ui/phrase_window.h"
#include "ui/popup.h"
#include "ui/qt_host.h"
#include "ui/table_dialog.h"
#include "ui/ui_harness.h"
#include "util/program_texts.h"

using namespace talq;
using namespace talq::ui;
using namespace talq::ui::test;

class DialogsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { InitEnvironment(); }

  // The second button shows only with count-only entries; the file-list box switches the
  // format to the file list and back.
  void chooserButtonsAndFileListBox() {
    Fixture f;
    CountChooser& c = f.window->countChooser();
    c.Prepare(CountChooserIntro(f.window->session()), {"Count all words"}, false, true);
    c.show();
    QVERIFY(!c.findChild<QPushButton*>("cmdCountSpecifiedWordsPhrases")->isVisible());
    QVERIFY(c.findChild<QLabel*>("lblIntro")->text().startsWith(
        "The 'Settings' window currently states that all words are to be counted "));
    c.findChild<QPushButton*>("cmdCountAllWords")->click();
    QVERIFY(c.blnCountAllWords && !c.blnCancel && !c.isVisible());

    f.window->session().settings.cboDisplayFormat = 3;
    c.Prepare("intro", {"Count all words", "Count only specified words/phrases"}, false, true);
    c.show();
    QVERIFY(c.findChild<QPushButton*>("cmdCountSpecifiedWordsPhrases")->isVisible());
    auto* box = c.findChild<QCheckBox*>("chkFileList");
    box->click();
    QCOMPARE(f.window->session().settings.cboDisplayFormat, 11);
    box->click();
    QCOMPARE(f.window->session().settings.cboDisplayFormat, 3);
    c.close();  // the close box
    QVERIFY(c.blnCancel && !c.blnCountAllWords && !c.blnCountSpecifiedWordsPhrases);
  }

  void filterControlsFollowTheHandlingThePhrasesWereCountedWith() {
    Fixture f;
    PhraseWindow& w = f.window->phraseWindow();
    w.intPhrasesSelectedOnCount = 2;  // counted with "Exclude phrases consisting entirely ..."
    w.Open({true, false, true, false});
    auto* box = w.findChild<QLineEdit*>("txbFilterWords");
    auto* filter = w.findChild<QPushButton*>("cmdFilterResults");
    QVERIFY(box->isEnabled() && filter->isEnabled());
    QTest::keyClicks(box, "Old, man");
    // Former fault: Enter here also pressed the default button and counted phrases anew.
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QString("old man"));
    QVERIFY(w.isVisible() && f.answers.messages.size() == 1);  // only the start-up offer
    w.findChild<QRadioButton*>("optRemoveWordsToIgnore")->click();
    QCOMPARE(w.intPhrasesSelected(), 3);
    QVERIFY(!box->isEnabled() && !filter->isEnabled());
    QCOMPARE(box->text(), QString());
    w.findChild<QRadioButton*>("optExcludePhrasesAllWordsToIgnore")->click();
    QVERIFY(box->isEnabled() && filter->isEnabled());
    QCOMPARE(box->text(), QString("old man"));
    QCOMPARE(f.window->session().settings.txbFilterWords, std::string("old man"));
    w.findChild<QPushButton*>("cmdClear")->click();
    QCOMPARE(box->text(), QString());
    QVERIFY(!w.findChild<QPushButton*>("cmdClear")->isEnabled());
    w.findChild<QPushButton*>("cmdClose")->click();
    QVERIFY(w.blnCancel && !w.isVisible());

    // Without words to ignore, their handling and the file list are not offered.
    w.Open({false, true, false, false});
    QVERIFY(!w.findChild<QRadioButton*>("optRemoveWordsToIgnore")->isEnabled());
    QVERIFY(!w.findChild<QCheckBox*>("chkFileList")->isEnabled());
    QCOMPARE(w.findChild<QLabel*>("lblWordsToIgnore")->text(),
             QString("No words-to-ignore are specified in the 'Settings' window."));
    QVERIFY(w.findChild<QLabel*>("lblIntro")->text().endsWith(
        "  It ignores the specification of count-only words/phrases in the 'Settings' window."));
    w.findChild<QPushButton*>("cmdClose")->click();
  }

  // "Count phrases" and "Filter results" list what `talq phrases` lists for the same
  // lengths and filter; lengths the wrong way round are refused with the window still open.
  void phrasesCountedAndFilteredAsOnTheCommandLine_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("parsed");
    QTest::newRow("as subphrase") << "subphrase" << "optIncludeAllWordsAsSubphrase" << "Night,"
                                  << "night";
    QTest::newRow("in same order, none") << "order" << "optIncludeAllWordsInSameOrder"
                                         << "CALM  sea" << "calm sea";
  }
  void phrasesCountedAndFilteredAsOnTheCommandLine() {
    QFETCH(QString, mode);
    QFETCH(QString, option);
    QFETCH(QString, typed);
    QFETCH(QString, parsed);
    QTemporaryDir dir;
    const QString path = QString::fromStdString(WriteTestFile(
        dir, "in.txt",
        "The sea was calm. The sea was calm and the night was dark.\n"
        "The night was dark, and the sea was calm. Of the sea was nothing said.\n"));
    Fixture f;
    f.ChooseFile(path.toStdString());
    f.Get<QPushButton>("cmdCountAllPhrases")->click();
    PhraseWindow& w = f.window->phraseWindow();
    QVERIFY(w.isVisible());
    const auto pick = [&w](const char* name, int index) {
      auto* combo = w.findChild<QComboBox*>(name);
      combo->setCurrentIndex(index);
      emit combo->activated(index);
    };
    pick("cboPhraseLength(0)", 4);  // 5 words
    pick("cboPhraseLength(1)", 3);  // 4 words
    w.findChild<QPushButton*>("cmdCountPhrases")->click();
    QCOMPARE(f.answers.messages.back().title, std::string("Invalid input"));
    QVERIFY(w.isVisible());
    pick("cboPhraseLength(0)", 1);
    w.findChild<QPushButton*>("cmdCountPhrases")->click();
    QVERIFY(!w.isVisible());
    const QStringList args{"phrases", path, "--min", "2", "--max", "4"};
    QCOMPARE(f.Report().trimmed(), CommandLineOutput(args).trimmed());
    QVERIFY(f.Get<QLabel>("lblNumberOfWords")->isVisible());

    f.Get<QPushButton>("cmdCountAllPhrases")->click();
    auto* box = w.findChild<QLineEdit*>("txbFilterWords");
    QVERIFY(box->isEnabled());
    w.findChild<QRadioButton*>(option)->click();
    QTest::keyClicks(box, typed);
    w.findChild<QPushButton*>("cmdFilterResults")->click();
    QCOMPARE(box->text(), parsed);
    QCOMPARE(f.Report().trimmed(),
             CommandLineOutput(args + QStringList{"--filter", typed, "--filter-mode", mode}).trimmed());
  }

  // Former fault: the window never asked before keeping every phrase of a large file.
  void everyPhraseOfALargeFileIsCountedOnlyAfterAsking() {
    QTemporaryDir dir;
    std::string text;
    while (text.size() <= 50 * 1024) text += "the old sea and the old ship\n";
    const std::string path = WriteTestFile(dir, "large.txt", text);
    Fixture f;
    f.ChooseFile(path);
    f.Get<QPushButton>("cmdCountAllPhrases")->click();
    PhraseWindow& w = f.window->phraseWindow();
    auto* minimum = w.findChild<QComboBox*>("cboMinimumFrequency");
    minimum->setCurrentIndex(0);
    emit minimum->activated(0);
    f.answers.answers.push_back(MsgAnswer::No);
    w.findChild<QPushButton*>("cmdCountPhrases")->click();
    QCOMPARE(f.answers.messages.back().title, std::string("Count all phrases"));
    QVERIFY(f.answers.messages.back().text.starts_with(ProgramText(375)));
    QVERIFY(!f.window->session().settings.blnWordsGot);
  }

  void tableDialogCloseBoxIsCancel() {
    Fixture f;
    TableDialog& d = f.window->tableDialog();
    d.Open();
    d.findChild<QRadioButton*>("optBoth")->click();
    QCOMPARE(f.window->session().settings.tableLayout, TableLayout::optBoth);
    QCOMPARE(d.focusWidget(), d.findChild<QPushButton*>("cmdCancel"));
    d.close();
    QVERIFY(d.blnCancel);
    d.Open();
    QVERIFY(d.findChild<QRadioButton*>("optBoth")->isChecked());
    d.findChild<QPushButton*>("cmdCreateFile")->click();
    QVERIFY(!d.blnCancel && !d.isVisible());
  }

  void popUpClosesAfterItsIntervalOrWhenClicked() {
    PopUp p;
    p.PopUpCenterScreen("Settings saved", 2350, 300, 300);
    QVERIFY(p.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!p.isVisible(), 5000);
    p.PopUpCenterScreen("Settings saved", 2350, 300, 60000);
    QVERIFY(p.isVisible());
    QTest::mouseClick(&p, Qt::LeftButton);
    QVERIFY(!p.isVisible());
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
