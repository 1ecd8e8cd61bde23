// Shared set-up of the widget tests: a main window after start-up whose questions are
// answered by a ScriptedHost, temporary folders, and small helpers to find controls.
#pragma once

#include <QAbstractButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "host/scripted_host.h"
#include "ui/main_window.h"

namespace talq::ui::test {

// Loads the program texts and points the configuration folders at a fresh temporary folder.
// Call once from initTestCase.
void InitEnvironment();

// A started main window; every question goes to `answers`.
struct Fixture {
  // Creates, shows and starts the window, the first-run common-words offer answered No.
  // Unless `keepState`, a state file saved by an earlier test is removed first.
  explicit Fixture(bool keepState = false);

  ScriptedHost answers;
  std::unique_ptr<MainWindow> window;
  // The control called `name` (objectName) of type W inside the main window; fails the test
  // when missing.
  template <typename W>
  W* Get(const char* name) const {
    return window->findChild<W*>(name);
  }
  // The titles of the messages shown so far, joined by " | ".
  std::string Titles() const;
  // Selects the single-file source and types `path` into its box.
  void ChooseFile(const std::string& path);
  // Chooses `path` and clicks the count button; returns when the count is done.
  void CountFile(const std::string& path);
  // The report text box's text, once pending text is on the screen.
  QString Report() const;
};

// Every button, line edit and combo box under `root` has an accessible name (its own or
// its caption) and its control name as accessible description.
void VerifyNamedForAssistiveTools(QWidget* root);

// The test data folder (tests/data).
std::string DataPath(const std::string& relative);
// What the command line prints on standard output, e.g. {"count", path, "-f", "1"}.
QString CommandLineOutput(const QStringList& args);
// Writes `text` into the file `name` of `dir`; returns its path.
std::string WriteTestFile(const QTemporaryDir& dir, const char* name, const std::string& text);

}  // namespace talq::ui::test
