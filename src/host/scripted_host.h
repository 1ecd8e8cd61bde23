// ScriptedHost: a Host without a screen. Records every message, answers questions from a
// queue (or with each question's default button), keeps the text box and labels in memory.
// Tests use it directly; the command line derives from it.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "host/host.h"

namespace talq {

class ScriptedHost : public Host {
 public:
  struct Message {
    std::string text;
    std::string title;
    MsgIcon icon;
    MsgButtons buttons;
    MsgAnswer answer;
  };

  // Answers for the next questions (message boxes with more than one button), in order.
  std::deque<MsgAnswer> answers;
  // Answers for the next input boxes; nullopt entries cancel. Empty: the default text.
  std::deque<std::optional<std::string>> inputs;
  // Answers for the next Choose calls; empty: the default index.
  std::deque<int> choices;
  // Set to true so that every question is answered Yes instead of its default.
  bool answerYes = false;
  // Text box limit reported by TxbHasCapacityLimit.
  bool capacityLimited = false;

  std::vector<Message> messages;
  std::vector<std::string> prompts;  // input-box and chooser prompts, in order
  std::map<std::string, std::string> labels;
  std::map<std::string, std::string> captions;
  std::optional<std::string> clipboard;
  std::vector<std::string> openedUrls;
  int pumps = 0;

  MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgIcon icon,
                   MsgButtons buttons, MsgAnswer defaultButton) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  int Choose(const std::string& prompt, const std::string& title,
             const std::vector<std::string>& options, int defaultIndex) override;
  std::optional<std::string> ChooseOpenFile(const std::string&, const std::string&,
                                            const std::string&) override;
  std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                            const std::string&) override;
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override;

  void TxbAppend(const std::string& text) override;
  void TxbClear() override;
  void TxbSet(const std::string& text) override;
  std::string TxbText() const override { return txb_; }
  std::size_t TxbLength() const override;
  void TxbCaretToStart() override {}
  void TxbCaretToEnd() override {}
  bool TxbHasCapacityLimit() const override { return capacityLimited; }

  void SetLabel(const std::string& name, const std::string& text) override;
  void SetLabelVisible(const std::string&, bool) override {}
  void SetCaption(const std::string& name, const std::string& text) override;
  std::string Caption(const std::string& name) const override;

  void Pump() override { ++pumps; }

  std::optional<std::string> GetClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void OpenUrl(const std::string& url) override { openedUrls.push_back(url); }

  // Queued answers for the choosers; empty: cancelled.
  std::deque<std::optional<std::string>> chosenPaths;

 protected:
  // Called for every message after it is recorded (the CLI prints it).
  virtual void OnMessage(const Message&) {}

 private:
  std::string txb_;
  std::size_t txbChars_ = 0;
};

}  // namespace talq
