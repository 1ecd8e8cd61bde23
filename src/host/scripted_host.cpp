// ScriptedHost: in-memory Host for tests and the command line.
#include "host/scripted_host.h"

#include "util/utf8.h"

namespace talq {

MsgAnswer ScriptedHost::MsgBox(const std::string& text, const std::string& title, MsgIcon icon,
                               MsgButtons buttons, MsgAnswer defaultButton) {
  MsgAnswer answer = defaultButton;
  if (buttons == MsgButtons::Ok) {
    answer = MsgAnswer::Ok;
  } else if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  } else if (answerYes && (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel)) {
    answer = MsgAnswer::Yes;
  } else if (answerYes && buttons == MsgButtons::OkCancel) {
    answer = MsgAnswer::Ok;
  }
  messages.push_back({text, title, icon, buttons, answer});
  OnMessage(messages.back());
  return answer;
}

std::optional<std::string> ScriptedHost::InputBox(const std::string& prompt, const std::string&,
                                                  const std::string& defaultText) {
  prompts.push_back(prompt);
  if (inputs.empty()) return defaultText;
  auto a = inputs.front();
  inputs.pop_front();
  return a;
}

int ScriptedHost::Choose(const std::string& prompt, const std::string&,
                         const std::vector<std::string>&, int defaultIndex) {
  prompts.push_back(prompt);
  if (choices.empty()) return defaultIndex;
  int c = choices.front();
  choices.pop_front();
  return c;
}

static std::optional<std::string> NextPath(std::deque<std::optional<std::string>>& q) {
  if (q.empty()) return std::nullopt;
  auto p = q.front();
  q.pop_front();
  return p;
}

std::optional<std::string> ScriptedHost::ChooseOpenFile(const std::string&, const std::string&,
                                                        const std::string&) {
  return NextPath(chosenPaths);
}
std::optional<std::string> ScriptedHost::ChooseSaveFile(const std::string&, const std::string&,
                                                        const std::string&) {
  return NextPath(chosenPaths);
}
std::optional<std::string> ScriptedHost::ChooseFolder(const std::string&, const std::string&) {
  return NextPath(chosenPaths);
}

void ScriptedHost::TxbAppend(const std::string& text) {
  txb_ += text;
  txbChars_ += Utf8Length(text);
}
void ScriptedHost::TxbClear() {
  txb_.clear();
  txbChars_ = 0;
}
void ScriptedHost::TxbSet(const std::string& text) {
  txb_ = text;
  txbChars_ = Utf8Length(text);
}
std::size_t ScriptedHost::TxbLength() const { return txbChars_; }

void ScriptedHost::SetLabel(const std::string& name, const std::string& text) {
  labels[name] = text;
}
void ScriptedHost::SetCaption(const std::string& name, const std::string& text) {
  captions[name] = text;
}
std::string ScriptedHost::Caption(const std::string& name) const {
  auto it = captions.find(name);
  return it == captions.end() ? std::string() : it->second;
}

}  // namespace talq
