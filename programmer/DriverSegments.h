#pragma once
// The segment table of a flash-driver image: where each entry stands, by file offset. Both
// the driver loader and the request layout read it, so it stands apart from either.
#include <array>
#include <cstddef>

#include "base/Types.h"

namespace qx {

inline constexpr std::size_t DriverSegmentTableAt = 32;

// Entries of the segment table, by file offset.
inline constexpr u16 SegBlankCheckAt = 32;
inline constexpr u16 SegReadChecksumAt = 36;
inline constexpr u16 SegEraseAt = 40;
inline constexpr u16 SegProgramAt = 44;
inline constexpr u16 SegWriteOptionAt = 48;
inline constexpr u16 SegCommonAt = SegWriteOptionAt;
// Every entry, in table order.
inline constexpr std::array<u16, 5> DriverSegmentEntries = {SegBlankCheckAt, SegReadChecksumAt, SegEraseAt,
                                                            SegProgramAt, SegWriteOptionAt};

}  // namespace qx
