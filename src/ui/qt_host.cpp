// QtHost: the Host on Qt widgets.
#include "ui/qt_host.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include "lists/list_history.h"
#include "ui/mnemonics.h"
#include "util/utf8.h"
#include "util/vector_state.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace talq::ui {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toStdString(); }

namespace {

QMessageBox::StandardButton ToQt(MsgAnswer a) {
  switch (a) {
    case MsgAnswer::Ok: return QMessageBox::Ok;
    case MsgAnswer::Cancel: return QMessageBox::Cancel;
    case MsgAnswer::Yes: return QMessageBox::Yes;
    case MsgAnswer::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQt(MsgIcon i) {
  switch (i) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

// A file-dialog filter only when the engine gave one in Qt's "Name (*.ext)" form.
QString Filter(const std::string& filter) {
  return filter.find('(') != std::string::npos ? Q(filter) + ";;All files (*)" : QString();
}

std::optional<std::string> Chosen(const QString& path) {
  if (path.isEmpty()) return std::nullopt;
  return S(path);
}

}  // namespace

// Says when the next pass through the event loop is due. The engine calls Pump() millions
// of times in a count, but also, while it waits for other threads, only every few
// milliseconds: a count of calls is no measure of time, and reading the clock on every call
// costs too much. A thread of its own raises a flag one interval after each pass; Pump()
// only reads the flag. Between counts nobody takes the flag, and the thread sleeps.
class QtHost::PumpClock {
 public:
  explicit PumpClock(std::chrono::milliseconds interval)
      : interval(interval), thread_([this] { Run(); }) {}
  ~PumpClock() {
    {
      const std::lock_guard lock(m_);
      stop_ = true;
    }
    cv_.notify_one();
    thread_.join();
  }
  PumpClock(const PumpClock&) = delete;
  PumpClock& operator=(const PumpClock&) = delete;

  bool Due() const { return due_.load(std::memory_order_relaxed); }
  // A pass was made: the next is due one interval from now.
  void Passed() {
    due_.store(false, std::memory_order_relaxed);
    {
      const std::lock_guard lock(m_);
      passed_ = true;
    }
    cv_.notify_one();
  }

  const std::chrono::milliseconds interval;

 private:
  void Run() {
    std::unique_lock lock(m_);
    while (!stop_) {
      cv_.wait(lock, [this] { return stop_ || passed_; });
      passed_ = false;
      if (cv_.wait_for(lock, interval, [this] { return stop_; })) break;
      due_.store(true, std::memory_order_relaxed);
    }
  }

  std::atomic<bool> due_{true};
  std::mutex m_;
  std::condition_variable cv_;
  bool passed_ = false;
  bool stop_ = false;
  std::thread thread_;
};

QtHost::QtHost(QWidget* window, QPlainTextEdit* txb) : window_(window), txbWidget_(txb) {}

QtHost::~QtHost() = default;

MsgAnswer QtHost::MsgBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons, MsgAnswer defaultButton) {
  if (seam_) return seam_->MsgBox(text, title, icon, buttons, defaultButton);
  Flush();
  QMessageBox box(ToQt(icon), Q(title), Q(text), QMessageBox::NoButton, window_);
  box.setObjectName("msgBox");
  box.setTextFormat(Qt::PlainText);
  switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  if (QAbstractButton* def = box.button(ToQt(defaultButton)))
    box.setDefaultButton(qobject_cast<QPushButton*>(def));
  box.setEscapeButton(box.button(QMessageBox::Cancel) ? box.button(QMessageBox::Cancel)
                      : box.button(QMessageBox::No)   ? box.button(QMessageBox::No)
                                                      : box.button(QMessageBox::Ok));
  switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgAnswer::Ok
                                                                                : MsgAnswer::Cancel;
  }
}

MsgAnswer QtHost::AskInteractive(const std::string& text, const std::string& title,
                                 MsgAnswer defaultButton) {
  return MsgBox(text, title, MsgIcon::Question, MsgButtons::YesNo, defaultButton);
}

std::optional<std::string> QtHost::InputBox(const std::string& prompt, const std::string& title,
                                            const std::string& defaultText) {
  if (seam_) return seam_->InputBox(prompt, title, defaultText);
  Flush();
  bool ok = false;
  const QString text =
      QInputDialog::getText(window_, Q(title), Q(prompt), QLineEdit::Normal, Q(defaultText), &ok);
  if (!ok) return std::nullopt;
  return S(text);
}

int QtHost::Choose(const std::string& prompt, const std::string& title,
                   const std::vector<std::string>& options, int defaultIndex) {
  if (seam_) return seam_->Choose(prompt, title, options, defaultIndex);
  Flush();
  if (countChooser && title == "Count words/phrases") return countChooser(prompt, options, defaultIndex);
  if (loadRemoveChooser && title == kLoadOrRemoveTitle) return loadRemoveChooser(prompt, defaultIndex);
  QMessageBox box(QMessageBox::Question, Q(title), Q(prompt), QMessageBox::NoButton, window_);
  std::vector<QAbstractButton*> buttons;
  for (const std::string& o : options) buttons.push_back(box.addButton(Q(o), QMessageBox::AcceptRole));
  QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
  if (defaultIndex >= 0 && defaultIndex < static_cast<int>(buttons.size()))
    box.setDefaultButton(qobject_cast<QPushButton*>(buttons[static_cast<std::size_t>(defaultIndex)]));
  box.setEscapeButton(cancel);
  box.exec();
  for (std::size_t i = 0; i < buttons.size(); ++i)
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
  return -1;
}

bool QtHost::ShowDialog(const std::string& name) {
  if (seam_) return seam_->ShowDialog(name);
  Flush();
  return dialogs ? dialogs(name) : true;
}

std::optional<std::string> QtHost::ChooseOpenFile(const std::string& title,
                                                  const std::string& filter,
                                                  const std::string& initial) {
  if (preset_) return std::exchange(preset_, std::nullopt);
  if (seam_) return seam_->ChooseOpenFile(title, filter, initial);
  return Chosen(QFileDialog::getOpenFileName(window_, Q(title), Q(initial), Filter(filter)));
}

std::optional<std::string> QtHost::ChooseSaveFile(const std::string& title,
                                                  const std::string& filter,
                                                  const std::string& initial) {
  if (preset_) return std::exchange(preset_, std::nullopt);
  if (seam_) return seam_->ChooseSaveFile(title, filter, initial);
  // The engine asks before it overwrites (its own setting); the dialog must not ask too.
  return Chosen(QFileDialog::getSaveFileName(window_, Q(title), Q(initial), Filter(filter),
                                             nullptr, QFileDialog::DontConfirmOverwrite));
}

std::optional<std::string> QtHost::ChooseFolder(const std::string& title,
                                                const std::string& initial) {
  if (preset_) return std::exchange(preset_, std::nullopt);
  if (seam_) return seam_->ChooseFolder(title, initial);
  return Chosen(QFileDialog::getExistingDirectory(window_, Q(title), Q(initial)));
}

void QtHost::TxbAppend(const std::string& text) {
  if (text.empty()) return;
  txb_ += text;
  txbChars_ += Utf8Length(text);
  if (!pendingReset_) pendingAppend_ += text;
  ScheduleFlush();
}

void QtHost::TxbClear() { TxbSet(std::string()); }

void QtHost::TxbSet(const std::string& text) {
  txb_ = text;
  txbChars_ = Utf8Length(text);
  pendingAppend_.clear();
  pendingReset_ = true;
  ScheduleFlush();
}

void QtHost::TxbCaretToStart() {
  caret_ = 1;
  ScheduleFlush();
}

void QtHost::TxbCaretToEnd() {
  caret_ = 2;
  ScheduleFlush();
}

void QtHost::AdoptWidgetText() {
  if (!txbWidget_) return;
  txb_ = S(txbWidget_->toPlainText());
  txbChars_ = Utf8Length(txb_);
  pendingAppend_.clear();
  pendingReset_ = false;
}

void QtHost::SetLabel(const std::string& name, const std::string& text) {
  PendingLabel& p = pendingLabels_[name];
  p.text = text;
  p.hasText = true;
  ScheduleFlush();
}

void QtHost::SetLabelVisible(const std::string& name, bool visible) {
  pendingLabels_[name].visible = visible ? 1 : 0;
  ScheduleFlush();
}

QLabel* QtHost::Label(const std::string& name) {
  auto it = labelCache_.find(name);
  if (it != labelCache_.end() && it->second) return it->second;
  QLabel* label = window_ ? window_->findChild<QLabel*>(Q(name)) : nullptr;
  labelCache_[name] = label;
  return label;
}

QAbstractButton* QtHost::Button(const std::string& name) const {
  return window_ ? window_->findChild<QAbstractButton*>(Q(name)) : nullptr;
}

void QtHost::SetCaption(const std::string& name, const std::string& text) {
  if (QAbstractButton* b = Button(name)) SetCaptionWithMnemonic(b, Q(text));
}

std::string QtHost::Caption(const std::string& name) const {
  QAbstractButton* b = Button(name);
  return b ? S(CaptionWithoutMnemonic(b->text())) : std::string();
}

void QtHost::ScheduleFlush() {
  if (flushScheduled_ || !window_) return;
  flushScheduled_ = true;
  QTimer::singleShot(0, window_, [this] { Flush(); });
}

void QtHost::Flush() {
  flushScheduled_ = false;
  if (txbWidget_ && (pendingReset_ || !pendingAppend_.empty())) {
    if (pendingReset_) {
      txbWidget_->setPlainText(Q(txb_));
    } else {
      QTextCursor c(txbWidget_->document());
      c.movePosition(QTextCursor::End);
      c.insertText(Q(pendingAppend_));
      if (caret_ == 0) caret_ = 2;
    }
    pendingAppend_.clear();
    pendingReset_ = false;
  }
  if (txbWidget_ && caret_ != 0) {
    txbWidget_->moveCursor(caret_ == 1 ? QTextCursor::Start : QTextCursor::End);
    txbWidget_->ensureCursorVisible();
    caret_ = 0;
  }
  for (auto& [name, p] : pendingLabels_) {
    QLabel* label = Label(name);
    if (!label) continue;
    if (p.hasText) label->setText(Q(p.text));
    if (p.visible >= 0) label->setVisible(p.visible == 1);
  }
  pendingLabels_.clear();
}

void QtHost::Pump() {
  if (pumpInterval.count() == 0) {
    if ((++pumps_ & 63) != 0) return;
  } else {
    if (!pumpClock_ || pumpClock_->interval != pumpInterval) {
      pumpClock_.reset();
      pumpClock_ = std::make_unique<PumpClock>(pumpInterval);
    }
    if (!pumpClock_->Due()) return;
    pumpClock_->Passed();
  }
  if (onPump) onPump();
  Flush();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // The toolkit's drawing may leave the vector registers dirty, which slows the count's code.
  ClearUpperVectorState();
}

std::optional<std::string> QtHost::GetClipboardText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasText()) return std::nullopt;
  return S(data->text());
}

void QtHost::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(Q(text));
}

void QtHost::OpenUrl(const std::string& url) {
  if (seam_) {
    seam_->OpenUrl(url);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl(Q(url))))
    MsgBox("Error launching web browser, error code = 1", "Error", MsgIcon::Exclamation);
}

}  // namespace talq::ui
