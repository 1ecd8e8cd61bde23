// The main window (frmMain): source, output file, commands, display choices and the report
// text box. It owns the Session (the engine's state) and its QtHost, and starts every
// command; the counting itself is the engine's run controller, as on the command line.
#pragma once

#include <QPointer>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>

#include "ui/bindings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace talq {
struct Session;
enum class RunResult;
}  // namespace talq

namespace talq::ui {

class ClipboardViewer;
class CountChooser;
class ManualWindow;
class PhraseWindow;
class PopUp;
class QtHost;
class SettingsWindow;
class TableDialog;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  Session& session() { return *session_; }
  QtHost& host() { return *host_; }

  // The start-up sequence after the window is shown: initial state, help message, restore
  // of the saved state and its questions, the common-words offer, Timer1.
  void StartUp();
  // The main window's initial state (also "Reinitialize" of the settings window).
  void Initialize();
  // Focus to the control the user needs next.
  void SetTheFocus();
  // Switches the source, output-file and command controls off during a run, on after it.
  void EnableDisableButtons(bool enable);
  // Hides or shows the four result labels.
  void ConcealNumWords(bool hide);
  // Shows the settings record's values in every control after code changed them.
  void SyncFromSettings();
  // Quit: saves the settings when asked to, removes this run's temporary folders, ends.
  void cmdQuit_Click();

  // Windows opened from here (created at first use).
  SettingsWindow& settingsWindow();
  PhraseWindow& phraseWindow();
  TableDialog& tableDialog();
  CountChooser& countChooser();
  PopUp& popUp();

  // The width and height the window had when start-up ended (the resizing rules use them).
  QSize startUpSize() const { return startUpSize_; }
  // Whether a count, a listing or a list load is running.
  bool Busy() const { return busy_ > 0; }

  // Shows the "Don't show again" help message at start-up (tests turn it off).
  bool showHelpAtStartUp = true;

 signals:
  // EnableDisableButtons ran with this flag.
  void buttonsEnabled(bool enabled);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildLayout();
  void BindControls();
  void ConnectCommands();

  // Source selection.
  void SelectSource(int source);
  void UpdateSourceControls();

  // Commands.
  void cmdCountWords_Click();
  void cmdCountAllPhrases_Click();
  // The phrase window's "Count phrases": checks the lengths, hides the window, counts.
  void CountPhrases();
  void cmdCountArray_Click();
  void cmdFolder_Click();
  void cmdFile_Click(int index);
  void cmdClearFolder_Click();
  void cmdClearFile_Click(int index);
  void cmdListFiles_Click();
  void cmdSaveState_Click();
  void cmdCopyToClipboard_Click();
  void cmdClearOutput_Click();
  void chkDisableOutputToFile_Click();
  void chkSuppressWords_Click();
  void DisplayChanged(bool rebuildChain);
  void cmdHelp_Click();
  void ShowHelpMessage(bool atStartUp);
  void OpenManual();
  void SetSourcePath(const QString& path);

  // Runs an engine operation with the controls switched off; returns when it is done.
  template <typename F>
  auto RunBusy(F&& operation);
  void BeginBusy();
  void EndBusy();

  void Timer1_Timer();
  void OnPump();
  void StopOnEscape();

  std::unique_ptr<QtHost> host_;
  std::unique_ptr<Session> session_;
  Bindings bind_;

  // Source
  QLabel* lblSelectSource_;
  QRadioButton* optOnClipboard_;
  QRadioButton* optInFile_;
  QRadioButton* optFolder_;
  QPushButton* cmdFolder_;
  QLineEdit* txbFolder_;
  QPushButton* cmdClearFolder_;
  QCheckBox* chkIncludeSubfolders_;
  QPushButton* cmdFile_[2];
  QLineEdit* txbFile_[2];
  QPushButton* cmdClearFile_[2];
  QLabel* lblScanOnlyFiles_;
  QLabel* lblExcludeFilepaths_;
  QLineEdit* txbFileFilepathSpecifications_[2];
  QPushButton* cmdListFiles_;
  QLabel* lblFile_;
  QLabel* lblFilesize_;
  QLabel* lblXMLsize_;
  QWidget* folderControls_;
  QWidget* fileControls_;
  // Output file
  QCheckBox* chkDisableOutputToFile_;
  // Commands
  QPushButton* cmdCountWords_;
  QPushButton* cmdCountAllPhrases_;
  QPushButton* cmdCountArray_;
  QPushButton* cmdSetParameters_;
  QPushButton* cmdSaveState_;
  QCheckBox* chkSuppressWords_;
  QCheckBox* chkSuppressFilenames_;
  // Display
  QLabel* lblDisplayFormat_;
  QComboBox* cboDisplayFormat_;
  QLabel* lblWordOrder_;
  QComboBox* cboWordOrder_;
  QCheckBox* chkDisplayRelativeFrequency_;
  QCheckBox* chkSortByNumberOfFiles_;
  // Result
  QPlainTextEdit* txbOutput_;
  QLabel* lblNumberOfWords_;
  QLabel* lblNumWordsExcluded_;
  QLabel* lblNumOccurrences_;
  QLabel* lblTotalNumOccurrences_;
  QLabel* lblTimeElapsed_;
  QLabel* lblTwirler_;
  QPushButton* cmdCopyToClipboard_;
  QPushButton* cmdClearOutput_;
  // Other
  QPushButton* cmdClipboardViewer_;
  QPushButton* cmdHelp_;
  QPushButton* cmdQuit_;
  QLabel* lblOnlineDocumentation_;
  QLabel* lblVelmoriaSystems_;

  QTimer* timer1_;
  std::unique_ptr<SettingsWindow> settingsWindow_;
  std::unique_ptr<PhraseWindow> phraseWindow_;
  std::unique_ptr<TableDialog> tableDialog_;
  std::unique_ptr<CountChooser> countChooser_;
  std::unique_ptr<PopUp> popUp_;
  std::unique_ptr<ClipboardViewer> clipboardViewer_;
  std::unique_ptr<ManualWindow> manualWindow_;

  std::string rememberedFile_;
  std::string rememberedFolder_;
  int formatBeforeFileList_ = 0;
  QSize startUpSize_;
  int busy_ = 0;
  int twirl_ = 0;
  std::chrono::steady_clock::time_point lastTwirl_{};
  bool quitting_ = false;
  bool quitAfterRun_ = false;
};

}  // namespace talq::ui
