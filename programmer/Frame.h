#pragma once
// SLIP framing of packets (END 0xC0, ESC 0xDB, ESC_END 0xDC, ESC_ESC 0xDD) with five 0xFF
// filler bytes after every frame, and the check of received replies.
#include <span>

#include "base/Types.h"
#include "programmer/WireBuffers.h"

namespace qx {

inline constexpr u8 SlipEnd = 0xC0;
inline constexpr u8 SlipEsc = 0xDB;
inline constexpr u8 SlipEscEnd = 0xDC;
inline constexpr u8 SlipEscEsc = 0xDD;
inline constexpr std::size_t FrameFillerBytes = 5;

inline constexpr u8 ResOk = 0;
inline constexpr u8 ResPacketError = 32;
inline constexpr u8 ResCheckMismatch = 35;

// Frames packet into out and returns the frame length; 0 when out cannot hold the worst case
// (2 * packet size + 7), so a short buffer is never written past.
u16 EncodeFrame(std::span<const u8> packet, std::span<u8> out);

// Builds a request in one pass: each byte appended goes into the packet slot, into the
// check word and, escaped, into the frame. Finish() puts the check word after the bytes
// and closes the frame; the frame is then what EncodeFrame makes of the packet with that
// check word. Bytes beyond the packet slot's room are dropped (Finish then returns 0).
class FrameBuilder {
 public:
  FrameBuilder(std::span<u8, PacketSlotSize> packet, std::span<u8, TxFrameSize> frame);
  void Append(std::span<const u8> bytes);
  void AppendFill(u8 value, std::size_t count);
  // The frame's length; 0 when bytes were dropped or on a second call.
  u16 Finish();
  std::size_t PacketLength() const { return used_; }

 private:
  static constexpr std::size_t kCheckBytes = 2;
  // Appends bytes, leaving keepFree bytes of the packet slot unused.
  void Put(std::span<const u8> bytes, std::size_t keepFree);

  std::span<u8, PacketSlotSize> packet_;
  std::span<u8, TxFrameSize> frame_;
  std::size_t used_ = 0;
  std::size_t framed_ = 0;
  u16 check_ = 0;
  bool overflow_ = false;
  bool finished_ = false;
};

// Takes the next frame out of unit.RxRawBuf[pos .. RxCount) into unit.RxFrameBuf, both
// delimiters included. A candidate whose body is empty or only 0xFF is filler: it is dropped
// and its closing 0xC0 opens the next frame, so a stray delimiter or a port opened in the
// middle of a frame costs at most one frame. Returns false when more bytes are needed; pos
// then stands at the end of the scanned bytes.
bool ExtractRxFrame(UnitBuffers& unit, u16& pos, u16& frameLength);

struct DecodeResult {
  u8 Status = ResPacketError;  // 0 or 32
  u16 Length = 0;
};

// Decodes a frame into out (the packet slot). A frame that would decode to more than out
// holds is a packet error, like a bad escape, a missing closing 0xC0 or fewer than 8 bytes.
DecodeResult DecodeFrame(std::span<const u8> frame, std::span<u8> out);

// 35 for a bad check word, 0 for a data reply (payload longer than 2 bytes), else the
// status byte of a status reply. The decoded length decides where the check word lies.
u8 VerifyReply(std::span<const u8> packet);

// A reply whose payload is data rather than a status code (payload length above 2).
bool IsDataReply(std::span<const u8> packet);

// Appends a received chunk to the unit's raw buffer. When it does not fit, the bytes before
// the last opening delimiter are dropped first, then the oldest bytes; nothing is written
// past the buffer. Returns the number of bytes dropped.
std::size_t AppendRxChunk(UnitBuffers& unit, std::span<const u8> chunk);

// Drops the consumed bytes RxRawBuf[0 .. keepFrom) and moves the rest to the start.
void CompactRxBuffer(UnitBuffers& unit, u16 keepFrom);

// A request goes out to the unit: whatever it sent before lies in the buffer now.
void NoteRequestSent(UnitBuffers& unit);
// Whether the frame that ExtractRxFrame took out, ending before pos, began among the bytes
// received before the latest request.
bool FrameIsStale(const UnitBuffers& unit, u16 pos, u16 frameLength);

}  // namespace qx
