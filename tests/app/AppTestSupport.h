#pragma once
// A chip with main flash, data flash and option bytes, a message log with a fixed clock, and
// an operator that records the view refreshes besides the message boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/MessageLog.h"
#include "images/ChipModel.h"
#include "tests/images/ObjectFileFixture.h"
#include "tests/support/RecordingOperator.h"

namespace qx::test {

class ViewRecorder : public RecordingOperator {
 public:
  void ShowMainHex(u32 first, u32 last) override { mainHex.emplace_back(first, last); }
  void UpdateMainHexRows(u32 a, u32 b) override { mainRows.emplace_back(a, b); }
  void ShowEepData() override { ++eepViews; }
  void ShowOptionData() override { ++optionViews; }
  void ChecksumsChanged() override { ++checksumRefreshes; }

  std::vector<std::pair<u32, u32>> mainHex;
  std::vector<std::pair<u32, u32>> mainRows;
  int eepViews = 0;
  int optionViews = 0;
  int checksumRefreshes = 0;
};

inline MessageLog FixedClockLog() {
  return MessageLog([] { return std::string("12:00:00"); });
}

// The time-stamped form of a log line.
inline std::string Info(const std::string& text) { return "> 12:00:00 " + text; }

// "0x%08X", the form of the addresses and sums in the log.
inline std::string Hex8(u32 v) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%08X", v);
  return b;
}

inline bool HasLine(const MessageLog& log, const std::string& line) {
  const auto& l = log.Lines();
  return std::find(l.begin(), l.end(), line) != l.end();
}

inline std::unique_ptr<ChipModel> ChosenChip() {
  auto chip = MakeChip();
  chip->ChipSelected = 1;
  chip->Params.DownloadSize = chip->Params.MainFlashSize;
  return chip;
}

}  // namespace qx::test
