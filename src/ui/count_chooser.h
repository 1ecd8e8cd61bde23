// The count chooser (frmCountWordsPhrases): before a count, all words or only the
// count-only list; it can also switch the display format to the file list (#11).
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QPushButton;

namespace talq::ui {

class CountChooser : public QDialog {
  Q_OBJECT
 public:
  explicit CountChooser(QWidget* parent = nullptr);

  // Sets the introduction and shows "Count only specified words/phrases" exactly when
  // `options` holds a second entry. `fileListChecked`: the state of chkFileList.
  void Prepare(const std::string& intro, const std::vector<std::string>& options,
               bool fileListChecked, bool fileListEnabled);
  // Prepare, then modal: the index of the option chosen, or -1 (Cancel, the close box,
  // "Go to 'Settings'").
  int Ask(const std::string& intro, const std::vector<std::string>& options, bool fileListChecked,
          bool fileListEnabled);

  // Results of the last showing.
  bool blnCancel = true;
  bool blnCountAllWords = false;
  bool blnCountSpecifiedWordsPhrases = false;

  // chkFileList was clicked (checked: select format #11; unchecked: the previous format).
  std::function<void(bool checked)> onFileList;
  // "Go to 'Settings'" was chosen.
  std::function<void()> onGoToSettings;

 private:
  void Finish(int choice);

  QLabel* lblIntro_;
  QPushButton* cmdCountAllWords_;
  QPushButton* cmdCountSpecifiedWordsPhrases_;
  QPushButton* cmdCancel_;
  QPushButton* cmdSetParameters_;
  QCheckBox* chkFileList_;
  int choice_ = -1;
};

}  // namespace talq::ui
