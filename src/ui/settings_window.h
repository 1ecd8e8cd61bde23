// The settings window (frmParams): what counts as a word, which words are ignored, the two
// word lists, phrase boundaries, comment markers, input and output options, and the
// settings files. Its controls are bound to the settings record by field name; every
// command is an engine procedure.
#pragma once

#include <QDialog>
#include <memory>

#include "ui/field_binding.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace talq {
struct Session;
}

namespace talq::ui {

class LoadRemoveDialog;
class MainWindow;

class SettingsWindow : public QDialog {
  Q_OBJECT
 public:
  // mainWindow: the window that owns the session (its quit, Initialize and button switch
  // serve this window's buttons too).
  SettingsWindow(Session& session, QWidget* mainWindow);
  ~SettingsWindow() override;

  // Shows the window centred on the screen, focus on "Hide settings".
  void ShowCentred();
  // The main window's buttons were switched off (a count, a list being read) or on again.
  void SetGroupsEnabled(bool enabled);
  // Shows the settings record's values again (after a restore or Reinitialize), with the
  // tooltips and captions that follow them.
  void Pull();
  // The size that shows every group without scrolling.
  QSize FullSize() const;
  // The load-or-remove dialog, placed beside the history of list index; returns the
  // choice as Host::Choose does for it.
  int AskLoadOrRemove(int index, const QString& path);

 private:
  QGroupBox* BuildWordCharacters();
  QGroupBox* BuildAlso();
  QGroupBox* BuildIgnoreWords();
  QGroupBox* BuildWordList(int index);
  QGroupBox* BuildPatternMatching();
  QGroupBox* BuildPhraseBoundaries();
  QGroupBox* BuildCommentMarkers();
  QGroupBox* BuildOptions();
  QGroupBox* BuildSettingsFiles();
  void ConnectCommands();

  // After the user changed a bound field.
  void FieldChanged(const FieldInfo& field, int entry);
  // Runs an engine step that may read a list file, with the main window's buttons off.
  template <typename F>
  void WithButtonsOff(F&& step);
  // The count-only box's tooltip states whether case is significant.
  void SetToolTipText();
  void AfterListChange();
  void ShowNotice(QWidget* at, const QString& text, int widthTwips);
  MainWindow* Main() const;

  Session& session_;
  FieldBinding binding_;
  std::unique_ptr<LoadRemoveDialog> loadRemove_;
  int chosenHistory_ = 0;  // the list whose history entry is being chosen

  QWidget* body_;
  QLayout* buttons_;
  QGroupBox* fraAllowWordsWith_;
  QGroupBox* fraAlso_;
  QGroupBox* fraIgnoreWords_;
  QGroupBox* fraWordList_[2];
  QGroupBox* fraPatternMatching_;
  QGroupBox* fraPhraseBoundaries_;
  QGroupBox* fraCommentMarkers_;
  QGroupBox* fraOptions_;
  QGroupBox* fraSettingsFiles_;
  QLabel* lblExcessFrequency_;
  QLabel* lblState_;
  QLineEdit* txbStateFile_;
  QPushButton* cmdSelectWordsFile_[2];
  QPushButton* cmdClose_;
  QPushButton* cmdQuit_;
  QPushButton* cmdSaveState_;
  QPushButton* cmdInitialize_;
  QPushButton* cmdSaveLoadState_[2];
  QPushButton* cmdRestoreDefaults_;
  QPushButton* cmdSetOrClearCheckboxes_[2];
};

}  // namespace talq::ui
