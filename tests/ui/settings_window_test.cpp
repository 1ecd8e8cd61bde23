// The settings window driven through its controls: the checkbox buttons, the case tooltip,
// the question before a change that makes a kept count stale, word lists loaded and chosen
// through the window, the extra-entry boxes, settings files, Quit and the run switch.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "lists/list_history.h"
#include "run/session.h"
#include "run/setting_changes.h"
#include "settings/setting_fields.h"
#include "ui/load_remove_dialog.h"
#include "ui/qt_host.h"
#include "ui/settings_window.h"
#include "ui/ui_harness.h"

using namespace talq;
using namespace talq::ui;
using namespace talq::ui::test;

namespace {

// A started main window with its settings window shown.
struct SettingsFixture : Fixture {
  SettingsWindow* w = &window->settingsWindow();
  SettingsFixture() {
    window->findChild<QPushButton*>("cmdSetParameters")->click();
    QVERIFY(QTest::qWaitForWindowExposed(w));
  }
  template <typename W>
  W* In(const QString& name) const {
    W* widget = w->findChild<W*>(name);
    if (!widget) qWarning("no control %s", qPrintable(name));
    return widget;
  }
  Settings& st() { return window->session().settings; }
};

}  // namespace

class SettingsWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { InitEnvironment(); }

  void opensCentredWithEveryFieldBoundAndNamed() {
    SettingsFixture f;
    QVERIFY(f.In<QPushButton>("cmdClose")->hasFocus());
    QVERIFY(!f.In<QCheckBox>("chkUseLog10")->isVisible());
    QVERIFY(!f.In<QLineEdit>("txbStateFile")->isVisible());
    QCOMPARE(f.In<QPushButton>("cmdSelectWordsFile(0)")->text().remove('&'),
             QString("Words-to-ignore files (0)"));
    QVERIFY(f.In<QCheckBox>("chkTerminatePhraseAtDoubleQuote")->text().endsWith(QChar(0x00BB)));
    for (const char* name : {"chkAllowWordsWithHyphens", "chkDropFinalS", "chkIgnoreNoLetter"})
      QVERIFY2(f.In<QCheckBox>(name)->isChecked(), name);
    QCOMPARE(f.In<QComboBox>("cboShortWordSize")->currentText(), QString("3"));
    QCOMPARE(f.In<QComboBox>("cboLongWordSize")->currentText(), QString("50"));
    VerifyNamedForAssistiveTools(f.w);
    // The typed-entries box says whether case counts.
    auto* box = f.In<QLineEdit>("txbWordsToIgnoreOrCount(1)");
    QVERIFY(box->toolTip().endsWith("  Case is not significant."));
    f.In<QCheckBox>("chkCaseSignificant")->click();
    QVERIFY(box->toolTip().endsWith("  Case is significant."));
  }

  void clearAllAndCheckAll() {
    SettingsFixture f;
    f.answers.messages.clear();
    f.In<QPushButton>("cmdSetOrClearCheckboxes(0)")->click();
    for (const std::string& name : CheckAllFields()) {
      QCOMPARE(FieldValueText(f.st(), name), std::string("0"));
      QVERIFY2(!f.In<QCheckBox>(QString::fromStdString(name))->isChecked(), name.c_str());
    }
    QCOMPARE(f.st().chkUseLog10, 1);

    f.In<QPushButton>("cmdSetOrClearCheckboxes(1)")->click();
    QCOMPARE(f.st().chkAllowWordsWithUserSpecifiedExtraChars, 0);  // nothing to admit
    QVERIFY(!f.In<QCheckBox>("chkAllowWordsWithUserSpecifiedExtraChars")->isChecked());
    QVERIFY(f.In<QCheckBox>("chkAllowWordsWithCommas")->isChecked());
    QVERIFY(f.answers.messages.empty());
  }

  void changeAfterACountAsksFirst() {
    SettingsFixture f;
    f.CountFile(DataPath("run/small.txt"));
    QVERIFY(f.st().blnWordsGot);
    auto* hyphens = f.In<QCheckBox>("chkAllowWordsWithHyphens");
    f.answers.messages.clear();
    f.answers.answers.push_back(MsgAnswer::No);
    hyphens->click();
    QCOMPARE(f.answers.messages.size(), std::size_t(1));
    QCOMPARE(f.answers.messages[0].text,
             std::string("Changing this entails reading the file anew.  Is this OK?"));
    QVERIFY(hyphens->isChecked());
    QCOMPARE(f.st().chkAllowWordsWithHyphens, 1);
    QVERIFY(f.st().blnWordsGot);

    f.answers.answers.push_back(MsgAnswer::Yes);
    hyphens->click();
    QVERIFY(!hyphens->isChecked());
    QCOMPARE(f.st().chkAllowWordsWithHyphens, 0);
    QVERIFY(!f.st().blnWordsGot);
  }

  void countOnlyFileLoadedHereCountsAsOnTheCommandLine() {
    QTemporaryDir dir;
    const std::string list = WriteTestFile(dir, "only.txt", "the\nand\nnew york\n");
    SettingsFixture f;
    f.answers.chosenPaths.push_back(list);
    f.answers.answers.push_back(MsgAnswer::No);  // "Do you wish to list them?"
    f.In<QPushButton>("cmdSelectWordsFile(1)")->click();
    QCOMPARE(f.answers.messages.back().title, std::string("Count-only words/phrases loaded"));
    QCOMPARE(f.In<QComboBox>("cboWordsFile(1)")->currentText().toStdString(), list);
    QCOMPARE(f.In<QPushButton>("cmdSelectWordsFile(1)")->text().remove('&'),
             QString("Count-only words/phrases files (1)"));

    f.answers.choices.push_back(1);  // "Count only specified words/phrases"
    f.CountFile(DataPath("run/small.txt"));
    QCOMPARE(f.Report().trimmed(),
             CommandLineOutput({"count", QString::fromStdString(DataPath("run/small.txt")),
                                "--count-only-file", QString::fromStdString(list)})
                 .trimmed());
  }

  void historyEntryLoadOrRemove() {
    QTemporaryDir dir;
    const std::string a = WriteTestFile(dir, "a.txt", "alpha\n");
    const std::string b = WriteTestFile(dir, "b.txt", "beta\n");
    SettingsFixture f;
    for (const std::string& path : {a, b}) {
      f.answers.chosenPaths.push_back(path);
      f.In<QPushButton>("cmdSelectWordsFile(0)")->click();
    }
    auto* history = f.In<QComboBox>("cboWordsFile(0)");
    QCOMPARE(history->count(), 2);
    f.answers.choices.push_back(kRemoveThisFile);
    QTest::keyClick(history, Qt::Key_Up);  // activates entry 0
    QCOMPARE(f.answers.prompts.back(), a);
    QCOMPARE(history->count(), 1);
    QCOMPARE(history->currentIndex(), -1);
    QCOMPARE(f.window->session().lists.lngNumWordsToIgnore, 0);
  }

  void loadRemoveDialogReturnsTheChosenOption() {
    LoadRemoveDialog d;
    QTimer::singleShot(0, &d, [&d] {
      QVERIFY(d.findChild<QRadioButton*>("optCancel")->isChecked());
      d.findChild<QRadioButton*>("optLoadThisFile")->click();
      d.findChild<QPushButton*>("cmdClose")->click();
    });
    QCOMPARE(d.Ask("/x/list.txt", QPoint(10, 10)), kLoadThisFile);
    QTimer::singleShot(0, &d, [&d] {
      QVERIFY(d.findChild<QRadioButton*>("optCancel")->isChecked());  // selected anew
      d.findChild<QRadioButton*>("optRemoveThisFile")->click();
      d.reject();  // the window's close box
    });
    QCOMPARE(d.Ask("/x/list.txt", QPoint(10, 10)), kCancelLoadOrRemove);
  }

  void extraEntriesAreParsedWhenTheBoxIsLeft() {
    SettingsFixture f;
    auto* box = f.In<QLineEdit>("txbWordsToIgnoreOrCount(0)");
    box->setFocus();
    QTest::keyClicks(box, "  Viz ibid sans,x ");
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QString("viz ibid sans,x"));
    QCOMPARE(f.answers.messages.back().title, std::string("Character not allowed"));
    QCOMPARE(f.window->session().lists.intNumExtraWordsToIgnore, 3);

    f.In<QPushButton>("cmdClearWordsToIgnoreOrCount(0)")->click();
    QVERIFY(box->text().isEmpty());
    QCOMPARE(f.window->session().lists.intNumExtraWordsToIgnore, 0);
    QVERIFY(f.In<QPushButton>("cmdClose")->hasFocus());

    auto* chars = f.In<QLineEdit>("txbUserSpecifiedExtraChars");
    chars->setFocus();
    QTest::keyClicks(chars, "a1-##");
    QTest::keyClick(chars, Qt::Key_Return);
    QCOMPARE(chars->text(), QString("#"));
  }

  void settingsFileSavedAndLoadedBack() {
    QTemporaryDir dir;
    const std::string path = dir.filePath("mine.talq").toStdString();
    SettingsFixture f;
    f.In<QCheckBox>("chkAllowWordsWithNumerals")->click();
    f.In<QComboBox>("cboExcessFrequency")->setCurrentIndex(0);
    emit f.In<QComboBox>("cboExcessFrequency")->activated(0);
    QCOMPARE(f.w->findChild<QLabel*>("lblExcessFrequency")->text(), QString("occurrence"));
    f.answers.chosenPaths.push_back(path);
    f.In<QPushButton>("cmdSaveLoadState(0)")->click();
    QVERIFY(f.In<QLineEdit>("txbStateFile")->isVisible());
    const Settings saved = f.st();

    f.In<QPushButton>("cmdRestoreDefaults")->click();
    QCOMPARE(f.st().chkAllowWordsWithNumerals, 0);
    f.answers.chosenPaths.push_back(path);
    f.In<QPushButton>("cmdSaveLoadState(1)")->click();
    // "No filter mode yet" has no number of its own in the file: it comes back as the first.
    for (const FieldInfo& field : SettingFields())
      if (field.persisted && field.name != "filterMode")
        QVERIFY2(FieldValueText(f.st(), field.name) == FieldValueText(saved, field.name),
                 field.name.c_str());
    QVERIFY(f.In<QCheckBox>("chkAllowWordsWithNumerals")->isChecked());
  }

  void quitAnsweredNoChangesNothing() {
    SettingsFixture f;
    f.answers.answers.push_back(MsgAnswer::No);
    f.In<QPushButton>("cmdQuit")->click();
    QCOMPARE(f.answers.messages.back().text, std::string("Really quit?"));
    QCOMPARE(f.answers.messages.back().title, std::string("Quit"));
    QVERIFY(f.window->isVisible());
    QVERIFY(f.w->isVisible());
  }

  void groupsFollowTheMainWindowsSwitch() {
    SettingsFixture f;
    f.window->EnableDisableButtons(false);
    QVERIFY(!f.In<QCheckBox>("chkCaseSignificant")->isEnabled());
    QVERIFY(!f.In<QPushButton>("cmdRestoreDefaults")->isEnabled());
    QVERIFY(f.In<QCheckBox>("chkTerminatePhraseAtTab")->isEnabled());
    QVERIFY(f.In<QCheckBox>("chkPatternMatchingInWordsToIgnoreFile")->isEnabled());
    QVERIFY(f.In<QPushButton>("cmdClose")->isEnabled());
    f.window->EnableDisableButtons(true);
    QVERIFY(f.In<QCheckBox>("chkCaseSignificant")->isEnabled());
  }
};

QTEST_MAIN(SettingsWindowTest)
#include "settings_window_test.moc"
