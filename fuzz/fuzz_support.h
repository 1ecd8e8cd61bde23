// Shared pieces of the fuzz targets: a private scratch folder, inputs written to files there
// (the readers take paths), and a session set up once like the program's start-up.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/scripted_host.h"
#include "run/session.h"
#include "settings/defaults.h"
#include "settings/setting_choices.h"
#include "util/program_texts.h"

namespace talq::fuzz {

// This process's scratch folder, made on first use and removed at exit.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("talq_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                      ("talq_fuzz_" + std::to_string(::getpid())),
                                  ec);
    });
    return p;
  }();
  return dir;
}

// Writes bytes to name in the scratch folder (replacing it) and returns its path.
inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (ScratchDir() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

// Program texts loaded once (the data folder from TALQ_DATA_DIR or the source tree).
inline void LoadTextsOnce() {
  static const bool loaded = [] {
    LoadProgramTexts(DataDir() + "/talq.dat");
    return true;
  }();
  (void)loaded;
}

// A fresh session with start-up settings; questions take their default answers.
struct FreshSession {
  ScriptedHost host;
  Session s{host};
  FreshSession() {
    LoadTextsOnce();
    FillSettingChoices(s.settings);
    Initialize(s.settings, nullptr);
    s.settings.blnStartUpCompleted = true;
    s.settings.chkDisableOutputToFile = 1;
  }
};

// Reads settings bits from the front of a fuzz input.
class Bits {
 public:
  Bits(const std::uint8_t*& data, std::size_t& size, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes && size > 0; ++i, ++data, --size)
      value_ |= std::uint64_t(*data) << (8 * i);
  }
  // The next n bits as a number.
  unsigned Take(int n) {
    const unsigned v = unsigned(value_ & ((1u << n) - 1));
    value_ >>= n;
    return v;
  }
  bool Flag() { return Take(1) != 0; }

 private:
  std::uint64_t value_ = 0;
};

}  // namespace talq::fuzz
