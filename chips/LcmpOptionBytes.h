#pragma once
// Option bytes of the LCM chips as the option dialog's controls show them: twenty
// value/complement pairs in bytes 0..39 (USER, DATA0..2, WRP0..3, RDP0..11).
#include <array>

#include "images/ChipModel.h"

namespace qx {

inline constexpr std::size_t LcmpUserBits = 4;
inline constexpr std::size_t LcmpDataBytes = 3;
inline constexpr std::size_t LcmpWrpRegisters = 4;
inline constexpr std::size_t LcmpRdpBytes = 12;
inline constexpr std::size_t LcmpOptionBytes = 40;
inline constexpr u8 LcmpUserDefault = 0xFB;
inline constexpr u8 LcmpRdpOff = 0xAA;

struct LcmpOptionControls {
  // ComBoxBOT0, ComBoxBOT1, ComBoxBTSEL, ComBoxWDG: the entry is the bit value (bits 0..3
  // of USER; WDG_SW 0 hardware, 1 software watchdog).
  std::array<int, LcmpUserBits> User{};
  std::array<i32, LcmpDataBytes> Data{};  // SpinEditDAT0..2; the low 8 bits are stored
  // [n][k]: box ChkBoxWRPnk ticked, bit k of WRPn cleared (write protection on).
  std::array<std::array<bool, 8>, LcmpWrpRegisters> WriteProtect{};
  // ComBoxRDP0..ComBoxRDPB: entry 0 0xAA (not protected), entry 1 0x00 (protection on).
  std::array<int, LcmpRdpBytes> ReadProtect{};
};

LcmpOptionControls LcmpControlsFromImage(const ChipModel& model);

// OK: writes bytes 0..39 (bits 4..7 of USER kept, each odd byte the complement of the one
// before) and recomputes OptionsChanged: set when USER is not 0xFB, a data or
// write-protection byte is not 0xFF or a read-protection byte is not 0xAA.
void WriteLcmpOptions(const LcmpOptionControls& controls, ChipModel& model);

}  // namespace qx
