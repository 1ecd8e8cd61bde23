// The command line's Host: messages go to standard error as "Title: text", questions take
// their default answers (or Yes), the text box is unlimited and printed at the end, and a
// one-line progress indicator is drawn on a terminal.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>

#include "host/scripted_host.h"

namespace talq::cli {

class CliHost : public ScriptedHost {
 public:
  CliHost(std::ostream& err, bool quiet, bool progress);

  // Called from Pump(): the run's clock, stop requests, progress.
  std::function<void()> onPump;
  // Text of the progress line, asked for at most a few times a second.
  std::function<std::string()> progressText;

  void Pump() override;
  // Removes the progress line, if one is shown.
  void ClearProgress();
  // Writes every message held back by --quiet (used when the run fails).
  void FlushHeldMessages();

 protected:
  void OnMessage(const Message& m) override;

 private:
  std::ostream& err_;
  bool quiet_;
  bool progress_;
  bool progressShown_ = false;
  std::chrono::steady_clock::time_point lastProgress_{};
  std::vector<std::string> held_;
};

// "Title: text", or the text alone when the title is empty.
std::string MessageLine(const std::string& title, const std::string& text);

}  // namespace talq::cli
