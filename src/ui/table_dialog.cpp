// Spreadsheet-table dialog.
#include "ui/table_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/settings.h"
#include "ui/widgets.h"

namespace talq::ui {

namespace {
const char* const kIntro =
    "This program can be used to create a tab-delimited text file which can be read into Excel.  "
    "The words/phrases to be counted are to be specified in the 'Settings' window as usual.  "
    "Regular expressions "
    "can be used for count-only words/phrases."
    "\n\n"
    "The Excel file shows a table with words/phrases down the left side and file indices "
    "(pointers to the file paths) "
    "across the top.  You can choose to have one table with the words/phrases ordered either "
    "alphabetically or by frequency, "
    "or two tables (the first with alphabetical ordering, the second by frequency).  You can "
    "also choose whether a cell "
    "(showing the count for a particular word/phrase) should be left blank if the count is zero.";
}  // namespace

TableDialog::TableDialog(Settings& settings, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      optAlphabetical_(MakeOption(this, "optAlphabetical",
                                  "One table, words/phrases listed in alphabetical order", 'a')),
      optByFrequency_(MakeOption(this, "optByFrequency",
                                 "One table, words/phrases listed by frequency", 'f')),
      optBoth_(MakeOption(this, "optBoth", "Two tables, alphabetical followed by frequency", 't')),
      chkZeroCellsBlank_(MakeCheck(this, "chkZeroCellsBlank", "Leave cell blank if count is zero",
                                   'b')),
      chkWriteRelativeFrequency_(MakeCheck(
          this, "chkWriteRelativeFrequency",
          "Write relative frequency instead of absolute frequency", 'r',
          "'Relative frequency' is explained in 'Creation of an Excel File with a Table of "
          "Words/Phrases vs Files' in the online user manual.")),
      cmdCreateFile_(MakeButton(this, "cmdCreateFile", "Create Excel file", 'e')),
      cmdSetParameters_(MakeButton(this, "cmdSetParameters", "Go to 'Settings'", 'g')),
      cmdCancel_(MakeButton(this, "cmdCancel", "Cancel", 'c')) {
  setObjectName("frmCountArray");
  setWindowTitle("Words/files table for spreadsheet");
  setModal(true);
  auto* intro = MakeLabel(this, "lblIntro", kIntro);
  intro->setWordWrap(true);
  intro->setMinimumWidth(Twips(this, 7000));
  auto* options = new QGroupBox("Options", this);
  options->setObjectName("fraOptions");
  auto* ol = new QVBoxLayout(options);
  for (QWidget* w : {static_cast<QWidget*>(optAlphabetical_), static_cast<QWidget*>(optByFrequency_),
                     static_cast<QWidget*>(optBoth_), static_cast<QWidget*>(chkZeroCellsBlank_),
                     static_cast<QWidget*>(chkWriteRelativeFrequency_)})
    ol->addWidget(w);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdCreateFile_);
  buttons->addStretch();
  buttons->addWidget(cmdSetParameters_);
  buttons->addWidget(cmdCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(options);
  layout->addLayout(buttons);
  cmdCreateFile_->setDefault(true);

  const std::pair<QRadioButton*, TableLayout> layouts[] = {
      {optAlphabetical_, TableLayout::optAlphabetical},
      {optByFrequency_, TableLayout::optByFrequency},
      {optBoth_, TableLayout::optBoth}};
  for (const auto& [button, value] : layouts) {
    connect(button, &QRadioButton::clicked, this, [this, value = value] {
      settings_.tableLayout = value;
      FocusCancel();
    });
  }
  bind_.Custom(this, [this] {
    optAlphabetical_->setChecked(settings_.tableLayout == TableLayout::optAlphabetical);
    optByFrequency_->setChecked(settings_.tableLayout == TableLayout::optByFrequency);
    optBoth_->setChecked(settings_.tableLayout == TableLayout::optBoth);
  });
  bind_.Check(chkZeroCellsBlank_, settings_.chkZeroCellsBlank, [this] { FocusCancel(); });
  bind_.Check(chkWriteRelativeFrequency_, settings_.chkWriteRelativeFrequency);

  connect(cmdCreateFile_, &QPushButton::clicked, this, [this] {
    blnCancel = false;
    accept();
  });
  connect(cmdCancel_, &QPushButton::clicked, this, [this] {
    blnCancel = true;
    reject();
  });
  connect(cmdSetParameters_, &QPushButton::clicked, this, [this] {
    blnCancel = true;
    reject();
    if (onGoToSettings) onGoToSettings();
  });
}

void TableDialog::Open() {
  blnCancel = true;
  bind_.Pull();
  open();
  cmdCreateFile_->setFocus();
}

bool TableDialog::Exec() {
  blnCancel = true;
  bind_.Pull();
  cmdCreateFile_->setFocus();
  exec();
  return !blnCancel;
}

void TableDialog::FocusCancel() {
  if (isVisible()) cmdCancel_->setFocus();
}

void TableDialog::closeEvent(QCloseEvent* event) {
  blnCancel = true;
  QDialog::closeEvent(event);
}

}  // namespace talq::ui
