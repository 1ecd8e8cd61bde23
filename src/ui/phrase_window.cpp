// Phrase window.
#include "ui/phrase_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "settings/setting_choices.h"
#include "settings/settings.h"
#include "ui/qt_host.h"
#include "ui/widgets.h"
#include "util/program_texts.h"

namespace talq::ui {

namespace {

const char* const kHandlingNames[4] = {"optAllowPhrasesAllWordsToIgnore",
                                       "optExcludePhrasesAllWordsToIgnore",
                                       "optRemoveWordsToIgnore",
                                       "optExcludePhrasesWithWordToIgnore"};
const char* const kHandlingCaptions[4] = {"Allow phrases consisting entirely of words to ignore",
                                          "Exclude phrases consisting entirely of words to ignore",
                                          "Remove words to ignore from phrases",
                                          "Exclude phrases containing a word to ignore"};
const char kHandlingKeys[4] = {'a', 'e', 'r', 'x'};

void Fill(QComboBox* combo, const std::vector<std::string>& items) {
  for (const std::string& item : items) combo->addItem(Q(item));
}

}  // namespace

PhraseWindow::PhraseWindow(Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName("frmCountAllPhrases");
  setWindowTitle("Count all phrases");
  setModal(true);

  lblIntro_ = MakeLabel(this, "lblIntro");
  lblIntro_->setWordWrap(true);
  lblIntro_->setMinimumWidth(Twips(this, 6500));
  lblWordsToIgnore_ = MakeLabel(this, "lblWordsToIgnore");
  lblWordsToIgnore_->setWordWrap(true);

  auto* form = new QFormLayout;
  const char* lengthCaptions[2] = {"Mi&nimum number of words in phrase:",
                                   "Maxim&um number of words in phrase:"};
  for (int i = 0; i < 2; ++i) {
    const QString name = QString("cboPhraseLength(%1)").arg(i);
    cboPhraseLength_[i] = MakeCombo(this, name, QString());
    Fill(cboPhraseLength_[i], PhraseLengthChoices());
    auto* label = MakeLabel(this, QString("lblPhraseLength(%1)").arg(i));
    SetBuddy(label, cboPhraseLength_[i], lengthCaptions[i]);
    form->addRow(label, cboPhraseLength_[i]);
    bind_.Choice(cboPhraseLength_[i], settings_.cboPhraseLength[i], [this] { FocusCountPhrases(); });
  }
  cboMinimumFrequency_ = MakeCombo(this, "cboMinimumFrequency", QString());
  Fill(cboMinimumFrequency_, MinimumFrequencyChoices());
  auto* minLabel = MakeLabel(this, "lblMinimumFrequency");
  SetBuddy(minLabel, cboMinimumFrequency_, "Minimum number of &occurrences:");
  form->addRow(minLabel, cboMinimumFrequency_);
  bind_.Choice(cboMinimumFrequency_, settings_.cboMinimumFrequency, [this] { FocusCountPhrases(); });

  fraWordsToIgnore_ = new QGroupBox("Words to ignore", this);
  fraWordsToIgnore_->setObjectName("fraWordsToIgnore");
  auto* wl = new QVBoxLayout(fraWordsToIgnore_);
  for (int i = 0; i < 4; ++i) {
    optHandling_[i] = MakeOption(this, kHandlingNames[i], kHandlingCaptions[i], kHandlingKeys[i]);
    wl->addWidget(optHandling_[i]);
    connect(optHandling_[i], &QRadioButton::clicked, this, [this, i] {
      settings_.wordsToIgnoreHandling = static_cast<WordsToIgnoreHandling>(i);
      UpdateFilterControls();
    });
  }
  bind_.Custom(fraWordsToIgnore_, [this] {
    optHandling_[static_cast<int>(settings_.wordsToIgnoreHandling)]->setChecked(true);
  });

  cmdCountPhrases_ = MakeButton(this, "cmdCountPhrases", "Count phrases", 'p');

  fraFilter_ = new QGroupBox("Filter results", this);
  fraFilter_->setObjectName("fraFilter");
  txbFilterWords_ = MakeLineEdit(this, "txbFilterWords", "Filter words");
  txbFilterWords_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  cmdClear_ = MakeButton(this, "cmdClear", "Clear", 'l');
  optIncludeAllWords_ = MakeOption(this, "optIncludeAllWords", "All words below included", 'w');
  optIncludeAllWordsInSameOrder_ =
      MakeOption(this, "optIncludeAllWordsInSameOrder", "in same order", 'i');
  optIncludeAllWordsAsSubphrase_ =
      MakeOption(this, "optIncludeAllWordsAsSubphrase", "as subphrase", 'b');
  cmdFilterResults_ = MakeButton(this, "cmdFilterResults", "Filter results", 'f');
  auto* fl = new QGridLayout(fraFilter_);
  fl->addWidget(optIncludeAllWords_, 0, 0);
  fl->addWidget(optIncludeAllWordsInSameOrder_, 0, 1);
  fl->addWidget(optIncludeAllWordsAsSubphrase_, 0, 2);
  fl->addWidget(txbFilterWords_, 1, 0, 1, 2);
  fl->addWidget(cmdClear_, 1, 2);
  fl->addWidget(MakeLabel(this, "lblCaseNote", "Case is not significant."), 2, 0, 1, 2);
  fl->addWidget(cmdFilterResults_, 2, 2);
  const std::pair<QRadioButton*, FilterMode> modes[] = {
      {optIncludeAllWords_, FilterMode::optIncludeAllWords},
      {optIncludeAllWordsInSameOrder_, FilterMode::optIncludeAllWordsInSameOrder},
      {optIncludeAllWordsAsSubphrase_, FilterMode::optIncludeAllWordsAsSubphrase}};
  for (const auto& [button, mode] : modes)
    connect(button, &QRadioButton::clicked, this, [this, mode = mode] { settings_.filterMode = mode; });
  bind_.Custom(fraFilter_, [this] {
    // No option checked is a state of its own: exclusive groups cannot show it otherwise.
    for (QRadioButton* b : {optIncludeAllWords_, optIncludeAllWordsInSameOrder_,
                            optIncludeAllWordsAsSubphrase_}) {
      b->setAutoExclusive(false);
      b->setChecked(false);
      b->setAutoExclusive(true);
    }
    switch (settings_.filterMode) {
      case FilterMode::optIncludeAllWords: optIncludeAllWords_->setChecked(true); break;
      case FilterMode::optIncludeAllWordsInSameOrder:
        optIncludeAllWordsInSameOrder_->setChecked(true);
        break;
      case FilterMode::optIncludeAllWordsAsSubphrase:
        optIncludeAllWordsAsSubphrase_->setChecked(true);
        break;
      case FilterMode::None: break;
    }
  });
  bind_.Text(txbFilterWords_, settings_.txbFilterWords,
             [this] { cmdClear_->setEnabled(!txbFilterWords_->text().isEmpty()); });
  connect(txbFilterWords_, &QLineEdit::editingFinished, this, [this] { TakeFilterWords(); });
  // Enter ends the entry; it must not reach the dialog's default button ("Count phrases").
  txbFilterWords_->installEventFilter(this);
  connect(cmdClear_, &QPushButton::clicked, this, [this] {
    txbFilterWords_->clear();
    settings_.txbFilterWords.clear();
    txbFilterWords_->setFocus();
    cmdClear_->setEnabled(false);
  });

  chkFileList_ = MakeCheck(this, "chkFileList", Q(ProgramText(374)), 'd');
  connect(chkFileList_, &QCheckBox::clicked, this, [this](bool on) {
    // The format changes after a short pause, so the tick is seen before the relisting.
    QTimer::singleShot(on ? 150 : 0, this, [this, on] {
      if (onFileList) onFileList(on);
      FocusCountPhrases();
    });
  });

  cmdSaveState_ = MakeButton(this, "cmdSaveState", "Save settings", 'v');
  cmdCopyToClipboard_ = MakeButton(this, "cmdCopyToClipboard", "Copy to clipboard", 'y');
  cmdSetParameters_ = MakeButton(this, "cmdSetParameters", "Go to Settings", 'g');
  cmdClose_ = MakeButton(this, "cmdClose", "Close", 'c');
  cmdQuit_ = MakeButton(this, "cmdQuit", "Quit program", 'q');

  auto* top = new QHBoxLayout;
  top->addLayout(form);
  top->addStretch();
  top->addWidget(cmdCountPhrases_, 0, Qt::AlignBottom);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {cmdSaveState_, cmdCopyToClipboard_, cmdSetParameters_}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(cmdClose_);
  buttons->addWidget(cmdQuit_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblIntro_);
  layout->addLayout(top);
  layout->addWidget(lblWordsToIgnore_);
  layout->addWidget(fraWordsToIgnore_);
  layout->addWidget(fraFilter_);
  layout->addWidget(chkFileList_);
  layout->addLayout(buttons);
  cmdCountPhrases_->setDefault(true);

  connect(cmdCountPhrases_, &QPushButton::clicked, this, [this] {
    if (onCountPhrases) onCountPhrases();
  });
  connect(cmdFilterResults_, &QPushButton::clicked, this, [this] {
    // A click does not always take the focus from the box first (a shortcut, a script).
    TakeFilterWords();
    if (onFilterResults) onFilterResults();
  });
  connect(cmdSaveState_, &QPushButton::clicked, this, [this] {
    if (onSaveSettings) onSaveSettings();
    cmdClose_->setFocus();
  });
  connect(cmdCopyToClipboard_, &QPushButton::clicked, this, [this] {
    if (onCopyToClipboard) onCopyToClipboard();
  });
  connect(cmdSetParameters_, &QPushButton::clicked, this, [this] {
    hide();
    if (onGoToSettings) onGoToSettings();
  });
  connect(cmdClose_, &QPushButton::clicked, this, [this] { CloseWindow(); });
  connect(cmdQuit_, &QPushButton::clicked, this, [this] {
    if (onQuit) onQuit();
  });
}

int PhraseWindow::intPhrasesSelected() const {
  return static_cast<int>(settings_.wordsToIgnoreHandling) + 1;
}

void PhraseWindow::Open(const Context& c) {
  blnCancel = false;
  lblIntro_->setText(
      QString("This operation counts all phrases containing a number of words within a "
              "specified range which occur at least a specified number of times.") +
      (c.countOnly ? "  It ignores the specification of count-only words/phrases in the "
                     "'Settings' window."
                   : ""));
  lblWordsToIgnore_->setText(
      c.wordsToIgnore ? "This operation uses the words-to-ignore specifications in the 'Settings' window."
                      : "No words-to-ignore are specified in the 'Settings' window.");
  for (QRadioButton* b : optHandling_) b->setEnabled(c.wordsToIgnore);
  chkFileList_->setEnabled(c.folderSource);
  chkFileList_->setChecked(c.fileListFormat);
  bind_.Pull();
  if (lastFilterWords_.empty()) lastFilterWords_ = settings_.txbFilterWords;
  UpdateFilterControls();
  open();
  cmdCountPhrases_->setFocus();
}

void PhraseWindow::UpdateFilterControls() {
  // Filtering applies to the phrases on screen, so only with the handling they were counted with.
  const bool enable = intPhrasesSelectedOnCount != 0 &&
                      intPhrasesSelected() == intPhrasesSelectedOnCount;
  if (!enable && !settings_.txbFilterWords.empty()) lastFilterWords_ = settings_.txbFilterWords;
  settings_.txbFilterWords = enable ? lastFilterWords_ : std::string();
  txbFilterWords_->setText(Q(settings_.txbFilterWords));
  txbFilterWords_->setEnabled(enable);
  cmdFilterResults_->setEnabled(enable);
  cmdClear_->setEnabled(enable && !settings_.txbFilterWords.empty());
}

void PhraseWindow::TakeFilterWords() {
  if (onFilterWordsEntered) onFilterWordsEntered();
  lastFilterWords_ = settings_.txbFilterWords;
  if (S(txbFilterWords_->text()) != settings_.txbFilterWords)
    txbFilterWords_->setText(Q(settings_.txbFilterWords));
  cmdClear_->setEnabled(!txbFilterWords_->text().isEmpty());
}

void PhraseWindow::FocusCountPhrases() {
  if (cmdCountPhrases_->isVisible() && cmdCountPhrases_->isEnabled()) cmdCountPhrases_->setFocus();
}

void PhraseWindow::CloseWindow() {
  txbFilterWords_->clear();
  settings_.txbFilterWords.clear();
  blnCancel = true;
  hide();
  setResult(QDialog::Rejected);
}

bool PhraseWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txbFilterWords_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      TakeFilterWords();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void PhraseWindow::closeEvent(QCloseEvent* event) {
  blnCancel = true;
  QDialog::closeEvent(event);
}

}  // namespace talq::ui
