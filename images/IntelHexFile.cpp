#include "images/IntelHexFile.h"

#include <algorithm>
#include <array>

#include "images/FileReplace.h"
#include "images/HexDigits.h"
#include "images/ObjectFileText.h"
#include "images/ObjectLineLoader.h"

namespace qx {

namespace {

// Widest an address plus a count can reach without wrapping past the top of the space.
u32 LastAddress(u32 a, u32 count) { return static_cast<u32>(std::min<u64>(u64{a} + count - 1, 0xFFFFFFFFu)); }

}  // namespace

LineParseResult ParseHexLine(ChipModel& model, std::string_view line, HexReaderState& state, MessageBoxes& op) {
  if (line.empty() || line[0] != ':') return LineParseResult::NoStartCode;
  if (line.size() < 9) return LineParseResult::ShortLine;
  if (!HexDigitsOnly(line, 1, 9)) return LineParseResult::BadDigit;
  const char* p = line.data();
  const u8 n = HexPairAt(p + 1);
  const u8 offHigh = HexPairAt(p + 3);
  const u8 offLow = HexPairAt(p + 5);
  const u8 type = HexPairAt(p + 7);
  u8 r = static_cast<u8>(n + offHigh + offLow + type);
  if (n == 0) {
    // Only a whole end record counts: one cut before its checksum is no proof of a whole file.
    if (type == 0x01 && line.size() >= 11 && HexDigitsOnly(line, 9, 11)) state.EndRecord = true;
    return LineParseResult::Accepted;
  }

  switch (type) {
    case 0x02:
    case 0x04: {
      if (offHigh != 0 || offLow != 0) return LineParseResult::NonZeroOffset;
      if (line.size() < 15) return LineParseResult::ShortLine;
      if (!HexDigitsOnly(line, 9, 15)) return LineParseResult::BadDigit;
      const u8 vHigh = HexPairAt(p + 9);
      const u8 vLow = HexPairAt(p + 11);
      r = static_cast<u8>(r + vHigh + vLow + HexPairAt(p + 13));
      if (r != 0) return LineParseResult::ChecksumError;
      const u32 v = (u32{vHigh} << 8) | vLow;
      if (type == 0x02) {
        state.Esa = v * 16;
      } else {
        state.Ela = v << 16;
      }
      return LineParseResult::Accepted;
    }
    case 0x01:
      state.EndRecord = true;
      return LineParseResult::Accepted;
    case 0x03:
    case 0x05:
      return LineParseResult::Accepted;
    default:
      break;
  }

  // Data records and the types this reader does not use: the whole record must be sound
  // before its address means anything.
  if (line.size() < 11u + 2u * n) return LineParseResult::ShortLine;
  if (!HexDigitsOnly(line, 9, 11u + 2u * n)) return LineParseResult::BadDigit;
  std::array<u8, 255> data;
  const char* d = p + 9;
  u32 sum = 0;
  for (u32 k = 0; k < n; ++k, d += 2) {
    data[k] = HexPairAt(d);
    sum += data[k];
  }
  r = static_cast<u8>(r + sum + HexPairAt(d));
  if (r != 0) return LineParseResult::ChecksumError;
  if (type != 0x00) return LineParseResult::UnknownType;

  state.Range.Sum += sum;
  const u32 a = state.Ela + state.Esa + ((u32{offHigh} << 8) | offLow);
  const RecordWindow window = PlaceRecord(model, a, std::span<const u8>(data.data(), n), state.Range, op);
  if (window == RecordWindow::None) return LineParseResult::OutOfChip;
  // Option bytes are no part of the object's range.
  if (window != RecordWindow::Option) {
    state.Range.Minimum = std::min(state.Range.Minimum, a);
    if (u64{a} + n > state.Range.Maximum) state.Range.Maximum = LastAddress(a, n);
  }
  return LineParseResult::Accepted;
}

ObjectReadResult LoadIntelHexFile(ChipModel& model, const std::string& fileName, u32& objectStart, u32& objectEnd,
                                  u32& sum, MessageBoxes& op) {
  HexReaderState state;
  ObjectReadResult read = LoadObjectLines(
      fileName, state, [&](std::string_view line) { return ParseHexLine(model, line, state, op); },
      [&](std::string_view line) {
        if (line == ":00000001FF" || line == ":00FFFF0101") {
          state.EndRecord = true;
          return true;
        }
        return line.empty();
      },
      [](std::string_view line) { return line.size() >= 9 && line[0] == ':' && HexDigitsOnly(line, 1, 9); },
      objectStart, objectEnd, sum, op);
  read.EndRecord = state.EndRecord;
  return read;
}

namespace {

// Each record is built in a buffer of its own and handed on whole.
void AppendRecord(ByteSink& out, u8 type, u32 offset, std::span<const u8> data) {
  data = data.first(std::min<std::size_t>(data.size(), 255));  // a record counts its bytes in one
  const auto n = static_cast<u8>(data.size());
  const auto hi = static_cast<u8>(offset >> 8);
  const auto lo = static_cast<u8>(offset);
  u32 sum = u32{n} + hi + lo + type;
  std::array<char, 1 + 2 * (4 + 255 + 1) + 2> record;
  char* w = record.data();
  *w++ = ':';
  w = PutHexByte(w, n);
  w = PutHexByte(w, hi);
  w = PutHexByte(w, lo);
  w = PutHexByte(w, type);
  for (const u8 b : data) {
    w = PutHexByte(w, b);
    sum += b;
  }
  w = PutHexByte(w, static_cast<u8>(0x100 - (sum & 0xFF)));
  *w++ = '\r';
  *w++ = '\n';
  out.Append(std::string_view(record.data(), static_cast<std::size_t>(w - record.data())));
}

void AppendEla(ByteSink& out, u32 upper) {
  const std::array<u8, 2> v{static_cast<u8>(upper >> 8), static_cast<u8>(upper)};
  AppendRecord(out, 0x04, 0, v);
}

}  // namespace

void WriteIntelHex(ByteSink& out, std::span<const u8> data, u32 startAddress) {
  const std::size_t size = data.size();
  const u64 last = size == 0 ? startAddress : u64{startAddress} + size - 1;
  if (size > 0 && last <= 0xFFFF) {
    for (std::size_t i = 0; i < size; i += 16) {
      AppendRecord(out, 0x00, (startAddress + static_cast<u32>(i)) & 0xFFFF, data.subspan(i, std::min<std::size_t>(16, size - i)));
    }
  } else if (size > 0) {
    u32 upper = startAddress >> 16;
    AppendEla(out, upper);
    // Records of 32 bytes, cut short where a 64 KiB block ends; the next block starts with
    // its own extended address, also after the last byte when the range ends on a boundary.
    for (std::size_t i = 0; i < size;) {
      const u32 offset = (startAddress + static_cast<u32>(i)) & 0xFFFF;
      const std::size_t toBoundary = 0x10000 - offset;
      const std::size_t n = std::min({std::size_t{32}, size - i, toBoundary});
      AppendRecord(out, 0x00, offset, data.subspan(i, n));
      i += n;
      if (n == toBoundary) {
        ++upper;
        AppendEla(out, upper & 0xFFFF);
      }
    }
  }
  out.Append(std::string_view(":00000001FF\r\n"));
}

std::string FormatIntelHex(std::span<const u8> data, u32 startAddress) {
  StringSink out;
  out.Text.reserve(data.size() * 2 + data.size() / 16 * 13 + 64);
  WriteIntelHex(out, data, startAddress);
  return std::move(out.Text);
}

void SaveIntelHexFile(const ChipModel& model, const std::string& fileName, u32 startAddress, u32 endAddress) {
  u32 first = 0;
  const std::span<const u8> bytes = MainFlashRange(model, startAddress, endAddress, first);
  ReplacingFile file(fileName);
  WriteIntelHex(file, bytes, first);
  file.Commit();
}

}  // namespace qx
