#include "chips/Spd117xConfigBytes.h"

#include <algorithm>

namespace qx {
namespace {

constexpr std::size_t kLockAt = 0;
constexpr std::size_t kWatchdogAt = 4;
constexpr std::size_t kWordBytes = 4;

bool Erased(const ChipModel& model, std::size_t at) {
  const auto first = model.OptionImage.begin() + static_cast<std::ptrdiff_t>(at);
  return std::all_of(first, first + kWordBytes, [](u8 b) { return b == 0xFF; });
}

void Put(ChipModel& model, std::size_t at, u8 value) {
  std::fill_n(model.OptionImage.begin() + static_cast<std::ptrdiff_t>(at), kWordBytes, value);
}

}  // namespace

Spd117xConfigControls Spd117xControlsFromImage(const ChipModel& model) {
  return {!Erased(model, kLockAt), !Erased(model, kWatchdogAt)};
}

void WriteSpd117xConfig(const Spd117xConfigControls& controls, ChipModel& model) {
  model.OptionImage.fill(0xFF);
  if (controls.LockDebug) Put(model, kLockAt, 0x55);
  if (controls.StartWatchdog) Put(model, kWatchdogAt, 0x33);
}

}  // namespace qx
