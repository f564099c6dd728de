#include "programmer/FlashDriver.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "images/BinaryFile.h"
#include "base/ByteOrder.h"
#include "chips/MakerRegistry.h"
#include "images/Checksums.h"
#include "programmer/RequestLayout.h"
#include "texts/Texts.h"

namespace qx {

namespace {

bool SegmentFits(std::size_t offset, std::size_t length, std::size_t destAt) {
  return offset + length <= DriverImageSize && destAt + length + 2 <= PacketSlotSize;
}

TextId SegmentName(u16 entryAt) {
  switch (entryAt) {
    case SegBlankCheckAt: return TextId::DriverSegmentBlankCheck;
    case SegReadChecksumAt: return TextId::DriverSegmentReadChecksum;
    case SegEraseAt: return TextId::DriverSegmentErase;
    case SegProgramAt: return TextId::DriverSegmentProgram;
    default: return TextId::DriverSegmentWriteOption;
  }
}

u16 CopySegment(const FlashDriver& driver, u16 entryAt, std::span<u8, PacketSlotSize> packet, u16 destAt) {
  if (!driver.DriverLoaded || entryAt == 0) return 0;
  const u16 offset = GetLe16(driver.Image, entryAt);
  const u16 length = GetLe16(driver.Image, entryAt + 2u);
  // The loader has checked every entry; this only guards a caller's unusual destination.
  if (length == 0 || !SegmentFits(offset, length, destAt)) return 0;
  std::copy_n(driver.Image.begin() + offset, length, packet.begin() + destAt);
  return length;
}

}  // namespace

std::span<const DriverFileRow> DriverFileTable() {
  static const std::vector<DriverFileRow> kRows = [] {
    std::vector<DriverFileRow> rows;
    for (const MakerModule* m : MakerModules) rows.insert(rows.end(), m->driverFiles.begin(), m->driverFiles.end());
    return rows;
  }();
  return kRows;
}

std::string GetDriverFileName(std::string_view chipName, std::string_view appDir, MessageBoxes& op) {
  const std::string_view stem = DriverStemOf(chipName);
  if (stem.empty()) {
    op.Ask(MsgKind::Error, Text(TextId::DriverChipNotExists), MsgButtons::Ok);
    return {};
  }
  std::string path(appDir);
  path += DriverFolder;
  path += stem;
  path += DriverExtension;
  return path;
}

bool CheckFlashDriver(const FlashDriver& driver) {
  return std::equal(DriverMagic.begin(), DriverMagic.end(), driver.Image.begin());
}

void DescrambleDriver(std::span<u8, DriverImageSize> image, std::size_t fileLength) {
  if (fileLength == 0 || fileLength > DriverFileMaxSize) return;
  std::array<u8, 16> key{};
  std::copy_n(image.begin() + 16, 16, key.begin());
  const std::size_t rows = (fileLength - 1) / 16 + 1;
  for (std::size_t r = 0; r < rows; ++r) {
    for (std::size_t i = 0; i < 16; ++i) {
      u8& b = image[DriverSegmentTableAt + 16 * r + i];
      b = static_cast<u8>(b ^ DriverScrambleKey ^ static_cast<u8>(r & 0xFF) ^ key[i]);
    }
  }
}

DriverImageVerdict CheckDriverImage(std::span<const u8, DriverImageSize> image, std::size_t fileLength, u8 familyCode) {
  using Kind = DriverImageVerdict::Kind;
  const DriverImageVerdict damaged{Kind::Damaged};
  if (fileLength < DriverFileOverhead || fileLength > DriverFileMaxSize) return damaged;
  if (!std::equal(DriverMagic.begin(), DriverMagic.end(), image.begin())) return damaged;
  const std::size_t bodyLength = GetLe16(image, 12);
  if (fileLength != bodyLength + DriverFileOverhead) return damaged;
  const u16 check = bodyLength == 0 ? 0 : CalcCheck16(image.subspan(DriverBodyAt, bodyLength));
  if (check != GetLe16(image, 10)) return damaged;
  for (const u16 entryAt : DriverSegmentEntries) {
    const u16 destAt = FurthestSegmentDestination(entryAt, familyCode);
    if (!SegmentFits(GetLe16(image, entryAt), GetLe16(image, entryAt + 2u), destAt)) return damaged;
  }
  // A longer step segment would go out cut, the common segment over its end.
  for (const u16 entryAt : DriverSegmentEntries) {
    const u16 length = GetLe16(image, entryAt + 2u);
    const u16 room = StepSegmentRoom(entryAt, familyCode);
    if (length > room) return {Kind::StepSegmentTooLong, entryAt, length, room};
  }
  return {};
}

void LoadFlashDriver(FlashDriver& driver, std::string_view chipName, u8 familyCode, std::string_view appDir,
                     MessageBoxes& op) {
  driver.DriverLoaded = 0;
  std::fill(driver.Image.begin(), driver.Image.end(), u8{0xFF});
  driver.DriverFilePath = GetDriverFileName(chipName, appDir, op);
  if (driver.DriverFilePath.empty()) {
    op.Ask(MsgKind::Error, Text(TextId::DriverNotFound), MsgButtons::Ok);
    return;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(driver.DriverFilePath, ec)) {
    op.Ask(MsgKind::Error, Tx(TextId::DriverFileNotExists, driver.DriverFilePath), MsgButtons::Ok);
    return;
  }
  u32 count = static_cast<u32>(driver.Image.size());
  const BinaryLoadResult read = LoadBinaryFile(driver.DriverFilePath, driver.Image, count);
  // A file that could not be read leaves the size of the last one read.
  if (read.Ok) driver.DriverSize = static_cast<u16>(read.FileSize);
  // The length is checked before anything is descrambled: a longer file is never taken.
  const bool lengthOk = read.Ok && read.FileSize >= DriverFileOverhead && read.FileSize <= DriverFileMaxSize;
  if (lengthOk) DescrambleDriver(driver.Image, read.FileSize);
  using Kind = DriverImageVerdict::Kind;
  const DriverImageVerdict verdict =
      lengthOk ? CheckDriverImage(driver.Image, read.FileSize, familyCode) : DriverImageVerdict{Kind::Damaged};
  switch (verdict.Result) {
    case Kind::Valid: break;
    case Kind::Damaged:
      op.Ask(MsgKind::Error, Text(TextId::DriverDataCheckError), MsgButtons::Ok);
      return;
    case Kind::StepSegmentTooLong:
      op.Ask(MsgKind::Error,
             Tx(TextId::DriverStepSegmentTooLong, driver.DriverFilePath, Text(SegmentName(verdict.SegmentEntry)),
                u32{verdict.Length}, u32{verdict.Room}),
             MsgButtons::Ok);
      return;
  }
  driver.DriverLoaded = 1;
}

u16 CopyDriverStepSegment(const FlashDriver& driver, u8 stepState, std::span<u8, PacketSlotSize> packet, u16 destAt) {
  return CopySegment(driver, StepSegmentEntry(stepState), packet, destAt);
}

u16 CopyDriverCommonSegment(const FlashDriver& driver, std::span<u8, PacketSlotSize> packet, u16 destAt) {
  return CopySegment(driver, SegCommonAt, packet, destAt);
}

}  // namespace qx
