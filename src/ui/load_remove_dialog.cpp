// Load-or-remove dialog.
#include "ui/load_remove_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "lists/list_history.h"
#include "ui/widgets.h"

namespace talq::ui {

LoadRemoveDialog::LoadRemoveDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("frmLoadRemove");
  setWindowTitle(kLoadOrRemoveTitle);
  setModal(true);
  lblFile_ = MakeLabel(this, "lblFile");
  lblFile_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblFile_->setWordWrap(true);
  optLoadThisFile_ = MakeOption(this, "optLoadThisFile", "Load this file", 'l');
  optRemoveThisFile_ = MakeOption(this, "optRemoveThisFile", "Remove this file from the list", 'r');
  optCancel_ = MakeOption(this, "optCancel", "Cancel", 'a');
  cmdClose_ = MakeButton(this, "cmdClose", "Close", 'c');
  cmdClose_->setDefault(true);
  for (QRadioButton* o : {optLoadThisFile_, optRemoveThisFile_, optCancel_})
    connect(o, &QRadioButton::clicked, cmdClose_, [this] { cmdClose_->setFocus(); });
  connect(cmdClose_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblFile_);
  for (QRadioButton* o : {optLoadThisFile_, optRemoveThisFile_, optCancel_}) layout->addWidget(o);
  layout->addWidget(cmdClose_, 0, Qt::AlignRight);
}

int LoadRemoveDialog::Ask(const QString& path, QPoint topLeft) {
  lblFile_->setText(path);
  optCancel_->setChecked(true);
  adjustSize();
  move(topLeft);
  cmdClose_->setFocus();
  if (exec() != QDialog::Accepted) return kCancelLoadOrRemove;
  if (optLoadThisFile_->isChecked()) return kLoadThisFile;
  if (optRemoveThisFile_->isChecked()) return kRemoveThisFile;
  return kCancelLoadOrRemove;
}

}  // namespace talq::ui
