#pragma once
// Flash-driver files (".KDV", magic "DXFLSDRV"): lookup by chip name, loading with
// descrambling and checks, and the segments that chip commands carry.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "base/Operator.h"
#include "base/Types.h"
#include "chips/DriverFileRow.h"
#include "programmer/DriverSegments.h"
#include "programmer/WireBuffers.h"

namespace qx {

inline constexpr std::size_t DriverImageSize = 0x4000;
// The descrambling rows run up to 47 bytes past the file's end; they must stay in the image.
inline constexpr std::size_t DriverFileMaxSize = DriverImageSize - 32;
inline constexpr std::size_t DriverBodyAt = 64;
inline constexpr std::size_t DriverFileOverhead = 104;  // header 64, trailer 40
inline constexpr u8 DriverScrambleKey = 0xF2;
inline constexpr std::string_view DriverMagic = "DXFLSDRV";
inline constexpr std::string_view DriverFolder = "DromixDRVs/";
inline constexpr std::string_view DriverExtension = ".KDV";

struct FlashDriver {
  std::array<u8, DriverImageSize> Image{};
  u16 DriverSize = 0;
  u8 DriverLoaded = 0;
  std::string DriverFilePath;
};

// Every maker module's rows, in maker order: the first row whose prefix starts the chip
// name wins (case-sensitive).
std::span<const DriverFileRow> DriverFileTable();

// appDir + "DromixDRVs/" + stem + ".KDV"; no match shows "Error Chip or Driver not exists!"
// and gives "".
std::string GetDriverFileName(std::string_view chipName, std::string_view appDir, MessageBoxes& op);

bool CheckFlashDriver(const FlashDriver& driver);

// Undoes the row scrambling of a driver file of fileLength bytes in image (from byte 32 on,
// rows of 16 bytes keyed by bytes 16..31, 0xF2 and the row number). Applying it twice
// restores the bytes. fileLength must be 1 .. DriverFileMaxSize.
void DescrambleDriver(std::span<u8, DriverImageSize> image, std::size_t fileLength);

// What the checks of a driver image found. A step segment longer than its room is no
// damage: the file may be whole and meant for another family.
struct DriverImageVerdict {
  enum class Kind : u8 { Valid, Damaged, StepSegmentTooLong };
  Kind Result = Kind::Valid;
  u16 SegmentEntry = 0;  // StepSegmentTooLong: the segment's table entry, its length, its room
  u16 Length = 0;
  u16 Room = 0;
};

// Checks of a descrambled image of fileLength bytes: magic, L + 104 = length, body check,
// and every segment inside the image and inside the packet slot at the furthest destination
// the requests of familyCode copy it to, and a step segment no longer than its room before
// a common segment.
DriverImageVerdict CheckDriverImage(std::span<const u8, DriverImageSize> image, std::size_t fileLength, u8 familyCode);

// Finds, reads, descrambles and checks the driver of chipName for a chip of familyCode;
// reports failures to op. DriverSize changes only when the file was read.
void LoadFlashDriver(FlashDriver& driver, std::string_view chipName, u8 familyCode, std::string_view appDir,
                     MessageBoxes& op);

// Copies the segment that stepState selects into packet from destAt on and returns its
// length; 0 for a step without a segment, an empty entry, or no valid driver loaded.
u16 CopyDriverStepSegment(const FlashDriver& driver, u8 stepState, std::span<u8, PacketSlotSize> packet, u16 destAt);
// The same for the common segment (entry at 48), whatever the step.
u16 CopyDriverCommonSegment(const FlashDriver& driver, std::span<u8, PacketSlotSize> packet, u16 destAt);

}  // namespace qx
