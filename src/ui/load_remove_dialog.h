// The load-or-remove dialog (frmLoadRemove): asked when the user picks a file from a word
// list's history, whether to load it, remove it from the history, or leave things as they were.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

namespace talq::ui {

class LoadRemoveDialog : public QDialog {
  Q_OBJECT
 public:
  explicit LoadRemoveDialog(QWidget* parent = nullptr);

  // Shows path with "Cancel" selected and the focus on "Close", its top-left corner at
  // topLeft (screen pixels), and waits until it is closed. Returns 0 "Load this file",
  // 1 "Remove this file from the list" or 2 "Cancel" (also when the window is closed).
  int Ask(const QString& path, QPoint topLeft);

 private:
  QLabel* lblFile_;
  QRadioButton* optLoadThisFile_;
  QRadioButton* optRemoveThisFile_;
  QRadioButton* optCancel_;
  QPushButton* cmdClose_;
};

}  // namespace talq::ui
