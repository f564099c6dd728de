#pragma once
// Intel HEX object files: read into the chip images by address window, and an address
// range of the main-flash image written back out.
#include <span>
#include <string>
#include <string_view>

#include "images/ByteSink.h"
#include "images/ChipModel.h"
#include "images/LineParseResult.h"
#include "images/ObjectReadResult.h"
#include "base/Operator.h"
#include "images/RecordRouting.h"

namespace qx {

struct HexReaderState {
  u32 Ela = 0;  // extended linear address
  u32 Esa = 0;  // extended segment address
  ObjectRange Range;
  bool EndRecord = false;  // a whole type 01 record was read
};

// One record line (without its line end). Out-of-chip records are reported to op; a
// damaged line stores nothing.
LineParseResult ParseHexLine(ChipModel& model, std::string_view line, HexReaderState& state, MessageBoxes& op);

// Reads every line of the file (an end-of-file record does not stop it). objectStart and
// objectEnd receive the lowest and highest address stored in the main, data-flash or info
// window, sum the byte sum of all data bytes. A bad line asks OK/Abort (Abort stops the
// read). The result tells whether the file must be refused, what was skipped and whether
// its end record was there; the images hold what was stored either way. Raises EInOutError when the file is not a regular file, cannot be opened or
// cannot be read.
ObjectReadResult LoadIntelHexFile(ChipModel& model, const std::string& fileName, u32& objectStart, u32& objectEnd, u32& sum,
                      MessageBoxes& op);

// The file text for data whose first byte lies at startAddress, record by record into out:
// 16-byte records without extended addresses when the last address is at most 0xFFFF, else
// 32-byte records that never cross a 64 KiB boundary. Lines end with CR LF.
void WriteIntelHex(ByteSink& out, std::span<const u8> data, u32 startAddress);
// The same text as one string.
std::string FormatIntelHex(std::span<const u8> data, u32 startAddress);

// Writes the main-flash bytes of the addresses start..end (clamped to the image) as an
// Intel HEX file. Raises EInOutError when the file cannot be written.
void SaveIntelHexFile(const ChipModel& model, const std::string& fileName, u32 startAddress, u32 endAddress);

}  // namespace qx
