#pragma once
// The counting serial number of the "S/N Set" page: where its bytes go in the main image,
// how the edit shows it, how it moves on, and the sums after the S/N constant dialog.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "base/MessageLog.h"
#include "base/Operator.h"
#include "images/ChipModel.h"

namespace qx {

// Image index of the S/N's lowest-address byte, when all SnLength bytes lie inside the main
// flash (and so inside the image and inside what can be programmed).
std::optional<u32> SerialNumberIndex(const ChipParams& params, const SnSettings& sn);

// The bytes of value in address order: big-endian puts the most significant byte first.
std::array<u8, 4> SerialNumberBytes(u32 value, bool bigEndian);

// The image index of the S/N at SnAddress, with DownloadSize widened to cover it (to the end
// of its 256-byte page, at most MainFlashSize) and logged. An address whose bytes do not lie
// inside the main flash is reported: nullopt, and the calling command stops before it sends
// anything.
std::optional<u32> PrepareSerialNumberRange(ChipModel& model, MessageLog& log, Operator& op);

// The serial number of unit k of a run: SnValue + k x SnGain (32-bit, wrapping), with its
// bytes and the image index of the first; nullopt when the address is refused as above.
struct UnitSerialNumber {
  u32 Value = 0;
  u32 Index = 0;
  std::array<u8, 4> Bytes{};
};
std::optional<UnitSerialNumber> SerialNumberForUnit(const ChipParams& params, const SnSettings& sn, bool bigEndian,
                                                    u8 unit);

// The text of the S/N edit: "%u" in decimal display, else "0x%0.8x".
std::string SerialNumberText(u32 value, bool decimal);

// The edit's text shown again in the other form (decimal display switched). Raises
// EConvertError when the text is not an integer; the caller keeps the text then.
std::string RedisplaySerialNumber(std::string_view text, bool decimal);

// After a chip of the automatic chain: with "Enable S/N" and "Enable Online SN" both
// checked, SnValue grows by SnGain and the new edit text is returned; otherwise nothing
// changes.
struct SerialNumberControls {
  bool CheckBoxSN = false;
  bool ChkBoxPCSN = false;
  bool ChkBoxSNDP = false;
};
std::optional<std::string> AdvanceSerialNumber(SnSettings& sn, const SerialNumberControls& controls);

// The "Fill SN Data" command needs a chip and a loaded object; otherwise the warning.
bool ConfigSnAllowed(const ChipModel& model, Operator& op);

// After the S/N constant dialog, whatever its result: DownloadSize trimmed again and
// logged, every sum recomputed and logged, the status bar refreshed.
void AfterConfigSn(ChipModel& model, MessageLog& log, Operator& op);

}  // namespace qx
