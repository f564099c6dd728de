#pragma once
// The chip data model: the byte images, the selected chip's parameters, the settings sent
// with every command and the image checksums. One ChipModel lives for the whole run; the
// app creates it once and hands it on by reference (a test makes a fresh one).
#include <array>
#include <span>
#include <string>

#include "base/Types.h"

namespace qx {

inline constexpr u32 MainImageSize = 0x401000;
inline constexpr u32 EepImageSize = 0x40000;
inline constexpr u32 InfoImageSize = 0x2000;
inline constexpr u32 OptionImageSize = 0x2000;
inline constexpr u32 NoWindow = 0xFFFFFFFF;

struct ChipParams {
  u8 ManufacturerIndex = 0;
  u8 ProtocolKind = 0x55;
  u8 FamilyCode = 0;
  u8 Subtype = 0;
  u32 MainFlashSize = 0;
  u32 EepSize = 0;
  u32 DownloadSize = 0x20000;
  u32 EepDownloadSize = 0;
  u16 MainPageSize = 0;
  u16 EepPageSize = 0;
  u8 BlankIsZero = 0;
  u8 UseFlashDriver = 0;
  u32 MainImageOffset = 0;
  u32 EepStart = 0;
  u32 EepEnd = 0;
  u32 MainFlashStart = 0;
  u32 MainFlashEnd = 0;
  u8 OptionCode = 0;
  u32 InfoStart = 0;
  u32 InfoEnd = 0;
  u32 OptionStart = 0x1FFFF800;
  u32 OptionEnd = 0;
};

// Nine bytes, always copied as one block in this order.
struct ChipControl {
  u8 InterfaceFlags = 0;
  u8 PowerFlags = 0;
  u8 ResetFlags = 0;
  u8 ProgramFlags = 0;
  u8 EraseFlags = 0;
  u8 ExtControl1 = 0;
  u8 ExtControl2 = 0;
  u8 ExtControl3 = 0;
  u8 PowerOnTime = 10;
};

struct TimingSettings {
  u8 ChipInStableTime = 17;
  u8 ChipOutStableTime = 17;
  u8 PowerDownTime = 10;
  u16 RunShutTime = 0;
  u8 AutoStartCode = 0;
};

// SnFlags bit 0: the serial number is on.
inline constexpr u8 SnFlagOn = 0x01;

struct SnSettings {
  u8 SnFlags = 0;
  u8 SnLength = 4;
  u16 SnGain = 0;
  u32 SnValue = 0;
  u32 SnAddress = 0xFFFFFF;
  u32 SnMaxCount = 0;
};

struct ImageChecksums {
  u32 MainAcc32 = 0;
  u32 EepAcc32 = 0;
  u32 ChipChecksum = 0;
  u16 MainSum16 = 0;
  u16 MainCheck16 = 0;
  u16 EepSum16 = 0;
  u16 EepCheck16 = 0;
  u16 OptionSum16 = 0;
  u16 OptionCheck16 = 0;
  u32 FileChecksum = 0;
  u32 EepFileChecksum = 0;
  u32 ObjectCrc32 = 0;
};

struct Crc32Params {
  u32 Poly = 0;
  u32 Init = 0;
  u32 XorOut = 0;
  u8 Flags = 0;  // bit0 reflect input bytes, bit2 reflect the result
};

struct ChipModel {
  std::array<u8, MainImageSize> MainFlashImage;
  std::array<u8, EepImageSize> EepImage;
  std::array<u8, InfoImageSize> InfoAreaImage;
  std::array<u8, OptionImageSize> OptionImage;

  ChipParams Params;
  ChipControl Control;
  TimingSettings Timing;
  SnSettings Sn;
  ImageChecksums Sums;
  Crc32Params Crc;

  std::string ChipName;
  std::string ObjectFileName;
  std::string ProgrammerModel = "Nolbin200XX";
  u8 ChipSelected = 0;
  u8 ObjectLoaded = 0;
  u8 ProgramEep = 0;
  u8 ProgramOptionBytes = 0;
  u8 OptionsChanged = 0;
  u32 ObjectStart = 0;
  u32 ObjectEnd = 0;
  u32 LastLoadAddress = 0;
  u32 BinOffset = 0;
  u32 ReadStart = 0;
  u16 ReadLength = 64;
  u32 BootInfoEnd = 0;
  u32 AppInfoEnd = 0;
  u8 ProjectFlags = 0;
  u8 ProtectBits = 0;
  u8 ChipExtraByte = 0;
  u16 ExtraParamWord = 0;
  u8 DeviceAddress = 0;
  u8 FamilyParam1 = 0;
  u8 FamilyParam2 = 0;

  // The model as it stands after start-up: images erased, option image cleared.
  ChipModel();

  // The erased byte of the selected chip.
  u8 ErasedValue() const { return Params.BlankIsZero ? 0x00 : 0xFF; }
};

// Sets count bytes from the start of buffer to value; never more than the buffer holds.
void FillBytes(std::span<u8> buffer, std::size_t count, u8 value);

// An inclusive address window; both ends 0xFFFFFFFF means the chip has no such area and
// no address (0xFFFFFFFF included) belongs to it.
struct AddressWindow {
  u32 Start;
  u32 End;
  bool Absent() const { return Start == NoWindow && End == NoWindow; }
  bool Contains(u32 a) const { return !Absent() && Start <= a && a <= End; }
};

inline AddressWindow MainWindow(const ChipParams& p) { return {p.MainFlashStart, p.MainFlashEnd}; }
inline AddressWindow EepWindow(const ChipParams& p) { return {p.EepStart, p.EepEnd}; }
inline AddressWindow InfoWindow(const ChipParams& p) { return {p.InfoStart, p.InfoEnd}; }
inline AddressWindow OptionWindow(const ChipParams& p) { return {p.OptionStart, p.OptionEnd}; }

// Clamps the inclusive index range [first, last] of a buffer of size bytes: the sub-span
// that really lies in it (empty when first > last or first >= size).
std::span<u8> ClampRange(std::span<u8> buffer, u32 first, u32 last);
std::span<const u8> ClampRange(std::span<const u8> buffer, u32 first, u32 last);

}  // namespace qx
