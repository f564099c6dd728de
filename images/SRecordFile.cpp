#include "images/SRecordFile.h"

#include <algorithm>
#include <array>

#include "images/FileReplace.h"
#include "images/HexDigits.h"
#include "images/ObjectFileText.h"
#include "images/ObjectLineLoader.h"

namespace qx {

namespace {

// The count field and all the bytes it counts are there, in hexadecimal digits.
bool WholeRecord(std::string_view line) {
  if (line.size() < 4 || !HexDigitsOnly(line, 2, 4)) return false;
  const std::size_t end = 4u + 2u * HexPairAt(line.data() + 2);
  return line.size() >= end && HexDigitsOnly(line, 4, end);
}

// S5 (16-bit) or S6 (24-bit): the number of data records before it, in its address field.
// Its checksum is not checked, but a count that cannot be read is a bad line.
LineParseResult CheckCountRecord(std::string_view line, u32 countBytes, SRecordReaderState& state) {
  const std::size_t end = 4 + 2 * countBytes;
  if (line.size() < end) return LineParseResult::ShortLine;
  if (!HexDigitsOnly(line, 2, end)) return LineParseResult::BadDigit;
  u32 declared = 0;
  for (std::size_t at = 4; at < end; at += 2) declared = (declared << 8) | HexPairAt(line.data() + at);
  const u32 counted = state.DataRecords & ((1u << (8 * countBytes)) - 1);
  state.CountAtEnd = declared == counted;
  if (!state.CountAtEnd && !state.CountMismatch) {
    state.CountMismatch = true;
    state.DeclaredCount = declared;
    state.CountedRecords = state.DataRecords;
  }
  return LineParseResult::Accepted;
}

// The record from its count to its checksum is there in hexadecimal digits and its checksum
// agrees; otherwise false, and result says what is wrong.
bool SoundRecord(std::string_view line, LineParseResult& result) {
  if (line.size() < 4) {
    result = LineParseResult::ShortLine;
    return false;
  }
  if (!HexDigitsOnly(line, 2, 4)) {
    result = LineParseResult::BadDigit;
    return false;
  }
  const u8 n = HexPairAt(line.data() + 2);
  if (n == 0 || line.size() < 4u + 2u * n) {
    result = LineParseResult::ShortLine;
    return false;
  }
  if (!HexDigitsOnly(line, 4, 4u + 2u * n)) {
    result = LineParseResult::BadDigit;
    return false;
  }
  u32 r = n;
  for (std::size_t at = 4; at < 4u + 2u * n; at += 2) r += HexPairAt(line.data() + at);
  result = (r & 0xFF) == 0xFF ? LineParseResult::Accepted : LineParseResult::ChecksumError;
  return result == LineParseResult::Accepted;
}

}  // namespace

LineParseResult ParseSRecordLine(ChipModel& model, std::string_view line, SRecordReaderState& state, MessageBoxes& op) {
  if (line.empty() || line[0] != 'S') return LineParseResult::NoStartCode;
  if (line.size() < 2) return LineParseResult::BadRecordType;
  u32 k;
  switch (line[1]) {
    case '0':
      return LineParseResult::Accepted;
    case '5':
      return CheckCountRecord(line, 2, state);
    case '6':
      return CheckCountRecord(line, 3, state);
    case '7':
    case '8':
    case '9':
      if (WholeRecord(line)) state.EndRecord = true;
      return LineParseResult::Accepted;
    case '4': {
      LineParseResult result;
      return SoundRecord(line, result) ? LineParseResult::UnusedSRecordType : result;
    }
    case '1':
      k = 2;
      break;
    case '2':
      k = 3;
      break;
    case '3':
      k = 4;
      break;
    default:
      return LineParseResult::BadRecordType;
  }
  ++state.DataRecords;
  state.CountAtEnd = false;
  if (line.size() < 4) return LineParseResult::ShortLine;
  if (!HexDigitsOnly(line, 2, 4)) return LineParseResult::BadDigit;
  const char* p = line.data();
  const u8 n = HexPairAt(p + 2);
  if (n < k + 1) return LineParseResult::ShortLine;
  LineParseResult sound;
  if (!SoundRecord(line, sound)) return sound;

  u32 a = 0;
  const char* q = p + 4;
  for (u32 i = 0; i < k; ++i, q += 2) a = (a << 8) | HexPairAt(q);
  const u32 d = n - k - 1;
  state.RecordAddress = a;
  // No data: nothing to place and no range to widen.
  if (d == 0) return LineParseResult::Accepted;

  std::array<u8, 255> data;
  u32 sum = 0;
  for (u32 j = 0; j < d; ++j, q += 2) {
    data[j] = HexPairAt(q);
    sum += data[j];
  }
  state.Range.Sum += sum;

  state.Range.Minimum = std::min(state.Range.Minimum, a);
  const auto last = static_cast<u32>(std::min<u64>(u64{a} + d - 1, 0xFFFFFFFFu));
  state.Range.Maximum = std::max(state.Range.Maximum, last);

  const RecordWindow window = PlaceRecord(model, a, std::span<const u8>(data.data(), d), state.Range, op);
  return window == RecordWindow::None ? LineParseResult::OutOfChip : LineParseResult::Accepted;
}

ObjectReadResult LoadSRecordFile(ChipModel& model, const std::string& fileName, u32& objectStart, u32& objectEnd,
                                 u32& sum, MessageBoxes& op) {
  SRecordReaderState state;
  ObjectReadResult read = LoadObjectLines(
      fileName, state, [&](std::string_view line) { return ParseSRecordLine(model, line, state, op); },
      [](std::string_view line) { return line.size() < 3; },
      [](std::string_view line) {
        return line.size() >= 4 && line[0] == 'S' && line[1] >= '0' && line[1] <= '9' && HexDigitsOnly(line, 2, 4);
      },
      objectStart, objectEnd, sum, op);
  // A count that agrees after the last data record proves the end as a termination record
  // does: tools write one without the other.
  read.EndRecord = state.EndRecord || state.CountAtEnd;
  read.CountMismatch = state.CountMismatch;
  read.DeclaredCount = state.DeclaredCount;
  read.CountedRecords = state.CountedRecords;
  return read;
}

namespace {

constexpr std::size_t RecordBytes = 32;

// Each record is built in a buffer of its own and handed on whole.
void AppendSRecord(ByteSink& out, char type, u32 addressBytes, u32 address, std::span<const u8> data) {
  addressBytes = std::min<u32>(addressBytes, 4);
  data = data.first(std::min<std::size_t>(data.size(), 255 - addressBytes - 1));  // the count is one byte
  const auto count = static_cast<u8>(data.size() + addressBytes + 1);
  u32 sum = count;
  std::array<char, 2 + 2 * 256 + 2> record;
  char* w = record.data();
  *w++ = 'S';
  *w++ = type;
  w = PutHexByte(w, count);
  for (u32 i = addressBytes; i-- > 0;) {
    const auto b = static_cast<u8>(address >> (8 * i));
    w = PutHexByte(w, b);
    sum += b;
  }
  for (const u8 b : data) {
    w = PutHexByte(w, b);
    sum += b;
  }
  w = PutHexByte(w, static_cast<u8>(~sum));
  *w++ = '\r';
  *w++ = '\n';
  out.Append(std::string_view(record.data(), static_cast<std::size_t>(w - record.data())));
}

}  // namespace

void WriteSRecords(ByteSink& out, std::span<const u8> data, u32 startAddress) {
  const std::size_t size = data.size();
  const u64 last = size == 0 ? startAddress : u64{startAddress} + size - 1;
  char type;
  u32 addressBytes;
  std::string_view termination;
  if (last <= 0xFFFF) {
    type = '1', addressBytes = 2, termination = "S9030000FC\r\n";
  } else if (last <= 0xFFFFFF) {
    type = '2', addressBytes = 3, termination = "S804000000FB\r\n";
  } else {
    type = '3', addressBytes = 4, termination = "S70500000000FA\r\n";
  }
  for (std::size_t i = 0; i < size; i += RecordBytes) {
    AppendSRecord(out, type, addressBytes, startAddress + static_cast<u32>(i),
                  data.subspan(i, std::min(RecordBytes, size - i)));
  }
  out.Append(termination);
}

std::string FormatSRecords(std::span<const u8> data, u32 startAddress) {
  StringSink out;
  out.Text.reserve(data.size() * 2 + (data.size() / RecordBytes + 1) * 14 + 32);
  WriteSRecords(out, data, startAddress);
  return std::move(out.Text);
}

void SaveSRecordFile(const ChipModel& model, const std::string& fileName, u32 startAddress, u32 endAddress) {
  u32 first = 0;
  const std::span<const u8> bytes = MainFlashRange(model, startAddress, endAddress, first);
  ReplacingFile file(fileName);
  WriteSRecords(file, bytes, first);
  file.Commit();
}

}  // namespace qx
