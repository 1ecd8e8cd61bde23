// The command line's Host.
#include "cli/cli_host.h"

#include <ostream>

namespace talq::cli {

std::string MessageLine(const std::string& title, const std::string& text) {
  return title.empty() ? text : title + ": " + text;
}

CliHost::CliHost(std::ostream& err, bool quiet, bool progress)
    : err_(err), quiet_(quiet), progress_(progress && !quiet) {}

void CliHost::OnMessage(const Message& m) {
  std::string line = MessageLine(m.title, m.text);
  if (quiet_) {
    held_.push_back(line);
    return;
  }
  ClearProgress();
  err_ << line << '\n';
}

void CliHost::FlushHeldMessages() {
  for (const auto& line : held_) err_ << line << '\n';
  held_.clear();
}

void CliHost::Pump() {
  // The engine pumps several times a word; Ctrl-C, the clock and the progress line are
  // looked at every 64th call only.
  if ((++pumps & 63) != 0) return;
  if (onPump) onPump();
  if (!progress_ || !progressText) return;
  if ((pumps & 4095) != 0) return;
  auto now = std::chrono::steady_clock::now();
  if (now - lastProgress_ < std::chrono::milliseconds(200)) return;
  lastProgress_ = now;
  err_ << "\r\033[K" << progressText() << std::flush;
  progressShown_ = true;
}

void CliHost::ClearProgress() {
  if (!progressShown_) return;
  err_ << "\r\033[K" << std::flush;
  progressShown_ = false;
}

}  // namespace talq::cli
