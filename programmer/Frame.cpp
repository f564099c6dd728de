#include "programmer/Frame.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/ByteOrder.h"
#include "images/Checksums.h"

namespace qx {
namespace {

inline u8* PutFramed(u8* f, u8 b) {
  if (b == SlipEnd || b == SlipEsc) {
    *f++ = SlipEsc;
    *f++ = b == SlipEnd ? SlipEscEnd : SlipEscEsc;
  } else {
    *f++ = b;
  }
  return f;
}

}  // namespace

u16 EncodeFrame(std::span<const u8> packet, std::span<u8> out) {
  if (packet.size() > PacketSlotSize || out.size() < 2 * packet.size() + 2 + FrameFillerBytes) return 0;
  u8* f = out.data();
  *f++ = SlipEnd;
  for (const u8 b : packet) f = PutFramed(f, b);
  *f++ = SlipEnd;
  std::size_t o = static_cast<std::size_t>(f - out.data());
  for (std::size_t i = 0; i < FrameFillerBytes; ++i) out[o++] = 0xFF;
  return static_cast<u16>(o);
}

// Put checks only the packet's room: the frame must hold every packet byte escaped.
static_assert(TxFrameSize >= 2 * PacketSlotSize + 2 + FrameFillerBytes);

FrameBuilder::FrameBuilder(std::span<u8, PacketSlotSize> packet, std::span<u8, TxFrameSize> frame)
    : packet_(packet), frame_(frame) {
  frame_[framed_++] = SlipEnd;
}

namespace {

// Whether any of the eight bytes of w is END or ESC (the word-wide zero-byte test, which is
// exact about whether there is one).
bool HoldsSlipByte(u64 w) {
  constexpr u64 ones = 0x0101010101010101ULL;
  constexpr u64 highs = 0x8080808080808080ULL;
  const auto anyZero = [](u64 v) { return (v - ones) & ~v & highs; };
  return (anyZero(w ^ (ones * SlipEnd)) | anyZero(w ^ (ones * SlipEsc))) != 0;
}

}  // namespace

// The frame has room for every packet byte escaped (TxFrameSize), so only the packet's room
// is checked, once per call. The loop keeps its positions and the check word in locals
// (stores through byte pointers would otherwise make the compiler reload the members after
// every byte) and moves eight bytes at a time wherever none of them needs escaping.
void FrameBuilder::Put(std::span<const u8> bytes, std::size_t keepFree) {
  const std::size_t room = packet_.size() - keepFree - used_;
  if (bytes.size() > room) {
    overflow_ = true;
    bytes = bytes.first(room);
  }
  const u8* src = bytes.data();
  const std::size_t count = bytes.size();
  u8* p = packet_.data() + used_;
  u8* f = frame_.data() + framed_;
  u16 check = check_;
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    u64 w = 0;
    std::memcpy(&w, src + i, sizeof w);
    std::memcpy(p + i, &w, sizeof w);
    check = Check16Step8(check, src + i);
    if (!HoldsSlipByte(w)) {
      std::memcpy(f, &w, sizeof w);
      f += sizeof w;
      continue;
    }
    for (std::size_t j = 0; j < 8; ++j) f = PutFramed(f, src[i + j]);
  }
  for (; i < count; ++i) {
    p[i] = src[i];
    check = Check16Step(check, src[i]);
    f = PutFramed(f, src[i]);
  }
  used_ += count;
  framed_ = static_cast<std::size_t>(f - frame_.data());
  check_ = check;
}

void FrameBuilder::Append(std::span<const u8> bytes) { Put(bytes, kCheckBytes); }

void FrameBuilder::AppendFill(u8 value, std::size_t count) {
  std::array<u8, 256> fill;
  fill.fill(value);
  while (count > 0 && !overflow_) {
    const std::size_t n = std::min(count, fill.size());
    Put(std::span<const u8>(fill).first(n), kCheckBytes);
    count -= n;
  }
}

u16 FrameBuilder::Finish() {
  if (finished_) return 0;
  finished_ = true;
  const std::array<u8, kCheckBytes> check = {static_cast<u8>(check_ & 0xFF), static_cast<u8>(check_ >> 8)};
  Put(check, 0);  // the room kept free
  frame_[framed_++] = SlipEnd;
  for (std::size_t i = 0; i < FrameFillerBytes; ++i) frame_[framed_++] = 0xFF;
  return overflow_ ? 0 : static_cast<u16>(framed_);
}

bool ExtractRxFrame(UnitBuffers& unit, u16& pos, u16& frameLength) {
  const auto& raw = unit.RxRawBuf;
  auto& frame = unit.RxFrameBuf;
  const u16 count = static_cast<u16>(std::min<std::size_t>(unit.RxCount, raw.size()));
  std::size_t len = 0;
  bool open = false;
  bool onlyFiller = true;
  frameLength = 0;

  while (pos < count) {
    const u8 b = raw[pos];
    if (!open) {
      ++pos;
      if (b != SlipEnd) continue;
      // A run of delimiters: the last one opens the frame.
      if (pos < count && raw[pos] == SlipEnd) continue;
      frame[0] = SlipEnd;
      len = 1;
      open = true;
      onlyFiller = true;
      continue;
    }
    if (b == SlipEnd) {
      if (onlyFiller) {
        // Nothing but filler since the opening delimiter: this one opens the real frame.
        ++pos;
        len = 1;
        continue;
      }
      frame[len++] = b;
      ++pos;
      frameLength = static_cast<u16>(len);
      return true;
    }
    if (len >= frame.size() - 1) {
      // Cannot happen while the frame slot is as large as the raw buffer; never overrun it.
      open = false;
      len = 0;
      continue;
    }
    frame[len++] = b;
    ++pos;
    if (b != 0xFF) onlyFiller = false;
  }
  return false;
}

DecodeResult DecodeFrame(std::span<const u8> frame, std::span<u8> out) {
  std::size_t i = 0;
  const std::size_t n = frame.size();
  while (i < n && frame[i] != SlipEnd) ++i;
  if (i == n) return {ResPacketError, 0};
  ++i;
  if (i < n && frame[i] == SlipEnd) ++i;

  std::size_t o = 0;
  bool escaped = false;
  for (; i < n; ++i) {
    const u8 b = frame[i];
    if (b == SlipEnd) {
      // The byte the open escape stood for is lost.
      if (escaped) return {ResPacketError, 0};
      const u16 length = static_cast<u16>(o);
      return {o < PacketHeaderSize ? ResPacketError : ResOk, length};
    }
    u8 value = b;
    if (escaped) {
      escaped = false;
      if (b == SlipEscEnd) {
        value = SlipEnd;
      } else if (b == SlipEscEsc) {
        value = SlipEsc;
      } else {
        return {ResPacketError, 0};
      }
    } else if (b == SlipEsc) {
      escaped = true;
      continue;
    }
    if (o >= out.size()) return {ResPacketError, 0};
    out[o++] = value;
  }
  return {ResPacketError, 0};
}

bool IsDataReply(std::span<const u8> packet) { return packet.size() >= PacketHeaderSize && GetLe16(packet, 6) > 2; }

u8 VerifyReply(std::span<const u8> packet) {
  const std::size_t len = packet.size();
  // Too short for a header and a check word: the check word would lie over the length.
  if (len < PacketOverhead) return ResPacketError;
  const u16 check = CalcCheck16(packet.first(len - 2));
  if (check != GetLe16(packet, len - 2)) return ResCheckMismatch;
  if (IsDataReply(packet)) return ResOk;
  // A status reply whose status byte is missing: byte 8 would be its check word.
  if (len == PacketOverhead) return ResPacketError;
  return packet[PacketHeaderSize];
}

namespace {

// The first n bytes of the buffer are gone.
void DropStale(UnitBuffers& unit, std::size_t n) {
  unit.StaleCount = static_cast<u16>(unit.StaleCount > n ? unit.StaleCount - n : 0);
}

}  // namespace

std::size_t AppendRxChunk(UnitBuffers& unit, std::span<const u8> chunk) {
  auto& raw = unit.RxRawBuf;
  std::size_t count = std::min<std::size_t>(unit.RxCount, raw.size());
  std::size_t dropped = 0;
  // The count may have been cleared since the latest request; what follows is new.
  unit.StaleCount = static_cast<u16>(std::min<std::size_t>(unit.StaleCount, count));

  if (chunk.size() > raw.size()) {
    dropped += chunk.size() - raw.size();
    chunk = chunk.last(raw.size());
  }
  if (count + chunk.size() > raw.size()) {
    // Keep the frame in progress (it opens at the last delimiter), drop what lies before it.
    const auto* last = std::find(std::make_reverse_iterator(raw.begin() + count), raw.rend(), SlipEnd).base();
    const std::size_t from = last == raw.begin() ? count : static_cast<std::size_t>(last - raw.begin()) - 1;
    std::memmove(raw.data(), raw.data() + from, count - from);
    dropped += from;
    count -= from;
    DropStale(unit, from);
  }
  if (count + chunk.size() > raw.size()) {
    const std::size_t from = count + chunk.size() - raw.size();
    std::memmove(raw.data(), raw.data() + from, count - from);
    dropped += from;
    count -= from;
    DropStale(unit, from);
  }
  std::copy(chunk.begin(), chunk.end(), raw.begin() + static_cast<std::ptrdiff_t>(count));
  unit.RxCount = static_cast<u16>(count + chunk.size());
  return dropped;
}

void CompactRxBuffer(UnitBuffers& unit, u16 keepFrom) {
  auto& raw = unit.RxRawBuf;
  const std::size_t count = std::min<std::size_t>(unit.RxCount, raw.size());
  if (keepFrom >= count) {
    unit.RxCount = 0;
    unit.StaleCount = 0;
    return;
  }
  std::memmove(raw.data(), raw.data() + keepFrom, count - keepFrom);
  unit.RxCount = static_cast<u16>(count - keepFrom);
  DropStale(unit, keepFrom);
}

void NoteRequestSent(UnitBuffers& unit) { unit.StaleCount = unit.RxCount; }

bool FrameIsStale(const UnitBuffers& unit, u16 pos, u16 frameLength) {
  return pos >= frameLength && pos - frameLength < unit.StaleCount;
}

}  // namespace qx
