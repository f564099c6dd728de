#pragma once
// Builders of every request but the firmware upgrade's: each fills the unit's packet slot,
// stores the check word, frames it into the unit's transmit slot and writes the frame to
// the unit's port. They return the packet length (0 for the probe, which is no packet).
#include "images/ChipModel.h"
#include "base/Types.h"
#include "programmer/ProtocolState.h"
#include "programmer/RandomSource.h"
#include "programmer/UnitPort.h"
#include "programmer/UnitStep.h"

namespace qx {

// What a builder needs for unit Unit. StepState must already hold the step whose request is
// built: it selects the flash-driver segment. UnitCount feeds the serial-number step of the
// settings block.
struct CommandTarget {
  const ChipModel& Model;
  ProtocolState& State;
  RandomSource& Random;
  UnitPort& Port;
  u8 Unit = 0;
  u8 StepState = StepIdle;
  u8 UnitCount = 1;
};

inline constexpr u16 DataBlockSize = 4096;
inline constexpr u16 DriverBlockSize = 2048;

void SendDeviceProbe(const CommandTarget& t);
u16 SendChipDataCmd(const CommandTarget& t, u16 nonce);
u16 SendDriverBlockCmd(const CommandTarget& t);
// Block b carries the 4096 image bytes from b * 1024 + offset; bytes outside the image are
// sent as the erased value.
u16 SendDownloadMainBlockCmd(const CommandTarget& t, u16 block, i32 offset);
u16 SendDownloadEepBlockCmd(const CommandTarget& t, u16 block, i32 offset);
// 0x93 with an operation code, 0x9B / 0x9D with a block index.
u16 SendChipCommand(const CommandTarget& t, u8 command, u16 param);
u16 SendProgramMainBlockCmd(const CommandTarget& t, u16 block, i32 offset);
u16 SendProgramEepBlockCmd(const CommandTarget& t, u16 block, i32 offset);
// The one packet whose check word leaves out its last payload byte.
u16 SendWriteOptionCmd(const CommandTarget& t);
u16 SendReadAddressCmd(const CommandTarget& t, u16 param);
u16 SendRestartCmd(const CommandTarget& t);

// Shared by the builders here and of the firmware upgrade.
void PutPacketHeader(std::span<u8> packet, u8 command, u16 param, const ChipParams& chip, u16 payloadLength);
// Stores the check word over packet[0 .. checkedBytes) at 8 + N, frames the N + 10 bytes
// into the unit's transmit slot and writes the frame. Returns N + 10.
u16 FinishAndSend(const CommandTarget& t, u16 payloadLength, std::size_t checkedBytes);
u16 FinishAndSend(const CommandTarget& t, u16 payloadLength);

}  // namespace qx
