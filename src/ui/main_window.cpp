// Main window: its controls, their layout and their binding to the settings record.
#include "ui/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "run/session.h"
#include "settings/setting_choices.h"
#include "ui/count_chooser.h"
#include "ui/phrase_window.h"
#include "ui/popup.h"
#include "ui/qt_host.h"
#include "ui/settings_window.h"
#include "ui/table_dialog.h"
#include "ui/text_windows.h"
#include "ui/widgets.h"
#include "util/program_texts.h"

namespace talq::ui {

namespace {

QGroupBox* Group(QWidget* parent, const QString& name, const QString& title) {
  auto* g = new QGroupBox(title, parent);
  g->setObjectName(name);
  g->setAccessibleName(title);
  return g;
}

QWidget* Row(QWidget* parent, std::initializer_list<QWidget*> widgets, int stretchAt = -1) {
  auto* w = new QWidget(parent);
  auto* l = new QHBoxLayout(w);
  l->setContentsMargins(0, 0, 0, 0);
  int i = 0;
  for (QWidget* x : widgets) l->addWidget(x, i++ == stretchAt ? 1 : 0);
  if (stretchAt < 0) l->addStretch();
  return w;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("frmMain");
  setWindowTitle(Q(ProgramText(1)) + " \u2013 " + Q(ProgramText(2)));
  setAcceptDrops(true);
  BuildControls();
  host_ = std::make_unique<QtHost>(this, txbOutput_);
  session_ = std::make_unique<Session>(*host_);
  host_->onPump = [this] { OnPump(); };
  host_->countChooser = [this](const std::string& prompt, const std::vector<std::string>& options,
                               int) {
    return countChooser().Ask(prompt, options, session_->settings.cboDisplayFormat == 11,
                              session_->settings.source == Source::optFolder);
  };
  host_->dialogs = [this](const std::string& name) {
    return name == "frmCountArray" ? tableDialog().Exec() : true;
  };
  const SettingChoices choices = FillSettingChoices(session_->settings);
  for (const std::string& c : choices.cboDisplayFormat) cboDisplayFormat_->addItem(Q(c));
  for (const std::string& c : choices.cboWordOrder) cboWordOrder_->addItem(Q(c));
  BuildLayout();
  BindControls();
  ConnectCommands();
  timer1_ = new QTimer(this);
  timer1_->setInterval(1000);
  connect(timer1_, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
}

MainWindow::~MainWindow() {
  // The dialogs hold references into the session; they go first.
  settingsWindow_.reset();
  phraseWindow_.reset();
  tableDialog_.reset();
  countChooser_.reset();
}

void MainWindow::BuildControls() {
  lblSelectSource_ = MakeLabel(this, "lblSelectSource", Q(ProgramText(19)));
  optOnClipboard_ = MakeOption(this, "optOnClipboard", "Clipboard", 'c');
  optInFile_ = MakeOption(this, "optInFile", "Single file", 'n');
  optFolder_ = MakeOption(this, "optFolder", "Folder", 'd');
  cmdFolder_ = MakeButton(this, "cmdFolder", "Folder", 'f');
  txbFolder_ = MakeLineEdit(this, "txbFolder", "Folder");
  cmdClearFolder_ = MakeButton(this, "cmdClearFolder", "Clear", 'e');
  cmdClearFolder_->setAccessibleName("Clear folder");
  chkIncludeSubfolders_ = MakeCheck(this, "chkIncludeSubfolders", "Include subfolders", 'i');
  cmdFile_[0] = MakeButton(this, "cmdFile(0)", "Single file", 'g');
  txbFile_[0] = MakeLineEdit(this, "txbFile(0)", "Single file");
  cmdClearFile_[0] = MakeButton(this, "cmdClearFile(0)", "Clear", 'e');
  cmdClearFile_[0]->setAccessibleName("Clear single file");
  cmdFile_[1] = MakeButton(this, "cmdFile(1)", "Output file", 'u');
  txbFile_[1] = MakeLineEdit(this, "txbFile(1)", "Output file");
  cmdClearFile_[1] = MakeButton(this, "cmdClearFile(1)", "Clear", 'r');
  cmdClearFile_[1]->setAccessibleName("Clear output file");
  lblScanOnlyFiles_ = MakeLabel(this, "lblScanOnlyFiles", "Scan files matching patterns:");
  lblExcludeFilepaths_ = MakeLabel(this, "lblExcludeFilepaths", "Exclude filepaths containing text:");
  txbFileFilepathSpecifications_[0] = MakeLineEdit(this, "txbFileFilepathSpecifications(0)",
                                                   "Scan files matching patterns:");
  txbFileFilepathSpecifications_[0]->setToolTip("E.g., *.txt, *.docx, a*.htm*, b*.xml");
  txbFileFilepathSpecifications_[1] = MakeLineEdit(this, "txbFileFilepathSpecifications(1)",
                                                   "Exclude filepaths containing text:");
  txbFileFilepathSpecifications_[1]->setToolTip("E.g., copy, bak");
  lblScanOnlyFiles_->setBuddy(txbFileFilepathSpecifications_[0]);
  lblExcludeFilepaths_->setBuddy(txbFileFilepathSpecifications_[1]);
  cmdListFiles_ = MakeButton(this, "cmdListFiles", "List files to be scanned", 'l');
  lblFile_ = MakeLabel(this, "lblFile");
  lblFilesize_ = MakeLabel(this, "lblFilesize");
  lblXMLsize_ = MakeLabel(this, "lblXMLsize");
  for (QLabel* l : {lblFile_, lblFilesize_, lblXMLsize_}) l->setTextInteractionFlags(Qt::TextSelectableByMouse);

  chkDisableOutputToFile_ =
      MakeCheck(this, "chkDisableOutputToFile", "Disable", 'a', "Disable output to file");
  chkDisableOutputToFile_->setAccessibleName("Disable output to file");

  cmdCountWords_ = MakeButton(this, "cmdCountWords", Q(ProgramText(21)), 'w',
                              "Count all words or count specified words/phrases");
  cmdCountAllPhrases_ = MakeButton(this, "cmdCountAllPhrases", "Count all phrases", 'p',
                                   "Count all phrases with a specified number of words");
  cmdCountArray_ = MakeButton(this, "cmdCountArray", Q(ProgramText(101)), 'k');
  cmdSetParameters_ = MakeButton(this, "cmdSetParameters", "Settings", 's',
                                 "Define what counts as a word, specify words to ignore and "
                                 "words/phrases to count");
  cmdSaveState_ = MakeButton(this, "cmdSaveState", "Save settings", 'v');
  chkSuppressWords_ = MakeCheck(this, "chkSuppressWords", "Don't display words as found.");
  chkSuppressFilenames_ = MakeCheck(this, "chkSuppressFilenames", "Don't display filenames");

  lblDisplayFormat_ = MakeLabel(this, "lblDisplayFormat");
  cboDisplayFormat_ = MakeCombo(this, "cboDisplayFormat", QString());
  SetBuddy(lblDisplayFormat_, cboDisplayFormat_, "For&mat:");
  lblWordOrder_ = MakeLabel(this, "lblWordOrder");
  cboWordOrder_ = MakeCombo(this, "cboWordOrder", QString());
  SetBuddy(lblWordOrder_, cboWordOrder_, "&Order:");
  chkDisplayRelativeFrequency_ =
      MakeCheck(this, "chkDisplayRelativeFrequency",
                "Display relative frequency instead of absolute frequency", QChar(),
                "'Relative frequency' is explained in 'Report Formats' in the online user manual.");
  chkSortByNumberOfFiles_ =
      MakeCheck(this, "chkSortByNumberOfFiles", "Sort by number of files instead of frequency");

  txbOutput_ = new QPlainTextEdit(this);
  txbOutput_->setObjectName("txbOutput");
  txbOutput_->setAccessibleName("Result");
  txbOutput_->setAccessibleDescription("txbOutput");
  txbOutput_->setReadOnly(true);
  txbOutput_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  txbOutput_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  txbOutput_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txbOutput_->setUndoRedoEnabled(false);
  txbOutput_->installEventFilter(this);
  txbOutput_->viewport()->installEventFilter(this);
  lblNumberOfWords_ = MakeLabel(this, "lblNumberOfWords");
  lblNumWordsExcluded_ = MakeLabel(this, "lblNumWordsExcluded");
  lblNumOccurrences_ = MakeLabel(this, "lblNumOccurrences");
  lblTotalNumOccurrences_ = MakeLabel(this, "lblTotalNumOccurrences");
  lblTimeElapsed_ = MakeLabel(this, "lblTimeElapsed");
  lblTwirler_ = MakeLabel(this, "lblTwirler");
  lblTwirler_->setAccessibleName("Activity");
  lblTwirler_->setMinimumWidth(lblTwirler_->fontMetrics().horizontalAdvance(QChar(0x2192)) * 2);
  for (QLabel* l : {lblNumberOfWords_, lblNumWordsExcluded_, lblNumOccurrences_,
                    lblTotalNumOccurrences_, lblTimeElapsed_})
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cmdCopyToClipboard_ = MakeButton(this, "cmdCopyToClipboard", Q(ProgramText(9)), 'y');
  cmdClearOutput_ = MakeButton(this, "cmdClearOutput", "Clear textbox", 't');

  cmdClipboardViewer_ = MakeButton(this, "cmdClipboardViewer", "View clipboard", 'b');
  cmdHelp_ = MakeButton(this, "cmdHelp", "Help", 'h');
  cmdQuit_ = MakeButton(this, "cmdQuit", "Quit", 'q');
  lblOnlineDocumentation_ = MakeLabel(this, "lblOnlineDocumentation");
  lblOnlineDocumentation_->setTextFormat(Qt::RichText);
  lblOnlineDocumentation_->setText("<a href=\"manual\">Online user manual</a>");
  lblOnlineDocumentation_->setAccessibleName("Online user manual");
  lblVelmoriaSystems_ = MakeLabel(this, "lblVelmoriaSystems");
  lblVelmoriaSystems_->setTextFormat(Qt::RichText);
  lblVelmoriaSystems_->setText("<a href=\"" + Q(ProgramText(14)).toHtmlEscaped() + "\">" +
                               Q(ProgramText(14)).toHtmlEscaped() + "</a>");
  lblVelmoriaSystems_->setAccessibleName("Publisher's web site");
  for (QLabel* l : {lblOnlineDocumentation_, lblVelmoriaSystems_}) {
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    l->setFocusPolicy(Qt::TabFocus);
  }
}

void MainWindow::BuildLayout() {
  // Source
  auto* source = Group(this, "fraSource", QString());
  auto* sl = new QVBoxLayout(source);
  lblSelectSource_->setWordWrap(true);
  sl->addWidget(lblSelectSource_);
  sl->addWidget(Row(source, {optOnClipboard_, optInFile_, optFolder_}));
  folderControls_ = new QWidget(source);
  auto* fl = new QGridLayout(folderControls_);
  fl->setContentsMargins(0, 0, 0, 0);
  fl->addWidget(cmdFolder_, 0, 0);
  fl->addWidget(txbFolder_, 0, 1);
  fl->addWidget(cmdClearFolder_, 0, 2);
  fl->addWidget(chkIncludeSubfolders_, 1, 1, 1, 2);
  fl->addWidget(lblScanOnlyFiles_, 2, 0, 1, 3);
  fl->addWidget(txbFileFilepathSpecifications_[0], 3, 0, 1, 3);
  fl->addWidget(lblExcludeFilepaths_, 4, 0, 1, 3);
  fl->addWidget(txbFileFilepathSpecifications_[1], 5, 0, 1, 3);
  fl->addWidget(cmdListFiles_, 6, 0, 1, 3, Qt::AlignLeft);
  fl->setColumnStretch(1, 1);
  sl->addWidget(folderControls_);
  fileControls_ = new QWidget(source);
  auto* il = new QGridLayout(fileControls_);
  il->setContentsMargins(0, 0, 0, 0);
  il->addWidget(cmdFile_[0], 0, 0);
  il->addWidget(txbFile_[0], 0, 1);
  il->addWidget(cmdClearFile_[0], 0, 2);
  il->addWidget(Row(fileControls_, {lblFilesize_, lblXMLsize_}), 1, 1, 1, 2);
  il->setColumnStretch(1, 1);
  sl->addWidget(fileControls_);
  lblFile_->setWordWrap(true);
  sl->addWidget(lblFile_);

  // Output file
  auto* output = Group(this, "fraOutputFile", "Output file");
  auto* ol = new QGridLayout(output);
  ol->addWidget(cmdFile_[1], 0, 0);
  ol->addWidget(txbFile_[1], 0, 1);
  ol->addWidget(cmdClearFile_[1], 0, 2);
  ol->addWidget(chkDisableOutputToFile_, 1, 1, 1, 2);
  ol->setColumnStretch(1, 1);

  // Commands
  auto* commands = Group(this, "fraCommands", "Count");
  auto* cl = new QGridLayout(commands);
  QFont big = cmdCountWords_->font();
  big.setBold(true);
  cmdCountWords_->setFont(big);
  cmdCountWords_->setMinimumHeight(cmdCountWords_->sizeHint().height() * 3 / 2);
  cl->addWidget(cmdCountWords_, 0, 0, 1, 2);
  cl->addWidget(cmdCountAllPhrases_, 1, 0);
  cl->addWidget(cmdCountArray_, 1, 1);
  cl->addWidget(chkSuppressWords_, 2, 0, 1, 2);
  cl->addWidget(chkSuppressFilenames_, 3, 0, 1, 2);
  cl->addWidget(cmdSetParameters_, 4, 0);
  cl->addWidget(cmdSaveState_, 4, 1);

  // Display
  auto* display = Group(this, "fraDisplay", "Display");
  auto* dl = new QGridLayout(display);
  dl->addWidget(lblDisplayFormat_, 0, 0);
  dl->addWidget(cboDisplayFormat_, 0, 1);
  dl->addWidget(lblWordOrder_, 1, 0);
  dl->addWidget(cboWordOrder_, 1, 1);
  dl->addWidget(chkDisplayRelativeFrequency_, 2, 0, 1, 2);
  dl->addWidget(chkSortByNumberOfFiles_, 3, 0, 1, 2);
  dl->setColumnStretch(1, 1);

  auto* links = new QHBoxLayout;
  links->addWidget(lblOnlineDocumentation_);
  links->addStretch();
  links->addWidget(lblVelmoriaSystems_);
  auto* other = new QHBoxLayout;
  other->addWidget(cmdClipboardViewer_);
  other->addWidget(cmdHelp_);
  other->addStretch();
  other->addWidget(cmdQuit_);

  auto* left = new QVBoxLayout;
  left->addWidget(source);
  left->addWidget(output);
  left->addWidget(commands);
  left->addWidget(display);
  left->addStretch();
  left->addLayout(other);
  left->addLayout(links);

  // Result
  auto* right = new QVBoxLayout;
  right->addWidget(txbOutput_, 1);
  for (QLabel* l : {lblNumberOfWords_, lblNumWordsExcluded_, lblNumOccurrences_,
                    lblTotalNumOccurrences_})
    right->addWidget(l);
  auto* status = new QHBoxLayout;
  status->addWidget(lblTimeElapsed_);
  status->addWidget(lblTwirler_);
  status->addStretch();
  status->addWidget(cmdCopyToClipboard_);
  status->addWidget(cmdClearOutput_);
  right->addLayout(status);

  auto* main = new QHBoxLayout(this);
  main->addLayout(left, 0);
  main->addLayout(right, 1);
  // Room for a report line of the wider formats without scrolling.
  txbOutput_->setMinimumWidth(txbOutput_->fontMetrics().horizontalAdvance(QString(64, 'x')));
  txbOutput_->setMinimumHeight(Twips(this, 2000));
}

void MainWindow::BindControls() {
  Settings& st = session_->settings;
  bind_.Text(txbFolder_, st.txbFolder, [this] {
    // Subfolders need a folder.
    Settings& s = session_->settings;
    if (s.txbFolder.empty()) s.chkIncludeSubfolders = 0;
    chkIncludeSubfolders_->setChecked(s.chkIncludeSubfolders != 0);
    chkIncludeSubfolders_->setEnabled(!s.txbFolder.empty() && !Busy());
  });
  bind_.Text(txbFile_[0], st.txbFile[0]);
  bind_.Text(txbFile_[1], st.txbFile[1], [this] {
    // File output can only be switched off while there is a file to write.
    Settings& s = session_->settings;
    if (s.txbFile[1].empty()) s.chkDisableOutputToFile = 0;
    chkDisableOutputToFile_->setEnabled(!s.txbFile[1].empty() && !Busy());
    chkDisableOutputToFile_->setChecked(s.chkDisableOutputToFile != 0);
  });
  for (int i = 0; i < 2; ++i) bind_.Text(txbFileFilepathSpecifications_[i], st.txbFileFilepathSpecifications[i]);
  bind_.Check(chkIncludeSubfolders_, st.chkIncludeSubfolders);
  bind_.Check(chkDisableOutputToFile_, st.chkDisableOutputToFile, [this] { chkDisableOutputToFile_Click(); });
  bind_.Check(chkSuppressWords_, st.chkSuppressWords, [this] { chkSuppressWords_Click(); });
  bind_.Check(chkSuppressFilenames_, st.chkSuppressFilenames);
  bind_.Choice(cboDisplayFormat_, st.cboDisplayFormat, [this] { DisplayChanged(false); });
  bind_.Choice(cboWordOrder_, st.cboWordOrder, [this] { DisplayChanged(false); });
  bind_.Check(chkDisplayRelativeFrequency_, st.chkDisplayRelativeFrequency,
              [this] { DisplayChanged(false); });
  bind_.Check(chkSortByNumberOfFiles_, st.chkSortByNumberOfFiles, [this] { DisplayChanged(true); });
  bind_.Custom(optFolder_, [this] {
    const Source src = session_->settings.source;
    optOnClipboard_->setChecked(src == Source::optOnClipboard);
    optInFile_->setChecked(src == Source::optInFile);
    optFolder_->setChecked(src == Source::optFolder);
  });
  bind_.Custom(chkIncludeSubfolders_, [this] {
    chkIncludeSubfolders_->setEnabled(!session_->settings.txbFolder.empty() && !Busy());
  });
  bind_.Custom(chkDisableOutputToFile_, [this] {
    const Settings& s = session_->settings;
    chkDisableOutputToFile_->setEnabled(!s.txbFile[1].empty() && !Busy());
  });
  bind_.Custom(chkSortByNumberOfFiles_, [this] {
    chkDisplayRelativeFrequency_->setEnabled(session_->reports.blnRelativeFrequencyEnabled && !Busy());
    chkSortByNumberOfFiles_->setEnabled(session_->reports.blnSortByNumberOfFilesEnabled && !Busy());
  });
  bind_.Custom(chkSuppressWords_, [this] {
    chkSuppressWords_->setToolTip(session_->settings.chkSuppressWords ? QString() : Q(ProgramText(31)));
  });
}

void MainWindow::SyncFromSettings() {
  bind_.Pull();
  UpdateSourceControls();
}

void MainWindow::UpdateSourceControls() {
  const Source src = session_->settings.source;
  folderControls_->setVisible(src == Source::optFolder);
  fileControls_->setVisible(src == Source::optInFile);
  cmdCountArray_->setVisible(src == Source::optFolder);
  lblFile_->setVisible(src != Source::optOnClipboard);
}

SettingsWindow& MainWindow::settingsWindow() {
  if (!settingsWindow_) {
    settingsWindow_ = std::make_unique<SettingsWindow>(*session_, this);
    connect(this, &MainWindow::buttonsEnabled, settingsWindow_.get(), &SettingsWindow::SetGroupsEnabled);
  }
  return *settingsWindow_;
}

CountChooser& MainWindow::countChooser() {
  if (!countChooser_) {
    countChooser_ = std::make_unique<CountChooser>(this);
    countChooser_->onGoToSettings = [this] { settingsWindow().ShowCentred(); };
    countChooser_->onFileList = [this](bool on) {
      Settings& st = session_->settings;
      if (on && st.cboDisplayFormat != 11) formatBeforeFileList_ = st.cboDisplayFormat;
      st.cboDisplayFormat = on ? 11 : formatBeforeFileList_;
      SyncFromSettings();
    };
  }
  return *countChooser_;
}

PopUp& MainWindow::popUp() {
  if (!popUp_) popUp_ = std::make_unique<PopUp>(this);
  return *popUp_;
}

}  // namespace talq::ui
