#pragma once
// Listings of the option or information data a unit read back from its chip. The
// read-option result handler calls them after a successful reply, with the reply's payload
// as it arrived: the bytes between the decoded packet's header and check word, never more
// than the packet slot holds. A listing shows only bytes the payload carries: when the payload is
// shorter than the listing needs, one stamped line names the unit and the two lengths and
// nothing else is listed.
//
// `unit` is the unit's index 0..9; the log shows it numbered from 1.
#include <cstddef>
#include <span>

#include "images/ChipModel.h"
#include "base/MessageLog.h"

namespace qx {

// Payload bytes each listing needs.
inline constexpr std::size_t ReadOptionBytesAC78x = 46;    // AutoChip below subtype 16
inline constexpr std::size_t ReadOptionBytesAC7840x = 12;  // AutoChip subtype 16 and above
inline constexpr std::size_t ReadOptionBytesAucu = 256;
inline constexpr std::size_t ReadOptionBytesLcmp = 39;
inline constexpr std::size_t ReadOptionBytesSilergy = 72;

// AutoChip, by the chip's subtype: below 16 one stamped line " C<n> Read Option:" with the
// eight option words; 16 and above the stamped " C<n> Read Option:" heading and the SEC,
// PPROT and DPROT words as eight hex digits each.
void ShowReadOptionAC78x(MessageLog& log, const ChipParams& params, u8 unit, std::span<const u8> payload);
// AUCU: ">     C<n> Read Chip Config Data:" and sixteen rows of sixteen bytes (plain).
void ShowReadOptionAucu(MessageLog& log, u8 unit, std::span<const u8> payload);
// LCM: USER, DATA0..2, ROP, ROP2 and WRP0..2 (plain).
void ShowReadOptionLcmp(MessageLog& log, u8 unit, std::span<const u8> payload);
// Silergy: the information segment as nine pages of eight bytes (plain).
void ShowReadOptionSilergy(MessageLog& log, u8 unit, std::span<const u8> payload);

// The listing of the chip's maker module (AutoChip, AUCU, LCM, Silergy); false, with
// nothing listed, for a maker without one and for an index outside the known makers.
bool ShowReadOption(MessageLog& log, const ChipModel& model, u8 unit, std::span<const u8> payload);

}  // namespace qx
