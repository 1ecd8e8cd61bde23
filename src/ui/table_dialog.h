// The spreadsheet-table dialog (frmCountArray): the table layout and cell options of the
// words-vs-files table, then "Create Excel file" or Cancel.
#pragma once

#include <QDialog>
#include <functional>

#include "ui/bindings.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace talq {
struct Settings;
}

namespace talq::ui {

class TableDialog : public QDialog {
  Q_OBJECT
 public:
  TableDialog(Settings& settings, QWidget* parent = nullptr);

  // Shows the dialog (modal, returns at once) with the settings' current values.
  void Open();
  // Shows it and waits: true for "Create Excel file", false for Cancel, the close box or
  // "Go to 'Settings'".
  bool Exec();

  // Cleared by "Create Excel file"; set by Cancel and the close box.
  bool blnCancel = true;
  // "Go to 'Settings'" was clicked (after the dialog is hidden).
  std::function<void()> onGoToSettings;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FocusCancel();

  Settings& settings_;
  Bindings bind_;
  QRadioButton* optAlphabetical_;
  QRadioButton* optByFrequency_;
  QRadioButton* optBoth_;
  QCheckBox* chkZeroCellsBlank_;
  QCheckBox* chkWriteRelativeFrequency_;
  QPushButton* cmdCreateFile_;
  QPushButton* cmdSetParameters_;
  QPushButton* cmdCancel_;
};

}  // namespace talq::ui
