// Main window: start-up, the commands and the flows they start, the periodic refresh,
// resizing, quitting. Every count, listing and report is the engine's; this file only
// switches controls and shows results.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

#include "run/count_array.h"
#include "run/counting_run.h"
#include "run/phrase_run.h"
#include "run/saved_state.h"
#include "run/session.h"
#include "lists/list_history.h"
#include "lists/word_lists.h"
#include "reports/display_controls.h"
#include "reports/report_sinks.h"
#include "settings/defaults.h"
#include "sources/file_reader.h"
#include "sources/file_selection.h"
#include "sources/folder_scan.h"
#include "ui/count_chooser.h"
#include "ui/main_window.h"
#include "ui/mnemonics.h"
#include "ui/phrase_window.h"
#include "ui/popup.h"
#include "ui/qt_host.h"
#include "ui/settings_window.h"
#include "ui/table_dialog.h"
#include "ui/text_windows.h"
#include "ui/widgets.h"
#include "util/program_texts.h"
#include "util/vector_state.h"

namespace talq::ui {

namespace {
constexpr const char* kHelpTitle = "Help is available online";
constexpr const char* kNoHelpKey = "startup/hideHelpMessage";
const QString kArrows = QStringLiteral("\u2190\u2191\u2192\u2193");
}  // namespace

template <typename F>
auto MainWindow::RunBusy(F&& operation) {
  BeginBusy();
  struct End {
    MainWindow* w;
    ~End() { w->EndBusy(); }
  } end{this};
  // What the toolkit left in the vector registers would slow the engine and its threads.
  ClearUpperVectorState();
  return operation();
}

void MainWindow::BeginBusy() {
  if (busy_++ > 0) return;
  EnableDisableButtons(false);
  for (QWidget* w : std::initializer_list<QWidget*>{
           cboWordOrder_, cboDisplayFormat_, chkDisplayRelativeFrequency_, chkSortByNumberOfFiles_,
           optOnClipboard_, optInFile_, optFolder_, lblSelectSource_})
    w->setEnabled(false);
}

void MainWindow::EndBusy() {
  if (--busy_ > 0) return;
  host_->Flush();
  for (QWidget* w : std::initializer_list<QWidget*>{cboWordOrder_, cboDisplayFormat_, optOnClipboard_,
                                                    optInFile_, optFolder_, lblSelectSource_})
    w->setEnabled(true);
  EnableDisableButtons(true);
  UpdateDisplayOptionControls(*session_);
  SyncFromSettings();
  SetTheFocus();
  if (quitAfterRun_) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::ConnectCommands() {
  connect(optOnClipboard_, &QRadioButton::clicked, this, [this] { SelectSource(0); });
  connect(optInFile_, &QRadioButton::clicked, this, [this] { SelectSource(1); });
  connect(optFolder_, &QRadioButton::clicked, this, [this] { SelectSource(2); });
  connect(cmdCountWords_, &QPushButton::clicked, this, &MainWindow::cmdCountWords_Click);
  connect(cmdCountAllPhrases_, &QPushButton::clicked, this, &MainWindow::cmdCountAllPhrases_Click);
  connect(cmdCountArray_, &QPushButton::clicked, this, &MainWindow::cmdCountArray_Click);
  connect(cmdFolder_, &QPushButton::clicked, this, &MainWindow::cmdFolder_Click);
  connect(cmdClearFolder_, &QPushButton::clicked, this, &MainWindow::cmdClearFolder_Click);
  for (int i = 0; i < 2; ++i) {
    connect(cmdFile_[i], &QPushButton::clicked, this, [this, i] { cmdFile_Click(i); });
    connect(cmdClearFile_[i], &QPushButton::clicked, this, [this, i] { cmdClearFile_Click(i); });
    connect(txbFileFilepathSpecifications_[i], &QLineEdit::editingFinished, this, [this, i] {
      if (!session_->settings.blnStartUpCompleted || Busy()) return;
      FileSpecificationsLostFocus(*session_, i);
      SyncFromSettings();
    });
  }
  connect(cmdListFiles_, &QPushButton::clicked, this, &MainWindow::cmdListFiles_Click);
  connect(cmdSetParameters_, &QPushButton::clicked, this, [this] { settingsWindow().ShowCentred(); });
  connect(cmdSaveState_, &QPushButton::clicked, this, &MainWindow::cmdSaveState_Click);
  connect(cmdCopyToClipboard_, &QPushButton::clicked, this, &MainWindow::cmdCopyToClipboard_Click);
  connect(cmdClearOutput_, &QPushButton::clicked, this, &MainWindow::cmdClearOutput_Click);
  connect(cmdClipboardViewer_, &QPushButton::clicked, this, [this] {
    if (!clipboardViewer_) clipboardViewer_ = std::make_unique<ClipboardViewer>(this);
    clipboardViewer_->Open();
  });
  connect(cmdHelp_, &QPushButton::clicked, this, &MainWindow::cmdHelp_Click);
  connect(cmdQuit_, &QPushButton::clicked, this, &QWidget::close);
  connect(lblOnlineDocumentation_, &QLabel::linkActivated, this, &MainWindow::OpenManual);
  connect(lblVelmoriaSystems_, &QLabel::linkActivated, this,
          [this](const QString& url) { host_->OpenUrl(S(url)); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &MainWindow::cmdHelp_Click);
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(esc, &QShortcut::activated, this, &MainWindow::StopOnEscape);
}

// ---- Start-up and initial state ----

void MainWindow::StartUp() {
  Settings& st = session_->settings;
  EnableDisableButtons(true);
  ConcealNumWords(true);
  SetCaptionWithMnemonic(cmdCountArray_, Q(ProgramText(101)));
  Initialize();
  if (showHelpAtStartUp) ShowHelpMessage(true);
  // The saved settings, their questions, and the common-words offer on a first start; list
  // files may be read meanwhile.
  RunBusy([this] { RestoreStateAtStartUp(*session_); });
  rememberedFile_ = st.txbFile[0];
  rememberedFolder_ = st.txbFolder;
  UpdateDisplayOptionControls(*session_);
  SyncFromSettings();
  if (settingsWindow_) settingsWindow_->Pull();
  timer1_->start();
  startUpSize_ = size();
  st.blnStartUpCompleted = true;
  SetTheFocus();
}

void MainWindow::Initialize() {
  Settings& st = session_->settings;
  talq::Initialize(st, host_.get());
  rememberedFile_.clear();
  rememberedFolder_.clear();
  GetFileFilepathSpecifications(*session_, 0);
  GetFileFilepathSpecifications(*session_, 1);
  for (QLabel* l : {lblNumberOfWords_, lblNumWordsExcluded_, lblNumOccurrences_,
                    lblTotalNumOccurrences_, lblTimeElapsed_, lblFile_, lblFilesize_, lblXMLsize_})
    l->clear();
  UpdateDisplayOptionControls(*session_);
  SyncFromSettings();
  if (settingsWindow_) settingsWindow_->Pull();
  if (phraseWindow_) phraseWindow_->Pull();
}

void MainWindow::SetTheFocus() {
  if (!isVisible()) return;
  const Settings& st = session_->settings;
  QWidget* target = cmdCountWords_;
  if (st.source == Source::optInFile && st.txbFile[0].empty()) target = cmdFile_[0];
  if (st.source == Source::optFolder && st.txbFolder.empty()) target = cmdFolder_;
  if (target->isEnabled() && target->isVisible()) target->setFocus();
  if (host_->Caption("cmdCountWords") != ProgramText(21) && !Busy()) {
    SetCaptionWithMnemonic(cmdCountWords_, Q(ProgramText(21)));
    SetCaptionWithMnemonic(cmdCountArray_,
                           Q(ProgramText(session_->run.blnThereAreCountOnlyWords ? 102 : 101)));
  }
  lblTwirler_->clear();
}

void MainWindow::EnableDisableButtons(bool enable) {
  const Source src = session_->settings.source;
  for (QWidget* w : std::initializer_list<QWidget*>{
           cmdCountArray_, cmdFile_[0], txbFile_[0], cmdClearFile_[0], cmdFile_[1], txbFile_[1],
           cmdClearFile_[1], cmdFolder_, txbFolder_, cmdClearFolder_, chkIncludeSubfolders_,
           chkDisableOutputToFile_})
    w->setEnabled(false);
  if (enable) {
    if (src == Source::optFolder)
      for (QWidget* w : std::initializer_list<QWidget*>{cmdCountArray_, cmdFolder_, txbFolder_,
                                                        cmdClearFolder_})
        w->setEnabled(true);
    chkIncludeSubfolders_->setEnabled(src == Source::optFolder && !session_->settings.txbFolder.empty());
    if (src == Source::optInFile)
      for (QWidget* w : std::initializer_list<QWidget*>{cmdFile_[0], txbFile_[0], cmdClearFile_[0]})
        w->setEnabled(true);
    // The output file serves every source.
    for (QWidget* w : std::initializer_list<QWidget*>{cmdFile_[1], txbFile_[1], cmdClearFile_[1]})
      w->setEnabled(true);
    chkDisableOutputToFile_->setEnabled(!session_->settings.txbFile[1].empty());
  }
  SetCaptionWithMnemonic(cmdCopyToClipboard_, Q(ProgramText(9)));
  cmdSaveState_->setVisible(true);
  cmdCopyToClipboard_->setVisible(true);
  for (QWidget* w : std::initializer_list<QWidget*>{
           cmdCopyToClipboard_, cmdClipboardViewer_, cmdHelp_, cmdSetParameters_, cmdClearOutput_,
           txbFileFilepathSpecifications_[0], txbFileFilepathSpecifications_[1], cmdListFiles_,
           cmdCountAllPhrases_, cmdSaveState_})
    w->setEnabled(enable);
  emit buttonsEnabled(enable);
}

void MainWindow::ConcealNumWords(bool hide) {
  for (QLabel* l : {lblNumberOfWords_, lblNumWordsExcluded_, lblNumOccurrences_,
                    lblTotalNumOccurrences_})
    l->setVisible(!hide);
}

// ---- Source selection ----

void MainWindow::SelectSource(int source) {
  Settings& st = session_->settings;
  const Source old = st.source;
  if (old == Source::optInFile) rememberedFile_ = st.txbFile[0];
  if (old == Source::optFolder) rememberedFolder_ = st.txbFolder;
  switch (source) {
    case 0:
      st.source = Source::optOnClipboard;
      if (st.blnWordsGot) cmdClearOutput_Click();
      break;
    case 1:
      st.source = Source::optInFile;
      st.blnWordsGot = false;
      if (old != Source::optInFile) st.txbFile[0] = rememberedFile_;
      break;
    default:
      st.source = Source::optFolder;
      if (old != Source::optFolder) st.txbFolder = rememberedFolder_;
      GetFileFilepathSpecifications(*session_, 0);
      GetFileFilepathSpecifications(*session_, 1);
      break;
  }
  EnableDisableButtons(!Busy());
  UpdateDisplayOptionControls(*session_);
  SyncFromSettings();
  SetTheFocus();
}

// ---- Commands ----

void MainWindow::cmdCountWords_Click() {
  // During a run this is the Stop button: the click arrives inside the engine's Pump().
  if (Busy()) {
    talq::cmdCountWords_Click(*session_);
    return;
  }
  const RunResult r = RunBusy([this] { return talq::cmdCountWords_Click(*session_); });
  if (r == RunResult::Reported || r == RunResult::NothingFound) ConcealNumWords(false);
}

void MainWindow::StopOnEscape() {
  if (Busy()) talq::cmdCountWords_Click(*session_);
}

void MainWindow::cmdCountAllPhrases_Click() {
  const Session& s = *session_;
  const ListState& l = s.lists;
  PhraseWindow::Context c;
  c.wordsToIgnore = l.lngNumWordsToIgnore >= 1 || l.intNumExtraWordsToIgnore >= 1 ||
                    !s.settings.txbWordsToIgnoreOrCount[0].empty();
  c.countOnly = l.lngNumCountOnlyWords >= 1 || l.intNumExtraCountOnlyWords >= 1 ||
                !s.settings.txbWordsToIgnoreOrCount[1].empty();
  c.folderSource = s.settings.source == Source::optFolder;
  c.fileListFormat = s.settings.cboDisplayFormat == 11;
  formatBeforeFileList_ = s.settings.cboDisplayFormat == 11 ? 0 : s.settings.cboDisplayFormat;
  // Only phrases kept on screen can be filtered: not after a word count or a stopped one.
  PhraseWindow& w = phraseWindow();
  if (!s.run.blnCountingMFP || !s.settings.blnWordsGot) w.intPhrasesSelectedOnCount = 0;
  w.Open(c);
}

PhraseWindow& MainWindow::phraseWindow() {
  if (phraseWindow_) return *phraseWindow_;
  phraseWindow_ = std::make_unique<PhraseWindow>(session_->settings, this);
  PhraseWindow& w = *phraseWindow_;
  w.onCountPhrases = [this] { CountPhrases(); };
  w.onFilterResults = [this] { RunBusy([this] { talq::cmdFilterResults_Click(*session_); }); };
  w.onFilterWordsEntered = [this] { txbFilterWords_LostFocus(*session_); };
  w.onSaveSettings = [this] { cmdSaveState_Click(); };
  w.onCopyToClipboard = [this] { host_->SetClipboardText(host_->TxbText()); };
  w.onGoToSettings = [this] { settingsWindow().ShowCentred(); };
  w.onQuit = [this] {
    if (host_->MsgBox("Really quit?", "Quit", MsgIcon::Question, MsgButtons::YesNo,
                      MsgAnswer::No) == MsgAnswer::Yes)
      close();
  };
  w.onFileList = [this](bool on) {
    Settings& st = session_->settings;
    st.cboDisplayFormat = on ? 11 : formatBeforeFileList_;
    SyncFromSettings();
    DisplayChanged(false);
  };
  return w;
}

void MainWindow::CountPhrases() {
  PhraseWindow& w = phraseWindow();
  // Wrong lengths are told while the window is still open, so they can be put right there.
  if (!CheckPhraseLengths(*session_)) return;
  w.hide();
  const RunResult r = RunBusy([this] { return talq::cmdCountAllPhrases_Click(*session_); });
  if (r == RunResult::Reported || r == RunResult::NothingFound) ConcealNumWords(false);
  w.intPhrasesSelectedOnCount = session_->phrases.intPhrasesSelectedOnCount;
  w.UpdateFilterControls();
}

void MainWindow::cmdCountArray_Click() {
  const RunResult r = RunBusy([this] { return talq::cmdCountArray_Click(*session_); });
  if (r == RunResult::TableWritten) txbOutput_->setFocus();
}

TableDialog& MainWindow::tableDialog() {
  if (tableDialog_) return *tableDialog_;
  tableDialog_ = std::make_unique<TableDialog>(session_->settings, this);
  tableDialog_->onGoToSettings = [this] { settingsWindow().ShowCentred(); };
  return *tableDialog_;
}

void MainWindow::cmdFolder_Click() {
  if (ChooseScanFolder(*session_)) lblTimeElapsed_->clear();
  SyncFromSettings();
  SetTheFocus();
}

void MainWindow::cmdFile_Click(int index) {
  if (index == 0)
    ChooseInputFile(*session_);
  else
    ChooseOutputFile(*session_);
  SyncFromSettings();
  SetTheFocus();
}

void MainWindow::cmdClearFolder_Click() {
  session_->settings.txbFolder.clear();
  session_->settings.chkIncludeSubfolders = 0;
  SyncFromSettings();
  cmdFolder_->setFocus();
}

void MainWindow::cmdClearFile_Click(int index) {
  Settings& st = session_->settings;
  st.txbFile[index].clear();
  if (index == 1) {
    st.chkDisableOutputToFile = 0;
  } else {
    lblFilesize_->clear();
    lblXMLsize_->clear();
  }
  SyncFromSettings();
  cmdFile_[index]->setFocus();
}

void MainWindow::cmdListFiles_Click() {
  RunBusy([this] {
    return ListFilesToBeScanned(*session_,
                                [this](const std::string& path) { return DoItFromFile(*session_, path); });
  });
}

void MainWindow::cmdSaveState_Click() {
  if (!talq::cmdSaveState_Click(*session_)) return;
  // The notice appears just below the button.
  popUp().PopUpAt(Q(ProgramText(50)), 2350, 300, 2000,
                  cmdSaveState_->mapToGlobal(QPoint(0, cmdSaveState_->height())));
}

void MainWindow::cmdCopyToClipboard_Click() {
  const QString selected = txbOutput_->textCursor().selectedText().replace(QChar(0x2029), '\n');
  host_->SetClipboardText(selected.isEmpty() ? host_->TxbText() : S(selected));
  const QPoint at = txbOutput_->geometry().topLeft();
  const int left = std::min(at.x() + txbOutput_->width() - Twips(this, 500),
                            width() - Twips(this, 2920) - Twips(this, 100));
  popUp().PopUpAt("Result copied to clipboard", 2920, 300, 2000,
                  mapToGlobal(QPoint(left, std::min(at.y() + Twips(this, 3000), height() / 2))));
  QTextCursor c = txbOutput_->textCursor();
  c.clearSelection();
  txbOutput_->setTextCursor(c);
}

void MainWindow::cmdClearOutput_Click() {
  ClearTextbox(*session_);
  host_->Flush();
  ConcealNumWords(true);
  session_->settings.blnWordsGot = false;
  if (session_->settings.blnStartUpCompleted) SetTheFocus();
}

void MainWindow::chkDisableOutputToFile_Click() {
  Settings& st = session_->settings;
  if (!st.txbFile[1].empty() && st.chkDisableOutputToFile == 0 && st.blnWordsGot && !Busy() &&
      host_->MsgBox("Relist words (so as to write to file)?", "Relist?", MsgIcon::Question,
                    MsgButtons::YesNo, MsgAnswer::Yes) == MsgAnswer::Yes)
    RunBusy([this] { ListWords(*session_); });
  SyncFromSettings();
  SetTheFocus();
}

void MainWindow::chkSuppressWords_Click() {
  Settings& st = session_->settings;
  chkSuppressWords_->setToolTip(st.chkSuppressWords ? QString() : Q(ProgramText(31)));
  if (st.chkSuppressWords && session_->run.blnScanningFiles && host_->TxbLength() > 0)
    OutputToTxb(*session_, "\n");
}

void MainWindow::DisplayChanged(bool rebuildChain) {
  Session& s = *session_;
  if (!s.settings.blnStartUpCompleted || Busy()) return;
  UpdateDisplayOptionControls(s);
  if (rebuildChain && s.words.lngNumWords > 0) s.words.SetUpFrequencyChain(host_.get());
  RunBusy([&s] { RelistIfReady(s); });
}

void MainWindow::cmdHelp_Click() {
  ShowHelpMessage(false);
  if (cmdSetParameters_->isVisible() && cmdSetParameters_->isEnabled()) cmdSetParameters_->setFocus();
}

void MainWindow::ShowHelpMessage(bool atStartUp) {
  QSettings prefs;
  if (atStartUp && prefs.value(kNoHelpKey, false).toBool()) return;
  const QString path = ManualPath();
  const QString address = path.isEmpty() ? Q(ProgramText(14)) : QUrl::fromLocalFile(path).toString();
  const QString tail =
      "It is recommended to consult this often because it contains screenshots and examples of "
      "use. If you are online then you can click on the link above.";
  if (Host* seam = host_->Seam()) {
    seam->MsgBox(S("The user manual is here:\n" + address + "\n\n" + tail), kHelpTitle,
                 MsgIcon::Information);
    return;
  }
  QMessageBox box(QMessageBox::Information, kHelpTitle, QString(), QMessageBox::Ok, this);
  box.setObjectName("msgHelp");
  box.setTextFormat(Qt::RichText);
  box.setText("The user manual is here:<br><a href=\"" + address.toHtmlEscaped() + "\">" +
              address.toHtmlEscaped() + "</a><br><br>" + tail.toHtmlEscaped());
  box.setTextInteractionFlags(Qt::TextBrowserInteraction);
  QAbstractButton* open = box.addButton("&Open manual", QMessageBox::ActionRole);
  QCheckBox* dontShow = nullptr;
  if (atStartUp) {
    dontShow = new QCheckBox("Don't show again", &box);
    dontShow->setObjectName("chkDontShowAgain");
    box.setCheckBox(dontShow);
  }
  if (auto* label = box.findChild<QLabel*>("qt_msgbox_label"))
    connect(label, &QLabel::linkActivated, this, [this] { OpenManual(); });
  box.exec();
  if (dontShow) prefs.setValue(kNoHelpKey, dontShow->isChecked());
  if (box.clickedButton() == open) OpenManual();
}

void MainWindow::OpenManual() {
  if (!manualWindow_) manualWindow_ = std::make_unique<ManualWindow>(this);
  manualWindow_->Open();
}

// ---- Periodic refresh ----

void MainWindow::Timer1_Timer() {
  Session& s = *session_;
  const Settings& st = s.settings;
  txbOutput_->setToolTip(width() <= startUpSize_.width() && s.reports.intNumWordsInLongestPhrase >= 8
                             ? "You may need to increase the width."
                             : QString());
  const std::string caption = host_->Caption("cmdCountWords");
  if (s.run.blnStop) {
    SetCaptionWithMnemonic(cmdCountWords_, Q(ProgramText(25)));
  } else if (caption == ProgramText(25) && s.words.lngNumWords > 800) {
    SetCaptionWithMnemonic(cmdCountWords_, Q(ProgramText(90)));
  }
  if (QString::fromStdString(host_->Caption("cmdCountWords")).toLower().contains("stop")) return;
  cmdClearFile_[0]->setEnabled(!st.txbFile[0].empty() && txbFile_[0]->isEnabled());
  cmdClearFile_[1]->setEnabled(!st.txbFile[1].empty() && txbFile_[1]->isEnabled());
  cmdClearFolder_->setEnabled(!st.txbFolder.empty() && txbFolder_->isEnabled());
  const bool text = host_->TxbLength() > 0;
  cmdClearOutput_->setEnabled(text && !Busy());
  cmdCopyToClipboard_->setEnabled(text && !Busy());
  cmdFile_[0]->setToolTip(st.txbFile[0].empty()
                              ? "Click on the 'Single file' button to specify an input file."
                              : QString());
  cmdFolder_->setToolTip(st.txbFolder.empty()
                             ? "Click on the 'Folder' button to specify a folder with input files."
                             : QString());
  txbFile_[0]->setToolTip("To specify an input file click on the button labelled 'Single file'.");
  txbFile_[1]->setToolTip("To specify an output file click on the button labelled 'Output file'.");
  txbFolder_->setToolTip("To specify a folder click on the button labelled 'Folder'.");
}

void MainWindow::OnPump() {
  Tick(*session_);
  const auto now = std::chrono::steady_clock::now();
  if (now - lastTwirl_ >= std::chrono::milliseconds(250)) {
    lastTwirl_ = now;
    twirl_ = (twirl_ + 1) % 4;
    lblTwirler_->setText(kArrows.mid(twirl_, 1));
  }
}

// ---- Window events ----

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == txbOutput_->viewport() || watched == txbOutput_) &&
      event->type() == QEvent::MouseButtonPress) {
    const auto* me = static_cast<QMouseEvent*>(event);
    const Session& s = *session_;
    if (s.run.blnListingFilesOnly && Busy()) {
      host_->MsgBox("Click on 'OK' to continue.", "Listing files to be scanned", MsgIcon::Information);
      return true;
    }
    if (s.run.blnScanningFiles && Busy() && !s.settings.chkSuppressWords) {
      host_->MsgBox("Click on 'OK' to continue.", "Scanning files", MsgIcon::Information);
      return true;
    }
    if (me->button() == Qt::RightButton && s.settings.source == Source::optOnClipboard && !Busy()) {
      host_->MsgBox("To count words/phrases on the clipboard click on 'Count ...'",
                    "Text on clipboard", MsgIcon::Information);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && session_ && !Busy()) {
    UpdateDisplayOptionControls(*session_);
    SyncFromSettings();
  }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (startUpSize_.isEmpty() || windowState() != Qt::WindowNoState) return;
  // The window keeps its controls in view: not lower than 3400 twips nor taller than at
  // start-up; not narrower than at start-up while the text box is empty, else half that.
  const int minWidth = host_->TxbLength() == 0 ? startUpSize_.width() : startUpSize_.width() / 2;
  const int minHeight = std::min(Twips(this, 3400), startUpSize_.height());
  const QSize want(std::max(width(), minWidth),
                   std::clamp(height(), minHeight, startUpSize_.height()));
  if (want != size()) QTimer::singleShot(0, this, [this, want] { resize(want); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!Busy() && urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (Busy() || urls.isEmpty()) return;
  SetSourcePath(urls.front().toLocalFile());
  event->acceptProposedAction();
}

void MainWindow::SetSourcePath(const QString& path) {
  // A dropped path goes through the same chooser steps as one picked in a dialog.
  const bool folder = QFileInfo(path).isDir();
  SelectSource(folder ? 2 : 1);
  host_->PresetNextChoice(S(QDir::cleanPath(path)));
  if (folder)
    cmdFolder_Click();
  else
    cmdFile_Click(0);
}

// ---- Quit ----

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!quitting_) cmdQuit_Click();
  if (!quitting_) {
    event->ignore();
    return;
  }
  for (QWidget* w : std::initializer_list<QWidget*>{settingsWindow_.get(), phraseWindow_.get(),
                                                    tableDialog_.get(), clipboardViewer_.get(),
                                                    manualWindow_.get(), popUp_.get()})
    if (w) w->hide();
  event->accept();
}

void MainWindow::cmdQuit_Click() {
  if (quitting_) return;
  if (Busy()) {
    // The run ends at its next check without asking; the window closes after it.
    quitAfterRun_ = true;
    session_->run.blnStop = true;
    return;
  }
  quitting_ = true;
  timer1_->stop();
  SaveStateOnQuit(*session_);
  // Temporary .docx folders are the reader's own (private mkdtemp folders it removes after
  // each document); nothing else is deleted here.
}

}  // namespace talq::ui
