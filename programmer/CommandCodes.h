#pragma once
// First byte of every request, and the operations carried in Param of CmdChipOperation.
#include <array>

#include "base/Types.h"

namespace qx {

inline constexpr u8 CmdChipData = 0x53;
inline constexpr u8 CmdDownloadMainBlock = 0x55;
inline constexpr u8 CmdDownloadEepBlock = 0x5A;
inline constexpr u8 CmdDriverBlock = 0x5F;
inline constexpr u8 CmdRestart = 0x8A;
inline constexpr u8 CmdChipOperation = 0x93;
inline constexpr u8 CmdProgramMainBlock = 0x95;
inline constexpr u8 CmdProgramEepBlock = 0x99;
inline constexpr u8 CmdReadMainBlock = 0x9B;
inline constexpr u8 CmdReadEepBlock = 0x9D;
inline constexpr u8 CmdFirmwareBlock = 0xB7;
inline constexpr u8 CmdFirmwareEnd = 0xBD;

inline constexpr u16 OpErase = 3;
inline constexpr u16 OpBlankCheck = 5;
inline constexpr u16 OpReadChecksum = 48;
inline constexpr u16 OpReadOption = 51;
inline constexpr u16 OpWriteOption = 53;
inline constexpr u16 OpReadChipInfo = 60;
inline constexpr u16 OpReadAddress = 121;

// Reply types that are not answers to a request.
inline constexpr u8 PktProgressReport = 0xFD;
inline constexpr u8 PktIgnored = 0xFA;

// The identification probe: already framed, no header and no check word.
inline constexpr std::array<u8, 3> IdentTag = {0xA3, 0xA5, 0x35};
inline constexpr std::array<u8, 10> DeviceProbeFrame = {0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

}  // namespace qx
