#include "chips/LcmpOptionBytes.h"

namespace qx {
namespace {

constexpr std::size_t kDataAt = 2;
constexpr std::size_t kWrpAt = 8;
constexpr std::size_t kRdpAt = 16;
constexpr u8 kRdpOn = 0x00;

constexpr std::size_t Pair(std::size_t first, std::size_t i) { return first + 2 * i; }

}  // namespace

LcmpOptionControls LcmpControlsFromImage(const ChipModel& model) {
  const auto& o = model.OptionImage;
  LcmpOptionControls c;
  for (std::size_t b = 0; b < LcmpUserBits; ++b) c.User[b] = (o[0] >> b) & 1;
  for (std::size_t i = 0; i < LcmpDataBytes; ++i) c.Data[i] = o[Pair(kDataAt, i)];
  for (std::size_t n = 0; n < LcmpWrpRegisters; ++n) {
    for (unsigned k = 0; k < 8; ++k) c.WriteProtect[n][k] = ((o[Pair(kWrpAt, n)] >> k) & 1) == 0;
  }
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i) c.ReadProtect[i] = o[Pair(kRdpAt, i)] == LcmpRdpOff ? 0 : 1;
  return c;
}

void WriteLcmpOptions(const LcmpOptionControls& controls, ChipModel& model) {
  auto& o = model.OptionImage;
  unsigned user = o[0] & 0xF0u;
  for (std::size_t b = 0; b < LcmpUserBits; ++b) user |= (controls.User[b] == 1 ? 1u : 0u) << b;
  o[0] = static_cast<u8>(user);
  bool changed = o[0] != LcmpUserDefault;

  for (std::size_t i = 0; i < LcmpDataBytes; ++i) o[Pair(kDataAt, i)] = static_cast<u8>(controls.Data[i]);
  for (std::size_t n = 0; n < LcmpWrpRegisters; ++n) {
    unsigned bits = 0;
    for (unsigned k = 0; k < 8; ++k) bits |= controls.WriteProtect[n][k] ? 0u : 1u << k;
    o[Pair(kWrpAt, n)] = static_cast<u8>(bits);
  }
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i)
    o[Pair(kRdpAt, i)] = controls.ReadProtect[i] == 0 ? LcmpRdpOff : kRdpOn;
  for (std::size_t i = 0; i < LcmpOptionBytes / 2; ++i) o[2 * i + 1] = static_cast<u8>(~o[2 * i]);

  for (std::size_t i = 0; i < LcmpDataBytes + LcmpWrpRegisters; ++i) changed = changed || o[Pair(kDataAt, i)] != 0xFF;
  for (std::size_t i = 0; i < LcmpRdpBytes; ++i) changed = changed || o[Pair(kRdpAt, i)] != LcmpRdpOff;
  model.OptionsChanged = changed ? 1 : 0;
}

}  // namespace qx
