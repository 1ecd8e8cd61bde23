// Settings window: its groups, their bindings and its commands.
#include "ui/settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "lists/list_history.h"
#include "lists/word_lists.h"
#include "run/counting_run.h"
#include "run/saved_state.h"
#include "run/session.h"
#include "run/setting_changes.h"
#include "settings/defaults.h"
#include "settings/setting_fields.h"
#include "ui/load_remove_dialog.h"
#include "ui/main_window.h"
#include "ui/mnemonics.h"
#include "ui/popup.h"
#include "ui/qt_host.h"
#include "ui/widgets.h"
#include "util/program_texts.h"

namespace talq::ui {

namespace {

QString Indexed(const char* name, int index) { return QString("%1(%2)").arg(name).arg(index); }

QGroupBox* MakeGroup(QWidget* parent, const QString& name, const QString& title) {
  auto* g = new QGroupBox(title, parent);
  g->setObjectName(name);
  g->setAccessibleName(title);
  g->setAccessibleDescription(name);
  return g;
}

// The combo box of a file history: wide enough for a path's tail, never as wide as the path.
QComboBox* MakeHistoryCombo(QWidget* parent, const QString& name, const QString& accessibleName,
                            const QString& tooltip) {
  QComboBox* c = MakeCombo(parent, name, accessibleName);
  c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c->setMinimumContentsLength(28);
  c->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  c->setToolTip(tooltip);
  return c;
}

const char* const kListButtonCaption[2] = {"Words-to-ignore files", "Count-only words/phrases files"};

}  // namespace

SettingsWindow::SettingsWindow(Session& session, QWidget* mainWindow)
    : QDialog(mainWindow), session_(session) {
  setObjectName("frmParams");
  setWindowTitle(Q(ProgramText(91)));

  auto* body = body_ = new QWidget;
  auto* grid = new QGridLayout(body);
  auto* left = new QVBoxLayout;
  left->addWidget(fraAllowWordsWith_ = BuildWordCharacters());
  left->addWidget(fraAlso_ = BuildAlso());
  left->addWidget(fraIgnoreWords_ = BuildIgnoreWords());
  left->addStretch();
  auto* middle = new QVBoxLayout;
  middle->addWidget(fraWordList_[0] = BuildWordList(0));
  middle->addWidget(fraWordList_[1] = BuildWordList(1));
  middle->addWidget(fraPatternMatching_ = BuildPatternMatching());
  middle->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(fraPhraseBoundaries_ = BuildPhraseBoundaries());
  right->addWidget(fraCommentMarkers_ = BuildCommentMarkers());
  right->addWidget(fraOptions_ = BuildOptions());
  right->addWidget(fraSettingsFiles_ = BuildSettingsFiles());
  right->addStretch();
  grid->addLayout(left, 0, 0);
  grid->addLayout(middle, 0, 1);
  grid->addLayout(right, 0, 2);
  grid->setColumnStretch(1, 1);

  cmdRestoreDefaults_ = MakeButton(this, "cmdRestoreDefaults", "Restore defaults", 'd');
  cmdSetOrClearCheckboxes_[1] =
      MakeButton(this, "cmdSetOrClearCheckboxes(1)", "Check all checkboxes", 'k');
  cmdSetOrClearCheckboxes_[0] =
      MakeButton(this, "cmdSetOrClearCheckboxes(0)", "Clear all checkboxes", 'e');
  cmdClose_ = MakeButton(this, "cmdClose", "Hide settings", 'h');
  auto* buttons = new QHBoxLayout;
  buttons_ = buttons;
  buttons->addWidget(cmdRestoreDefaults_);
  buttons->addWidget(cmdSetOrClearCheckboxes_[1]);
  buttons->addWidget(cmdSetOrClearCheckboxes_[0]);
  buttons->addStretch();
  buttons->addWidget(cmdClose_);

  // A small screen still reaches every control.
  auto* scroll = new QScrollArea;
  scroll->setWidget(body);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll);
  layout->addLayout(buttons);

  if (MainWindow* main = Main())
    main->host().loadRemoveChooser = [this](const std::string& path, int) {
      return AskLoadOrRemove(chosenHistory_, Q(path));
    };
  binding_.Bind(this, session_.settings,
                [this](const FieldInfo& f, int entry) { FieldChanged(f, entry); });
  ConnectCommands();
  findChild<QCheckBox*>("chkUseLog10")->hide();
  session_.settings.chkUseLog10 = 1;
  lblState_->clear();
  txbStateFile_->hide();
  Pull();

  // Sized to show every group without scrolling where the screen allows.
  const QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
  const QSize want = FullSize();
  const QSize room = screen ? screen->availableGeometry().size() * 0.95 : want;
  resize(want.boundedTo(room));
}

QSize SettingsWindow::FullSize() const {
  const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
  return body_->sizeHint() +
         QSize(4 * margin, buttons_->sizeHint().height() + 6 * margin);
}

SettingsWindow::~SettingsWindow() {
  if (MainWindow* main = Main()) main->host().loadRemoveChooser = nullptr;
}

QGroupBox* SettingsWindow::BuildWordCharacters() {
  QGroupBox* g = MakeGroup(this, "fraAllowWordsWith", "Allow 'words' with:");
  auto* grid = new QGridLayout(g);
  const std::pair<const char*, const char*> checks[] = {
      {"chkAllowWordsWithHyphens", "hyphen -"},
      {"chkAllowWordsWithApostrophes", "apostrophe '"},
      {"chkAllowWordsWithUnderscores", "underscore _"},
      {"chkAllowWordsWithColons", "colon :"},
      {"chkAllowWordsWithBackslashes", "backslash \\"},
      {"chkAllowWordsWithForwardslashes", "forward slash /"},
      {"chkAllowWordsWithParentheses", "parentheses ( )"},
      {"chkAllowWordsWithAmpersands", "ampersand &&"},
      {"chkAllowWordsWithPeriods", "period ."},
      {"chkAllowWordsWithCommas", "comma ,"},
      {"chkAllowWordsWithAtSigns", "at-sign @"},
      {"chkAllowWordsWithNumerals", "numerals 123"},
  };
  int i = 0;
  for (const auto& [name, caption] : checks) {
    QCheckBox* c = MakeCheck(g, name, caption);
    c->setAccessibleName(CaptionWithoutMnemonic(caption));
    grid->addWidget(c, i % 6, i / 6);
    ++i;
  }
  QCheckBox* anyOf = MakeCheck(g, "chkAllowWordsWithUserSpecifiedExtraChars", "any of:");
  QLineEdit* extra = MakeLineEdit(g, "txbUserSpecifiedExtraChars", "any of:");
  extra->setToolTip(
      "Up to 5 extra admissible characters, excluding those given above and alphabetic "
      "characters.");
  extra->setMaxLength(10);
  grid->addWidget(anyOf, 6, 0);
  grid->addWidget(extra, 6, 1);
  return g;
}

QGroupBox* SettingsWindow::BuildAlso() {
  QGroupBox* g = MakeGroup(this, "fraAlso", "Also:");
  auto* v = new QVBoxLayout(g);
  v->addWidget(MakeCheck(g, "chkCaseSignificant", "Upper/lower case significant"));
  v->addWidget(MakeCheck(g, "chkDropFinalS", "Combine singular/plural English words"));
  v->addWidget(MakeCheck(g, "chkOnly7bitASCII", "Allow only 7-bit ASCII characters"));
  return g;
}

QGroupBox* SettingsWindow::BuildIgnoreWords() {
  QGroupBox* g = MakeGroup(this, "fraIgnoreWords", "Ignore words:");
  auto* grid = new QGridLayout(g);
  const QString noPhrases = "This checkbox does not affect counting of phrases.";
  auto row = [&](int r, QWidget* lead, const char* combo, const QString& what, QLabel* unit) {
    grid->addWidget(lead, r, 0);
    grid->addWidget(MakeCombo(g, combo, "Ignore words " + what), r, 1);
    grid->addWidget(unit, r, 2);
  };
  row(0, MakeCheck(g, "chkIgnoreShortWords", "with fewer than"), "cboShortWordSize",
      "with fewer than this many characters", MakeLabel(g, "lblShortWordSize", "characters"));
  row(1, MakeLabel(g, "lblLongWordSizeBefore", "with more than"), "cboLongWordSize",
      "with more than this many characters", MakeLabel(g, "lblLongWordSize", "characters"));
  QCheckBox* infrequent = MakeCheck(g, "chkIgnoreInfrequentWords", "with fewer than");
  infrequent->setToolTip(noPhrases);
  row(2, infrequent, "cboThresholdFrequency", "with fewer than this many occurrences",
      MakeLabel(g, "lblThresholdFrequency", "occurrences"));
  QCheckBox* frequent = MakeCheck(g, "chkIgnoreExcessivelyFrequentWords", "with more than");
  frequent->setToolTip(noPhrases);
  lblExcessFrequency_ = MakeLabel(g, "lblExcessFrequency", "occurrences");
  row(3, frequent, "cboExcessFrequency", "with more than this many occurrences",
      lblExcessFrequency_);
  grid->addWidget(MakeCheck(g, "chkIgnoreNoLetter", "which lack a letter"), 4, 0, 1, 3);
  grid->addWidget(
      MakeCheck(g, "chkIgnoreRepetitions", "containing 4 repetitions of a letter"), 5, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  return g;
}

QGroupBox* SettingsWindow::BuildWordList(int index) {
  const bool ignore = index == kWordsToIgnore;
  QGroupBox* g = MakeGroup(this, ignore ? "fraWordsToIgnore" : "fraCountOnly",
                           ignore ? "Words to ignore" : "Count-only words/phrases");
  auto* grid = new QGridLayout(g);
  int r = 0;
  if (ignore) {
    QComboBox* languages = MakeCombo(g, "cboCommonWordsLanguages", "Ignore common words in:");
    auto* label = MakeLabel(g, "lblCommonWordsLanguages");
    SetBuddy(label, languages, "I&gnore common words in:");
    grid->addWidget(label, r, 0);
    grid->addWidget(languages, r++, 1, 1, 2, Qt::AlignLeft);
  }
  cmdSelectWordsFile_[index] = MakeButton(
      g, Indexed("cmdSelectWordsFile", index), QString(kListButtonCaption[index]) + " (0)",
      ignore ? 'w' : 'o',
      ignore ? "Click here to specify one or more files containing words (not phrases) which "
               "should be ignored."
             : "Click here to specify one or more files containing words or phrases which are "
               "to be counted.  All other words and phrases are ignored.");
  grid->addWidget(cmdSelectWordsFile_[index], r, 0, 1, 2, Qt::AlignLeft);
  if (!ignore) grid->addWidget(MakeButton(g, "cmdListCountOnlyWords", "List", 't'), r, 2);
  ++r;
  QComboBox* history = MakeHistoryCombo(
      g, Indexed("cboWordsFile", index), ignore ? "Words-to-ignore files" : "Count-only words/phrases files",
      ignore ? "To specify (or add) a file containing words to ignore, click on the button "
               "labelled 'Words-to-ignore files'."
             : "To specify (or add) a file containing words or phrases to be counted, click on "
               "the button labelled 'Count-only words/phrases files'.");
  grid->addWidget(history, r, 0, 1, 2);
  QPushButton* clearFiles = MakeButton(g, Indexed("cmdClearWordsFile", index), "Clear");
  clearFiles->setAccessibleName(ignore ? "Clear words-to-ignore files"
                                       : "Clear count-only words/phrases files");
  grid->addWidget(clearFiles, r++, 2);

  const QString caption = ignore ? "E&xtra words to ignore:" : "Extra count-only words/&phrases:";
  QLineEdit* extra = MakeLineEdit(g, Indexed("txbWordsToIgnoreOrCount", index),
                                  CaptionWithoutMnemonic(caption));
  if (ignore)
    extra->setToolTip(
        "Extra words to ignore (not phrases) may be added here. Spaces (not commas) should be "
        "used to separate them.  Case is not significant.");
  auto* label = MakeLabel(g, Indexed("lblWordsToIgnoreOrCount", index));
  SetBuddy(label, extra, caption);
  grid->addWidget(label, r++, 0, 1, 3);
  grid->addWidget(extra, r, 0, 1, 2);
  QPushButton* clearExtra = MakeButton(g, Indexed("cmdClearWordsToIgnoreOrCount", index), "Clear");
  clearExtra->setAccessibleName(ignore ? "Clear extra words to ignore"
                                       : "Clear extra count-only words/phrases");
  grid->addWidget(clearExtra, r, 2);
  grid->setColumnStretch(1, 1);
  return g;
}

QGroupBox* SettingsWindow::BuildPatternMatching() {
  QGroupBox* g = MakeGroup(this, "fraPatternMatching", "Enable pattern matching for:");
  auto* v = new QVBoxLayout(g);
  v->addWidget(MakeCheck(g, "chkPatternMatchingInWordsToIgnoreFile", "Words-to-ignore file"));
  v->addWidget(
      MakeCheck(g, "chkPatternMatchingInCountOnlyWordsFile", "Count-only words/phrases file"));
  return g;
}

QGroupBox* SettingsWindow::BuildPhraseBoundaries() {
  QGroupBox* g = MakeGroup(this, "fraPhraseBoundaries", "A phrase must not go beyond:");
  auto* v = new QVBoxLayout(g);
  v->addWidget(MakeCheck(g, "chkTerminatePhraseAtEndOfLine", "end of line"));
  v->addWidget(MakeCheck(g, "chkTerminatePhraseAtPeriod", "period ."));
  // All three closing quotes end a phrase, and the caption says so.
  v->addWidget(MakeCheck(g, "chkTerminatePhraseAtDoubleQuote",
                         QString("end double quote \" ") + QChar(0x201D) + " " + QChar(0x00BB)));
  v->addWidget(MakeCheck(g, "chkTerminatePhraseAtTab", "tab"));
  v->addWidget(MakeCheck(g, "chkTerminatePhraseAtComma", "comma"));
  return g;
}

QGroupBox* SettingsWindow::BuildCommentMarkers() {
  QGroupBox* g = MakeGroup(this, "fraCommentMarkers", "Comment markers");
  auto* grid = new QGridLayout(g);
  grid->addWidget(MakeCheck(g, "chkAllowCommentMarkers", "Allow comment markers:"), 0, 0, 2, 1,
                  Qt::AlignTop);
  grid->addWidget(MakeLabel(g, "lblBlockComment", "block:   /* ... */"), 0, 1);
  grid->addWidget(MakeLabel(g, "lblLineComment", "line:    // ..."), 1, 1);
  grid->setColumnStretch(2, 1);
  return g;
}

QGroupBox* SettingsWindow::BuildOptions() {
  QGroupBox* g = MakeGroup(this, "fraOptions", "Options");
  auto* v = new QVBoxLayout(g);
  v->addWidget(MakeCheck(
      g, "chkExtractTextFromDocx", "Extract text from docx files", QChar(),
      "If checked then text extracted from .docx files will be written to files in an "
      "'extracted_text' subfolder."));
  v->addWidget(MakeCheck(g, "chkSaveStateOnQuit", "Save settings when quitting"));
  v->addWidget(MakeCheck(g, "chkOutputWithCommas", "Include commas in output file"));
  v->addWidget(MakeCheck(g, "chkWarnOnOverwrite", "Warn on overwrite of output file"));
  v->addWidget(MakeCheck(g, "chkUseLog10", "Use log base 10 for Zipf data"));
  return g;
}

QGroupBox* SettingsWindow::BuildSettingsFiles() {
  QGroupBox* g = MakeGroup(this, "fraSettingsFiles", "Settings files");
  auto* grid = new QGridLayout(g);
  cmdQuit_ = MakeButton(g, "cmdQuit", "Quit", 'q');
  cmdSaveState_ = MakeButton(g, "cmdSaveState", "Save settings", 'v');
  cmdInitialize_ = MakeButton(g, "cmdInitialize", "Reinitialize", 'r');
  cmdSaveLoadState_[1] = MakeButton(g, "cmdSaveLoadState(1)", "Load settings from file", 'l');
  cmdSaveLoadState_[0] = MakeButton(g, "cmdSaveLoadState(0)", "Save settings to file", 'f');
  grid->addWidget(cmdSaveState_, 0, 0);
  grid->addWidget(cmdInitialize_, 0, 1);
  grid->addWidget(cmdSaveLoadState_[1], 1, 0);
  grid->addWidget(cmdSaveLoadState_[0], 1, 1);
  grid->addWidget(cmdQuit_, 2, 0);
  lblState_ = MakeLabel(g, "lblState");
  txbStateFile_ = MakeLineEdit(g, "txbStateFile", "Settings file");
  txbStateFile_->setReadOnly(true);
  grid->addWidget(lblState_, 3, 0, 1, 2);
  grid->addWidget(txbStateFile_, 4, 0, 1, 2);
  return g;
}

void SettingsWindow::ConnectCommands() {
  Session& s = session_;
  connect(cmdClose_, &QPushButton::clicked, this, [this] {
    hide();
    if (MainWindow* main = Main()) {
      main->activateWindow();
      main->SetTheFocus();
    }
  });
  connect(cmdQuit_, &QPushButton::clicked, this, [this] {
    if (session_.host.MsgBox("Really quit?", "Quit", MsgIcon::Question, MsgButtons::YesNo,
                             MsgAnswer::Yes) != MsgAnswer::Yes)
      return;
    if (MainWindow* main = Main()) main->close();
  });
  connect(cmdSaveState_, &QPushButton::clicked, this, [this] {
    if (cmdSaveState_Click(session_)) ShowNotice(cmdSaveState_, Q(ProgramText(50)), 2350);
  });
  connect(cmdInitialize_, &QPushButton::clicked, this, [this] {
    if (MainWindow* main = Main()) main->Initialize();
    else Initialize(session_.settings, &session_.host);
    Pull();
    ShowNotice(cmdInitialize_, "Program reinitialized", 2400);
    txbStateFile_->hide();
    lblState_->clear();
  });
  connect(cmdSaveLoadState_[0], &QPushButton::clicked, this, [this] {
    SaveSettingsToFile(session_);
    Pull();
    ShowCentred();
  });
  connect(cmdSaveLoadState_[1], &QPushButton::clicked, this, [this] {
    LoadSettingsFromFile(session_);
    if (MainWindow* main = Main()) main->SyncFromSettings();
    AfterListChange();
    ShowCentred();
  });
  connect(cmdRestoreDefaults_, &QPushButton::clicked, this, [this] {
    SetDefaultValues(session_.settings);
    Pull();
    if (cmdClose_->isVisible()) cmdClose_->setFocus();
  });
  for (int set = 0; set < 2; ++set)
    connect(cmdSetOrClearCheckboxes_[set], &QPushButton::clicked, this, [this, set] {
      SetOrClearCheckboxes(session_, set == 1);
      Pull();
    });

  for (int i = 0; i < 2; ++i) {
    connect(cmdSelectWordsFile_[i], &QPushButton::clicked, this, [this, i] {
      WithButtonsOff([this, i] { AddListFile(session_, i); });
    });
    connect(findChild<QPushButton*>(Indexed("cmdClearWordsFile", i)), &QPushButton::clicked,
            this, [this, i] {
              ClearHistory(session_, i);
              AfterListChange();
            });
    connect(findChild<QPushButton*>(Indexed("cmdClearWordsToIgnoreOrCount", i)),
            &QPushButton::clicked, this, [this, i] {
              session_.settings.txbWordsToIgnoreOrCount[i].clear();
              LeaveExtraWordsBox(session_, i);
              AfterListChange();
              cmdClose_->setFocus();
            });
  }
  connect(findChild<QPushButton*>("cmdListCountOnlyWords"), &QPushButton::clicked, this,
          [&s] { ListButton(s); });
}

void SettingsWindow::FieldChanged(const FieldInfo& field, int entry) {
  Session& s = session_;
  const std::string& name = field.name;
  if (s.settings.blnRestoring) return;
  switch (field.type) {
    case FieldType::Check:
      CheckFieldClicked(s, name);
      break;
    case FieldType::Choice:
      if (name == "cboCommonWordsLanguages")
        WithButtonsOff([&s, entry] { ChooseCommonWordsLanguage(s, entry); });
      break;
    case FieldType::History:
      for (int i = 0; i < 2; ++i)
        if (name == Indexed("cboWordsFile", i).toStdString()) {
          chosenHistory_ = i;
          WithButtonsOff([&s, i, entry] { ChooseHistoryFile(s, i, entry); });
        }
      break;
    case FieldType::Text:
      if (name == "txbUserSpecifiedExtraChars") CleanUpUserSpecifiedExtraChars(s.settings, s.host);
      for (int i = 0; i < 2; ++i)
        if (name == Indexed("txbWordsToIgnoreOrCount", i).toStdString()) {
          LeaveExtraWordsBox(s, i);
          AfterListChange();
        }
      break;
    case FieldType::Option:
      break;
  }
  Pull();
}

template <typename F>
void SettingsWindow::WithButtonsOff(F&& step) {
  MainWindow* main = Main();
  if (main) main->EnableDisableButtons(false);
  step();
  if (main) main->EnableDisableButtons(true);
  AfterListChange();
}

void SettingsWindow::AfterListChange() {
  SetCountWordsCaption(session_);
  Pull();
}

void SettingsWindow::SetToolTipText() {
  findChild<QLineEdit*>("txbWordsToIgnoreOrCount(1)")
      ->setToolTip(Q(CountOnlyBoxToolTip(session_.settings)));
}

void SettingsWindow::Pull() {
  const Settings& st = session_.settings;
  binding_.Pull();
  SetToolTipText();
  for (int i = 0; i < 2; ++i)
    SetCaptionWithMnemonic(cmdSelectWordsFile_[i],
                           QString("%1 (%2)").arg(kListButtonCaption[i]).arg(
                               st.cboWordsFile[i].items.size()));
  lblExcessFrequency_->setText(st.cboExcessFrequency == 0 ? "occurrence" : "occurrences");
  txbStateFile_->setVisible(!st.txbStateFile.empty());
}

void SettingsWindow::ShowCentred() {
  const QScreen* screen = Main() ? Main()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  raise();
  activateWindow();
  cmdClose_->setFocus();
}

void SettingsWindow::SetGroupsEnabled(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           fraAllowWordsWith_, fraAlso_, fraIgnoreWords_, fraWordList_[0], fraWordList_[1],
           fraCommentMarkers_, fraOptions_, fraSettingsFiles_, cmdSetOrClearCheckboxes_[0],
           cmdSetOrClearCheckboxes_[1], cmdRestoreDefaults_})
    w->setEnabled(enabled);
}

int SettingsWindow::AskLoadOrRemove(int index, const QString& path) {
  // Parentless: its "lblFile" must not be taken for the main window's label of that name.
  if (!loadRemove_) loadRemove_ = std::make_unique<LoadRemoveDialog>();
  const auto* history = findChild<QComboBox*>(Indexed("cboWordsFile", index));
  const QPoint beside = history->mapToGlobal(QPoint(history->width() / 3, history->height()));
  return loadRemove_->Ask(path, beside);
}

void SettingsWindow::ShowNotice(QWidget* at, const QString& text, int widthTwips) {
  if (MainWindow* main = Main()) main->popUp().PopUpAt(text, widthTwips, 300, 2000, at->mapToGlobal(QPoint(0, 0)));
}

MainWindow* SettingsWindow::Main() const { return qobject_cast<MainWindow*>(parentWidget()); }

}  // namespace talq::ui
