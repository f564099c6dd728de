#pragma once
// A chip model with main flash, data flash and an option window, and the helpers the
// object-file tests share.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/support/OutsideTools.h"
#include "tests/support/TempDir.h"
#include "images/ChipModel.h"
#include "tests/support/RecordingOperator.h"

namespace qx::test {

inline constexpr u32 kMainStart = 0x08000000;
inline constexpr u32 kMainSize = 0x40000;
inline constexpr u32 kEepStart = 0x08080000;
inline constexpr u32 kEepSize = 0x1000;
inline constexpr u32 kOptStart = 0x1FFFF800;

inline std::unique_ptr<ChipModel> MakeChip() {
  auto m = std::make_unique<ChipModel>();
  ChipParams& p = m->Params;
  p.MainFlashStart = kMainStart;
  p.MainFlashSize = kMainSize;
  p.MainFlashEnd = kMainStart + kMainSize - 1;
  p.EepStart = kEepStart;
  p.EepSize = kEepSize;
  p.EepEnd = kEepStart + kEepSize - 1;
  p.OptionStart = kOptStart;
  p.OptionEnd = kOptStart + 0x0F;
  p.InfoStart = NoWindow;
  p.InfoEnd = NoWindow;
  return m;
}

inline std::vector<u8> RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<u8> v(n);
  for (auto& b : v) b = static_cast<u8>(rng());
  return v;
}

// Lines of a formatted file, without their CR LF.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t e = text.find("\r\n", pos);
    out.push_back(text.substr(pos, e - pos));
    pos = e + 2;
  }
  return out;
}

inline int Run(const std::string& cmd) { return std::system((cmd + " >/dev/null 2>&1").c_str()); }

// An outside tool's command with %IN, %OUT and %ADDR ("0x%08X") put in.
inline std::string ToolCommand(std::string command, const std::string& in, const std::string& out, u32 address) {
  const auto replace = [&command](const std::string& key, const std::string& value) {
    for (std::size_t p; (p = command.find(key)) != std::string::npos;) command.replace(p, key.size(), value);
  };
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", address);
  replace("%IN", in);
  replace("%OUT", out);
  replace("%ADDR", hex);
  return command;
}

}  // namespace qx::test
