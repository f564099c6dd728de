#pragma once
// The programmer firmware file "QX740VRD.FWR": magic, version, header words, key, scrambled
// body, trailer and a 32-bit byte sum over everything before it.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/Types.h"

namespace qx {

inline constexpr std::size_t FirmwareImageSize = 0x10000;
inline constexpr std::string_view FirmwareFileName = "QX740VRD.FWR";
inline constexpr std::string_view FirmwareMagic = "NolFmWr";
inline constexpr u8 FirmwareMagicKey = 0xF5;
inline constexpr std::size_t FwVersionAt = 7;
inline constexpr std::size_t FwVersionSize = 8;
inline constexpr std::size_t FwMaskWordAt = 15;
inline constexpr std::size_t FwEndAddressAt = 17;
inline constexpr std::size_t FwByteCountAt = 23;
inline constexpr std::size_t FwKeyAt = 25;
inline constexpr std::size_t FwKeySize = 3290;
inline constexpr std::size_t FwKeyAreaSize = 4096;
inline constexpr std::size_t FwBodyAt = FwKeyAt + FwKeySize;  // 3315
inline constexpr std::size_t FwTrailerSize = 876;
inline constexpr u16 FirmwareBase = 0x1000;
// Body rows that still leave room for the trailer and the sum in the image.
inline constexpr std::size_t FirmwareMaxByteCount = (FirmwareImageSize - FwBodyAt - FwTrailerSize - 4) / 16 * 16;
static_assert(FirmwareMaxByteCount == 61328);

// The file length for a body of byteCount bytes.
constexpr std::size_t FirmwareFileSize(std::size_t byteCount) {
  return FwBodyAt + (byteCount + 15) / 16 * 16 + FwTrailerSize + 4;
}

struct FirmwareFile {
  std::array<u8, FirmwareImageSize> Image{};
  u8 FirmwareLoaded = 0;
  std::array<u8, FwVersionSize> FirmwareVersion{};
  u16 FirmwareEndAddress = 0;
  u16 FirmwareByteCount = 0;
  u16 FirmwareBaseAddress = 0;
};

// The upgrade's block count: (end - base) div 1024 + 1.
u16 FirmwareBlockCount(const FirmwareFile& fw);

// Loads and checks the file; no message of its own. Besides a wrong magic or sum, a body
// that would not fit the image, an end address below 0x1000 and a file shorter than its
// layout leave FirmwareLoaded 0 (and the version empty).
void LoadFirmwareFile(FirmwareFile& fw, const std::string& path);

}  // namespace qx
