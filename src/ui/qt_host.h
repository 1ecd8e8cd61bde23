// QtHost: the engine's Host on Qt widgets. Message and input boxes, file choosers, the
// clipboard, the report text box and the result labels of one window, and a throttled Pump()
// that lets the window repaint and take a Stop click while a count runs on this thread.
#pragma once

#include <QPointer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/host.h"

class QAbstractButton;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace talq::ui {

class QtHost : public Host {
 public:
  // window: the widget tree holding the labels and buttons named by the engine;
  // txb: the report text box.
  QtHost(QWidget* window, QPlainTextEdit* txb);
  ~QtHost() override;

  // Tests: modal questions, input boxes, choosers and file dialogs go to `seam` instead of
  // the screen (a ScriptedHost answers them and records them). nullptr: real dialogs.
  void SetSeam(Host* seam) { seam_ = seam; }
  Host* Seam() const { return seam_; }
  // The count chooser (title "Count words/phrases"); unset: a plain button box.
  std::function<int(const std::string& prompt, const std::vector<std::string>& options,
                    int defaultIndex)>
      countChooser;
  // The load-or-remove dialog of a word list's history (its title); unset: a button box.
  std::function<int(const std::string& path, int defaultIndex)> loadRemoveChooser;
  // Modal dialogs that edit settings fields, by window name (frmCountArray): true unless
  // cancelled. Unset: nothing is shown and the answer is true.
  std::function<bool(const std::string& name)> dialogs;
  // Runs on every Pump() that reaches the event loop (the run's clock, the activity sign).
  std::function<void()> onPump;
  // Least time between two passes through the event loop inside a count. Zero: a pass on
  // every 64th call (tests that want many small steps).
  std::chrono::milliseconds pumpInterval{40};

  MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons = MsgButtons::Ok,
                   MsgAnswer defaultButton = MsgAnswer::Ok) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  int Choose(const std::string& prompt, const std::string& title,
             const std::vector<std::string>& options, int defaultIndex) override;
  bool ShowDialog(const std::string& name) override;
  std::optional<std::string> ChooseOpenFile(const std::string& title, const std::string& filter,
                                            const std::string& initial) override;
  std::optional<std::string> ChooseSaveFile(const std::string& title, const std::string& filter,
                                            const std::string& initial) override;
  std::optional<std::string> ChooseFolder(const std::string& title,
                                          const std::string& initial) override;

  void TxbAppend(const std::string& text) override;
  void TxbClear() override;
  void TxbSet(const std::string& text) override;
  std::string TxbText() const override { return txb_; }
  std::size_t TxbLength() const override { return txbChars_; }
  void TxbCaretToStart() override;
  void TxbCaretToEnd() override;
  bool TxbHasCapacityLimit() const override { return true; }

  void SetLabel(const std::string& name, const std::string& text) override;
  void SetLabelVisible(const std::string& name, bool visible) override;
  void SetCaption(const std::string& name, const std::string& text) override;
  std::string Caption(const std::string& name) const override;

  void Pump() override;
  // A user is at the screen: the question is asked (Yes/No).
  MsgAnswer AskInteractive(const std::string& text, const std::string& title,
                           MsgAnswer defaultButton) override;

  std::optional<std::string> GetClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  void OpenUrl(const std::string& url) override;

  // The next file or folder chooser returns `path` without showing a dialog (a dropped file).
  void PresetNextChoice(const std::string& path) { preset_ = path; }

  // Puts pending text-box text and label texts on the screen. Cheap when nothing is pending.
  void Flush();
  // The text box was edited or cleared on screen: take its text as the engine's.
  void AdoptWidgetText();

 private:
  QLabel* Label(const std::string& name);
  QAbstractButton* Button(const std::string& name) const;
  void ScheduleFlush();

  QPointer<QWidget> window_;
  QPointer<QPlainTextEdit> txbWidget_;
  Host* seam_ = nullptr;
  std::optional<std::string> preset_;

  // The text box as the engine sees it; the widget catches up in Flush().
  std::string txb_;
  std::size_t txbChars_ = 0;
  std::string pendingAppend_;
  bool pendingReset_ = false;
  bool flushScheduled_ = false;
  int caret_ = 0;  // 0 none, 1 start, 2 end

  struct PendingLabel {
    std::string text;
    int visible = -1;  // -1 unchanged
    bool hasText = false;
  };
  std::map<std::string, PendingLabel> pendingLabels_;
  std::map<std::string, QPointer<QLabel>> labelCache_;

  std::uint64_t pumps_ = 0;
  class PumpClock;
  std::unique_ptr<PumpClock> pumpClock_;  // started at the first Pump()
};

// Qt strings from and to the engine's UTF-8.
QString Q(const std::string& s);
std::string S(const QString& s);

}  // namespace talq::ui
