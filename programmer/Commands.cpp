#include "programmer/Commands.h"

#include <algorithm>
#include <cstdint>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "programmer/ChipInfoHeader.h"
#include "programmer/CommandCodes.h"
#include "programmer/Frame.h"
#include "programmer/RequestLayout.h"
#include "programmer/SettingsBlock.h"

namespace qx {

namespace {

constexpr u16 HeaderAt = 8;
constexpr u16 AfterHeaderAt = HeaderAt + ChipInfoHeaderSize;  // 88
constexpr u16 ChipCmdPayload = 80;
constexpr u16 ProgramPayload = 4176;
constexpr u16 WriteOptionPayload = 1104;
constexpr u16 WriteOptionPayloadC0 = 4176;
constexpr u16 ReadAddressPayload = 64;
constexpr u16 ChipDataPayload = 1024;

UnitBuffers& Slots(const CommandTarget& t) { return t.State.Units[t.Unit % UnitMax]; }
std::span<u8, PacketSlotSize> Packet(const CommandTarget& t) { return Slots(t).PacketBuf; }

void PutHeaderAt(const CommandTarget& t, u16 at, u16 headerParam) {
  const auto header = Packet(t).subspan(at).first<ChipInfoHeaderSize>();
  FillChipInfoHeader(t.Model, t.Random, headerParam, header);
  // A unit with a serial number of its own is told the sums of its own bytes.
  const UnitSerialPatch& serial = Slots(t).Serial;
  if (serial.Active) {
    PutLe16(header, ChipInfoMainCheck16At, serial.MainCheck16);
    PutLe16(header, ChipInfoMainSum16At, serial.MainSum16);
  }
}

// The 4096 image bytes from start; what lies outside the image goes as the erased value.
void CopyImageBlock(std::span<const u8> image, std::int64_t start, std::span<u8> out, u8 erased) {
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::int64_t at = start + static_cast<std::int64_t>(i);
    out[i] = (at >= 0 && at < static_cast<std::int64_t>(image.size())) ? image[static_cast<std::size_t>(at)] : erased;
  }
}

// With a flash driver: the segments the request carries for the unit's step and the chip's
// family (RequestLayout.h), and the payload length recounted to the end of the last one.
// Without: payloadLength as it is.
u16 PutDriverSegments(const CommandTarget& t, DriverRequest request, u16 payloadLength) {
  const ChipParams& chip = t.Model.Params;
  if (!chip.UseFlashDriver) return payloadLength;
  auto packet = Packet(t);
  const SegmentPlacement at = DriverSegmentPlacement(request, chip.FamilyCode);
  std::size_t end = at.StepAt + CopyDriverStepSegment(t.State.Driver, t.StepState, packet, at.StepAt);
  if (at.CommonAt != 0) end = at.CommonAt + CopyDriverCommonSegment(t.State.Driver, packet, at.CommonAt);
  const u16 n = static_cast<u16>(end - HeaderAt);
  PutLe16(packet, 6, n);
  return n;
}

std::int64_t BlockStart(u16 block, i32 offset) { return static_cast<std::int64_t>(block) * 1024 + offset; }

// The blocks that carry nothing but image bytes go the most often: they are copied,
// checked and framed in one pass.
u16 SendDataBlock(const CommandTarget& t, u8 command, std::span<const u8> image, u16 block, i32 offset) {
  UnitBuffers& slots = Slots(t);
  std::array<u8, HeaderAt> header{};
  PutPacketHeader(header, command, block, t.Model.Params, DataBlockSize);
  FrameBuilder frame(slots.PacketBuf, slots.TxFrameBuf);
  frame.Append(header);
  // What lies outside the image goes as the erased value.
  const std::int64_t start = BlockStart(block, offset);
  const std::int64_t size = static_cast<std::int64_t>(image.size());
  const std::int64_t from = std::clamp<std::int64_t>(start, 0, size);
  const std::int64_t to = std::clamp<std::int64_t>(start + DataBlockSize, 0, size);
  const auto before = static_cast<std::size_t>(std::clamp<std::int64_t>(from - start, 0, DataBlockSize));
  const auto inside = static_cast<std::size_t>(to - from);
  const u8 erased = t.Model.ErasedValue();
  frame.AppendFill(erased, before);
  frame.Append(image.subspan(static_cast<std::size_t>(from), inside));
  frame.AppendFill(erased, DataBlockSize - before - inside);
  const u16 frameLength = frame.Finish();
  NoteRequestSent(slots);
  t.Port.WriteData(std::span<const u8>(slots.TxFrameBuf).first(frameLength));
  return static_cast<u16>(frame.PacketLength());
}

u16 SendProgramBlock(const CommandTarget& t, u8 command, std::span<const u8> image, u16 block, i32 offset) {
  auto packet = Packet(t);
  PutPacketHeader(packet, command, block, t.Model.Params, ProgramPayload);
  PutHeaderAt(t, HeaderAt, 0);
  const auto data = packet.subspan(AfterHeaderAt, DataBlockSize);
  CopyImageBlock(image, BlockStart(block, offset), data, t.Model.ErasedValue());
  if (command == CmdProgramMainBlock) OverlaySerialPatch(Slots(t).Serial, BlockStart(block, offset), data);
  return FinishAndSend(t, PutDriverSegments(t, DriverRequest::ProgramBlock, ProgramPayload));
}

}  // namespace

void PutPacketHeader(std::span<u8> packet, u8 command, u16 param, const ChipParams& chip, u16 payloadLength) {
  packet[0] = command;
  PutLe16(packet, 1, param);
  packet[3] = chip.ProtocolKind;
  packet[4] = chip.FamilyCode;
  packet[5] = chip.Subtype;
  PutLe16(packet, 6, payloadLength);
}

u16 FinishAndSend(const CommandTarget& t, u16 payloadLength, std::size_t checkedBytes) {
  UnitBuffers& slots = Slots(t);
  const std::size_t length = payloadLength + PacketOverhead;
  auto packet = std::span<u8>(slots.PacketBuf).first(length);
  PutLe16(packet, length - 2, CalcCheck16(packet.first(checkedBytes)));
  const u16 frameLength = EncodeFrame(packet, slots.TxFrameBuf);
  NoteRequestSent(slots);
  t.Port.WriteData(std::span<const u8>(slots.TxFrameBuf).first(frameLength));
  return static_cast<u16>(length);
}

u16 FinishAndSend(const CommandTarget& t, u16 payloadLength) {
  return FinishAndSend(t, payloadLength, payloadLength + PacketHeaderSize);
}

void SendDeviceProbe(const CommandTarget& t) {
  UnitBuffers& slots = Slots(t);
  std::copy(DeviceProbeFrame.begin(), DeviceProbeFrame.end(), slots.TxFrameBuf.begin());
  NoteRequestSent(slots);
  t.Port.WriteData(std::span<const u8>(slots.TxFrameBuf).first(DeviceProbeFrame.size()));
}

u16 SendChipDataCmd(const CommandTarget& t, u16 nonce) {
  auto packet = Packet(t);
  PutPacketHeader(packet, CmdChipData, nonce, t.Model.Params, ChipDataPayload);
  auto first = packet.subspan<HeaderAt, SettingsBlockSize>();
  BuildSettingsBlock(t.Model, t.Random, t.Unit, t.UnitCount, first);
  std::copy(first.begin(), first.end(), packet.begin() + HeaderAt + SettingsBlockSize);
  const u8 m0 = static_cast<u8>(((nonce & 0xFF) ^ 0xF4) | 0x80);
  const u8 m1 = static_cast<u8>(((nonce >> 8) ^ 0xED) | 0x80);
  for (std::size_t i = 0; i < ChipDataPayload; i += 2) {
    packet[HeaderAt + i] ^= m0;
    packet[HeaderAt + i + 1] ^= m1;
  }
  return FinishAndSend(t, ChipDataPayload);
}

u16 SendDriverBlockCmd(const CommandTarget& t) {
  auto packet = Packet(t);
  const FlashDriver& driver = t.State.Driver;
  PutPacketHeader(packet, CmdDriverBlock, driver.DriverSize, t.Model.Params, DriverBlockSize);
  std::copy_n(driver.Image.begin(), DriverBlockSize, packet.begin() + HeaderAt);
  return FinishAndSend(t, DriverBlockSize);
}

u16 SendDownloadMainBlockCmd(const CommandTarget& t, u16 block, i32 offset) {
  return SendDataBlock(t, CmdDownloadMainBlock, t.Model.MainFlashImage, block, offset);
}

u16 SendDownloadEepBlockCmd(const CommandTarget& t, u16 block, i32 offset) {
  return SendDataBlock(t, CmdDownloadEepBlock, t.Model.EepImage, block, offset);
}

u16 SendChipCommand(const CommandTarget& t, u8 command, u16 param) {
  auto packet = Packet(t);
  PutPacketHeader(packet, command, param, t.Model.Params, ChipCmdPayload);
  PutHeaderAt(t, HeaderAt, 0);
  return FinishAndSend(t, PutDriverSegments(t, DriverRequest::ChipCommand, ChipCmdPayload));
}

u16 SendProgramMainBlockCmd(const CommandTarget& t, u16 block, i32 offset) {
  return SendProgramBlock(t, CmdProgramMainBlock, t.Model.MainFlashImage, block, offset);
}

u16 SendProgramEepBlockCmd(const CommandTarget& t, u16 block, i32 offset) {
  return SendProgramBlock(t, CmdProgramEepBlock, t.Model.EepImage, block, offset);
}

u16 SendWriteOptionCmd(const CommandTarget& t) {
  auto packet = Packet(t);
  const ChipParams& chip = t.Model.Params;
  const bool longOption = FamilyWritesLongOption(chip.FamilyCode) && !chip.UseFlashDriver;
  u16 n = longOption ? WriteOptionPayloadC0 : WriteOptionPayload;
  const std::size_t optionBytes = n - ChipCmdPayload;
  PutPacketHeader(packet, CmdChipOperation, OpWriteOption, chip, n);
  PutHeaderAt(t, HeaderAt, 0);
  std::copy_n(t.Model.OptionImage.begin(), optionBytes, packet.begin() + AfterHeaderAt);
  n = PutDriverSegments(t, DriverRequest::WriteOption, n);
  return FinishAndSend(t, n, n + PacketHeaderSize - 1u);
}

u16 SendReadAddressCmd(const CommandTarget& t, u16 param) {
  auto packet = Packet(t);
  std::array<u8, ChipInfoHeaderSize> header{};
  FillChipInfoHeader(t.Model, t.Random, 0, header);
  PutLe32(header, 48, t.Model.ReadStart);
  PutLe16(header, 52, t.Model.ReadLength);
  PutPacketHeader(packet, CmdChipOperation, param, t.Model.Params, ReadAddressPayload);
  std::copy_n(header.begin(), ReadAddressPayload, packet.begin() + HeaderAt);
  return FinishAndSend(t, ReadAddressPayload);
}

u16 SendRestartCmd(const CommandTarget& t) {
  auto packet = Packet(t);
  constexpr std::array<u8, 10> kRestart = {CmdRestart, 'R', 'E', 'S', 'T', 0xA8, 0x02, 0x00, 0x00, 0x00};
  std::copy(kRestart.begin(), kRestart.end(), packet.begin());
  return FinishAndSend(t, 2);
}

}  // namespace qx
