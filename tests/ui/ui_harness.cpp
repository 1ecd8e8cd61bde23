// Widget-test set-up.
#include "ui/ui_harness.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <cstdlib>

#include "ui/qt_host.h"
#include "settings/state_file.h"
#include "util/program_texts.h"

#include <cstdio>

namespace talq::ui::test {

void InitEnvironment() {
  static QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName("talq");
  QApplication::setApplicationName("talq-gui-test");
  LoadProgramTexts(DataDir() + "/talq.dat");
}

void Fixture::Start(bool ignoreCommonWords, bool keepState) {
  if (!keepState) std::remove(StateFilePath().c_str());
  window = std::make_unique<MainWindow>();
  window->host().SetSeam(&answers);
  window->showHelpAtStartUp = false;
  answers.answers.push_front(ignoreCommonWords ? MsgAnswer::Yes : MsgAnswer::No);
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  window->StartUp();
}

std::string Fixture::Titles() const {
  std::string out;
  for (const auto& m : answers.messages) out += (out.empty() ? "" : " | ") + m.title;
  return out;
}

std::string DataPath(const std::string& relative) { return std::string(TALQ_TEST_DATA_DIR) + "/" + relative; }

}  // namespace talq::ui::test
