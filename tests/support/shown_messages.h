// The messages a ScriptedHost showed, one comparable line each, so a test checks every
// message and that no other appeared in one comparison.
#pragma once

#include <string>
#include <vector>

#include "host/scripted_host.h"

namespace talq::test {

// "title: text" for every message, in the order shown.
inline std::vector<std::string> Shown(const ScriptedHost& host) {
  std::vector<std::string> shown;
  for (const auto& m : host.messages) shown.push_back(m.title + ": " + m.text);
  return shown;
}

using Lines = std::vector<std::string>;

}  // namespace talq::test
