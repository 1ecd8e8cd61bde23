// Count chooser.
#include "ui/count_chooser.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_host.h"
#include "ui/widgets.h"
#include "util/program_texts.h"

namespace talq::ui {

CountChooser::CountChooser(QWidget* parent)
    : QDialog(parent),
      lblIntro_(MakeLabel(this, "lblIntro")),
      cmdCountAllWords_(MakeButton(this, "cmdCountAllWords", "Count all words", 'a')),
      cmdCountSpecifiedWordsPhrases_(MakeButton(this, "cmdCountSpecifiedWordsPhrases",
                                                "Count only specified words/phrases", 'o')),
      cmdCancel_(MakeButton(this, "cmdCancel", "Cancel", 'c')),
      cmdSetParameters_(MakeButton(this, "cmdSetParameters", "Go to 'Settings'", 'g')),
      chkFileList_(MakeCheck(this, "chkFileList", Q(ProgramText(374)), 'f')) {
  setObjectName("frmCountWordsPhrases");
  setWindowTitle("Count words/phrases");
  lblIntro_->setWordWrap(true);
  lblIntro_->setMinimumWidth(Twips(this, 6000));
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdCountAllWords_);
  buttons->addWidget(cmdCountSpecifiedWordsPhrases_);
  buttons->addStretch();
  buttons->addWidget(cmdSetParameters_);
  buttons->addWidget(cmdCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblIntro_);
  layout->addWidget(chkFileList_);
  layout->addLayout(buttons);
  connect(cmdCountAllWords_, &QPushButton::clicked, this, [this] { Finish(0); });
  connect(cmdCountSpecifiedWordsPhrases_, &QPushButton::clicked, this, [this] { Finish(1); });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] { Finish(-1); });
  connect(cmdSetParameters_, &QPushButton::clicked, this, [this] {
    Finish(-1);
    if (onGoToSettings) onGoToSettings();
  });
  connect(chkFileList_, &QCheckBox::clicked, this, [this](bool on) {
    if (onFileList) onFileList(on);
  });
  // The close box and Esc count as Cancel.
  connect(this, &QDialog::rejected, this, [this] {
    if (choice_ < 0) blnCancel = true;
  });
}

void CountChooser::Prepare(const std::string& intro, const std::vector<std::string>& options,
                           bool fileListChecked, bool fileListEnabled) {
  blnCancel = true;
  blnCountAllWords = false;
  blnCountSpecifiedWordsPhrases = false;
  choice_ = -1;
  lblIntro_->setText(Q(intro));
  cmdCountSpecifiedWordsPhrases_->setVisible(options.size() > 1);
  chkFileList_->setChecked(fileListChecked);
  chkFileList_->setEnabled(fileListEnabled);
  (options.size() > 1 ? cmdCountSpecifiedWordsPhrases_ : cmdCountAllWords_)->setDefault(true);
  (options.size() > 1 ? cmdCountSpecifiedWordsPhrases_ : cmdCountAllWords_)->setFocus();
}

int CountChooser::Ask(const std::string& intro, const std::vector<std::string>& options,
                      bool fileListChecked, bool fileListEnabled) {
  Prepare(intro, options, fileListChecked, fileListEnabled);
  exec();
  return choice_;
}

void CountChooser::Finish(int choice) {
  choice_ = choice;
  blnCancel = choice < 0;
  blnCountAllWords = choice == 0;
  blnCountSpecifiedWordsPhrases = choice == 1;
  if (choice < 0)
    reject();
  else
    accept();
}

}  // namespace talq::ui
