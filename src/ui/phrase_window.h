// The phrase window (frmCountAllPhrases): phrase lengths, minimum frequency and the
// words-to-ignore handling of a count of all phrases, and the filter of its result.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "ui/bindings.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace talq {
struct Settings;
}

namespace talq::ui {

class PhraseWindow : public QDialog {
  Q_OBJECT
 public:
  PhraseWindow(Settings& settings, QWidget* parent = nullptr);

  // What the window shows depends on the main window's state at the time.
  struct Context {
    bool wordsToIgnore = false;  // file or typed words to ignore exist
    bool countOnly = false;      // file or typed count-only entries exist
    bool folderSource = false;   // the source is a folder (the file list format needs it)
    bool fileListFormat = false; // the display format is #11
  };
  // Shows the window (modal, returns at once).
  void Open(const Context& context);

  // 1..4: the words-to-ignore option now selected (order of the window).
  int intPhrasesSelected() const;
  // The option in force for the result on screen (0: no phrase result yet).
  int intPhrasesSelectedOnCount = 0;
  // Set by "Close".
  bool blnCancel = false;

  // Commands the main window carries out.
  std::function<void()> onCountPhrases;
  std::function<void()> onFilterResults;
  std::function<void()> onFilterWordsEntered;  // parses the filter box (Enter, leaving it)
  std::function<void()> onSaveSettings;
  std::function<void()> onCopyToClipboard;
  std::function<void()> onGoToSettings;
  std::function<void()> onQuit;
  std::function<void(bool checked)> onFileList;

  // Enables or empties the filter controls after the option or the result changed.
  void UpdateFilterControls();
  // The filter box's text was changed by code (a restore): show the record's values.
  void Pull() { bind_.Pull(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Leaving the box, Enter or the filter button: the box shows the words as parsed.
  void TakeFilterWords();
  void FocusCountPhrases();
  void CloseWindow();

  Settings& settings_;
  Bindings bind_;
  std::string lastFilterWords_;
  QLabel* lblIntro_;
  QLabel* lblWordsToIgnore_;
  QComboBox* cboPhraseLength_[2];
  QComboBox* cboMinimumFrequency_;
  QGroupBox* fraWordsToIgnore_;
  QRadioButton* optHandling_[4];
  QPushButton* cmdCountPhrases_;
  QGroupBox* fraFilter_;
  QLineEdit* txbFilterWords_;
  QPushButton* cmdClear_;
  QRadioButton* optIncludeAllWords_;
  QRadioButton* optIncludeAllWordsInSameOrder_;
  QRadioButton* optIncludeAllWordsAsSubphrase_;
  QPushButton* cmdFilterResults_;
  QCheckBox* chkFileList_;
  QPushButton* cmdSaveState_;
  QPushButton* cmdCopyToClipboard_;
  QPushButton* cmdSetParameters_;
  QPushButton* cmdClose_;
  QPushButton* cmdQuit_;
};

}  // namespace talq::ui
