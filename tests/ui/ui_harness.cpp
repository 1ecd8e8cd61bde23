// Widget-test set-up.
#include "ui/ui_harness.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <fstream>

#include "ui/qt_host.h"
#include "settings/state_file.h"
#include "util/program_texts.h"

namespace talq::ui::test {

void InitEnvironment() {
  static QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName("talq");
  QApplication::setApplicationName("talq-gui-test");
  LoadProgramTexts(DataDir() + "/talq.dat");
}

Fixture::Fixture(bool keepState) {
  if (!keepState) std::remove(StateFilePath().c_str());
  window = std::make_unique<MainWindow>();
  window->host().SetSeam(&answers);
  window->showHelpAtStartUp = false;
  answers.answers.push_front(MsgAnswer::No);
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  window->StartUp();
}

std::string Fixture::Titles() const {
  std::string out;
  for (const auto& m : answers.messages) out += (out.empty() ? "" : " | ") + m.title;
  return out;
}

void Fixture::ChooseFile(const std::string& path) {
  window->findChild<QRadioButton*>("optInFile")->click();
  auto* box = window->findChild<QLineEdit*>("txbFile(0)");
  box->clear();
  QTest::keyClicks(box, QString::fromStdString(path));
}

void Fixture::CountFile(const std::string& path) {
  ChooseFile(path);
  window->findChild<QPushButton*>("cmdCountWords")->click();
}

QString Fixture::Report() const {
  window->host().Flush();
  return window->findChild<QPlainTextEdit*>("txbOutput")->toPlainText();
}

void VerifyNamedForAssistiveTools(QWidget* root) {
  for (QWidget* c : root->findChildren<QWidget*>()) {
    if (!qobject_cast<QAbstractButton*>(c) && !qobject_cast<QLineEdit*>(c) &&
        !qobject_cast<QComboBox*>(c))
      continue;
    // Qt's own parts of a widget (a combo box's line edit, a dialog's button box).
    if (c->objectName().startsWith("qt_") || c->objectName().isEmpty()) continue;
    auto* button = qobject_cast<QAbstractButton*>(c);
    QVERIFY2(!c->accessibleName().isEmpty() || (button && !button->text().isEmpty()),
             qPrintable(c->objectName()));
    QCOMPARE(c->accessibleDescription(), c->objectName());
  }
}

QString CommandLineOutput(const QStringList& args) {
  QProcess p;
  p.start(TALQ_BINARY, args);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

std::string WriteTestFile(const QTemporaryDir& dir, const char* name, const std::string& text) {
  const std::string path = dir.filePath(name).toStdString();
  std::ofstream(path) << text;
  return path;
}

std::string DataPath(const std::string& relative) { return std::string(TALQ_TEST_DATA_DIR) + "/" + relative; }

}  // namespace talq::ui::test
