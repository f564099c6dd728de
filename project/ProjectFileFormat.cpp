#include "project/ProjectFileFormat.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "base/Errors.h"
#include "programmer/RandomSource.h"
#include "project/ProjectByteStream.h"
#include "texts/Texts.h"

namespace qx {
namespace {

constexpr std::string_view kMagic = "Dromix";
constexpr std::string_view kExtMagic = "EEPX";
constexpr std::size_t kExtHeaderSize = 16;

using KeyTable = std::array<u8, ProjectKeyTableSize>;

// Data byte i is image[i] ^ T[i % 1024] ^ k(i / 1024); a fresh key byte stands before every
// 1024 data bytes, also after the last when the count is a multiple of 1024.
void WriteDataSection(ProjectByteWriter& w, const KeyTable& t, std::span<const u8> data) {
  u8 k = w.WriteProjectRandomByte();
  for (std::size_t i = 0; i < data.size(); ++i) {
    w.WriteProjectByte(static_cast<u8>(data[i] ^ t[i % ProjectScrambleSpan] ^ k));
    if ((i + 1) % ProjectScrambleSpan == 0) k = w.WriteProjectRandomByte();
  }
}

std::vector<u8> ReadDataSection(ProjectByteReader& r, const KeyTable& t, std::size_t count) {
  std::vector<u8> data(count);
  u8 k = r.ReadProjectByte();
  for (std::size_t i = 0; i < count; ++i) {
    data[i] = static_cast<u8>(r.ReadProjectByte() ^ t[i % ProjectScrambleSpan] ^ k);
    if ((i + 1) % ProjectScrambleSpan == 0) k = r.ReadProjectByte();
  }
  return data;
}

bool ReadTag(ProjectByteReader& r, std::string_view tag, u8 key) {
  return r.ReadProjectName(tag.size(), key) == tag;
}

// A window of size bytes from start stays inside the 32-bit address space.
bool WindowFits(u32 start, u32 size) { return size == 0 || static_cast<std::uint64_t>(start) + size - 1 <= 0xFFFFFFFFull; }

void WriteExtension(ProjectByteWriter& out, const KeyTable& t, u32 eepDownloadSize, u32 first,
                    std::span<const u8> data, RandomSource& random) {
  ProjectByteWriter w(random);
  w.WriteProjectName(kExtMagic, 0, 0);
  w.WriteProjectLong(eepDownloadSize);
  w.WriteProjectLong(first);
  w.WriteProjectLong(static_cast<u32>(data.size()));
  WriteDataSection(w, t, data);
  const u32 crc = CalcCrc32(w.Bytes());
  std::array<u8, 4> c{};
  PutLe32(c, 0, crc);
  w.WriteUnsummed(c);
  out.WriteUnsummed(w.Bytes());
}

// The extension after the trailer. Absent: true with nothing added. Present: it must be
// whole, match the header and pass its check. When the header counts more EEP data than
// the section holds, any bytes after the trailer can only be that extension, so a cut or
// damaged mark is refused rather than read as an older file.
bool ReadExtension(std::span<const u8> rest, const KeyTable& t, ProjectFileContent& c) {
  if (rest.size() < kExtMagic.size() ||
      !std::equal(kExtMagic.begin(), kExtMagic.end(), rest.begin(), [](char a, u8 b) { return static_cast<u8>(a) == b; }))
    return rest.empty() || c.EepDownloadSize <= c.EepData.size();
  if (rest.size() < kExtHeaderSize) return false;
  const u32 total = GetLe32(rest, 4);
  const u32 first = GetLe32(rest, 8);
  const u32 count = GetLe32(rest, 12);
  if (total != c.EepDownloadSize || first != c.EepData.size() || count == 0 || count > EepImageSize - first ||
      static_cast<std::uint64_t>(first) + count != total)
    return false;
  const std::size_t body = kExtHeaderSize + ProjectDataSectionSize(count);
  if (rest.size() < body + 4) return false;
  if (CalcCrc32(rest.first(body)) != GetLe32(rest, body)) return false;
  ProjectByteReader r(rest.subspan(kExtHeaderSize, body - kExtHeaderSize));
  const std::vector<u8> data = ReadDataSection(r, t, count);
  c.EepData.insert(c.EepData.end(), data.begin(), data.end());
  return !r.Short();
}

}  // namespace

std::string_view ProjectReadMessage(ProjectReadResult result) {
  switch (result) {
    case ProjectReadResult::PrjOk:
      return Text(TextId::PrjOpenSuccess);
    case ProjectReadResult::PrjBadMagic:
      return Text(TextId::PrjNotValidFile);
    default:
      return Text(TextId::PrjDataCorrupted);
  }
}

std::string GetProgrammerModelName(u8 code) {
  switch (code) {
    case 3: return "Nolbin200AT";
    case 5: return "Nolbin200FSC";
    case 7: return "Nolbin200NX";
    case 9: return "Nolbin200PIC";
    case 11: return "Nolbin200ST8";
    case 13: return "Nolbin200MSP";
    case 15: case 31: return "Nolbin200RS";
    case 16: return "Nolbin200CY";
    case 19: return "Nolbin200SLB";
    case 21: return "Nolbin200EFM";
    case 22: return "Nolbin200NFP";
    case 27: case 44: return "Nolbin200MG";
    case 29: return "Nolbin200CAR";
    case 32: return "Nolbin200XF";
    case 35: case 45: return "Nolbin200WL";
    case 37: return "Nolbin200FJ";
    case 39: return "Nolbin200NVT";
    case 46: return "Nolbin200AMG";
    case 48: return "Nolbin200TW";
    case 51: return "Nolbin200SH";
    case 53: return "Nolbin200EPS";
    case 54: return "Nolbin200APL";
    case 57: return "Nolbin200EM";
    case 61: return "Nolbin200MPS";
    case 83: return "Nolbin200XVS";
    case 85: return "Nolbin200ARM";
    default: return "Nolbin200XXX";
  }
}

std::size_t ProjectDataSectionSize(u32 count) {
  return 1 + static_cast<std::size_t>(count) + count / ProjectScrambleSpan;
}

u32 ProjectEepSectionCount(u32 eepDownloadSize) {
  if (eepDownloadSize == 0) return 0;
  const u32 m = eepDownloadSize % ProjectEepSectionLimit;
  return m == 0 ? ProjectEepSectionLimit : m;
}

void WriteProjectStream(ByteSink& out, const ChipModel& model, u8 programmerType,
                        std::span<const u8, ProjectSettingsBlockSize> settingsBlock, RandomSource& random) {
  const ChipParams& p = model.Params;
  const ImageChecksums& s = model.Sums;
  if (p.DownloadSize > MainImageSize || p.EepDownloadSize > EepImageSize)
    throw EInOutError(std::string(Text(TextId::PrjSizesInvalid)));

  ProjectByteWriter w(random, out);
  KeyTable t{};
  for (u8& b : t) b = RandomByte(random);

  w.WriteProjectName(kMagic, 0, 0);
  w.WriteProjectByte(ProjectFormatVersion);
  w.WriteProjectByte(p.ProtocolKind);
  w.WriteProjectName(GetProgrammerModelName(programmerType), 16, ProjectNameKey);
  w.WriteProjectName(model.ChipName, 20, ProjectNameKey);
  w.WriteProjectName(model.ObjectFileName, 48, ProjectNameKey);
  w.WriteProjectFill(32, 0);
  w.WriteProjectLong(s.ChipChecksum);
  w.WriteProjectLong(s.FileChecksum);
  w.WriteProjectLong(s.EepFileChecksum);
  w.WriteProjectFill(20, 0);
  w.WriteProjectLong(model.Sn.SnMaxCount);
  w.WriteProjectLong(model.ObjectStart);
  w.WriteProjectLong(model.ObjectEnd);
  w.WriteProjectWord(model.Sn.SnGain);
  w.WriteProjectFill(86, 0);
  w.WriteProjectByte(model.ProjectFlags);
  w.WriteProjectByte(p.ManufacturerIndex);
  w.WriteProjectLong(p.MainFlashSize);
  w.WriteProjectLong(p.EepSize);
  w.WriteProjectLong(p.DownloadSize);
  w.WriteProjectFill(10, 0);
  w.WriteProjectLong(p.MainFlashStart);
  w.WriteProjectLong(p.EepStart);
  w.WriteProjectLong(p.OptionStart);
  w.WriteProjectLong(p.InfoStart);
  w.WriteProjectFill(10, 0);
  for (u16 v : {s.MainSum16, s.MainCheck16, s.EepSum16, s.EepCheck16, s.OptionSum16, s.OptionCheck16})
    w.WriteProjectLong(v);
  w.WriteProjectFill(24, 0);
  for (u8 b : t) w.WriteProjectByte(b);

  w.WriteProjectName("CFG", 0, ProjectCfgTagKey);
  const u8 kc = w.WriteProjectRandomByte();
  for (std::size_t i = 0; i < ProjectSectionSize; ++i) {
    const u8 plain = i < ProjectSettingsBlockSize ? settingsBlock[i] : 0;
    w.WriteProjectByte(static_cast<u8>(plain ^ t[i] ^ kc));
  }

  // The main-image section always starts with its key byte, also for no data.
  w.WriteProjectName("MFM", 0, ProjectMfmTagKey);
  WriteDataSection(w, t, std::span<const u8>(model.MainFlashImage).first(p.DownloadSize));

  w.WriteProjectName("EEP", 0, ProjectEepTagKey);
  w.WriteProjectLong(p.EepDownloadSize);
  const u32 m = ProjectEepSectionCount(p.EepDownloadSize);
  if (m > 0) WriteDataSection(w, t, std::span<const u8>(model.EepImage).first(m));

  std::array<u8, 4> sum{};
  PutLe32(sum, 0, w.ProjectSum());
  w.WriteUnsummed(sum);
  std::array<u8, ProjectTrailerSize> trailer{};
  for (u8& b : trailer) b = RandomByte(random);
  w.WriteUnsummed(trailer);

  if (p.EepDownloadSize > m)
    WriteExtension(w, t, p.EepDownloadSize, m, std::span<const u8>(model.EepImage).subspan(m, p.EepDownloadSize - m),
                   random);
  w.Flush();
}

std::vector<u8> BuildProjectFile(const ChipModel& model, u8 programmerType,
                                 std::span<const u8, ProjectSettingsBlockSize> settingsBlock, RandomSource& random) {
  ByteVectorSink out;
  WriteProjectStream(out, model, programmerType, settingsBlock, random);
  return std::move(out.Bytes);
}

ProjectReadResult DecodeProjectFile(std::span<const u8> bytes, ProjectFileContent& c) {
  ProjectByteReader r(bytes);
  return DecodeProjectFile(r, c);
}

ProjectReadResult DecodeProjectFile(ProjectByteReader& r, ProjectFileContent& c) {
  using R = ProjectReadResult;
  if (r.ReadProjectName(kMagic.size(), 0) != kMagic || r.Short()) return R::PrjBadMagic;
  R result = R::PrjOk;

  r.ReadProjectByte();  // version, not checked
  c.ProtocolKind = r.ReadProjectByte();
  c.ProgrammerModel = NameFieldText(r.ReadProjectName(16, ProjectNameKey));
  c.ChipName = NameFieldText(r.ReadProjectName(20, ProjectNameKey));
  c.ObjectFileName = NameFieldText(r.ReadProjectName(48, ProjectNameKey));
  r.SkipProjectBytes(32);
  c.ChipChecksum = r.ReadProjectLong();
  c.FileChecksum = r.ReadProjectLong();
  c.EepFileChecksum = r.ReadProjectLong();
  r.SkipProjectBytes(20);
  r.SkipProjectBytes(4);  // SnMaxCount: the configuration section's copy is used
  c.ObjectStart = r.ReadProjectLong();
  c.ObjectEnd = r.ReadProjectLong();
  c.SnGain = r.ReadProjectWord();
  r.SkipProjectBytes(86);
  c.ProjectFlags = r.ReadProjectByte();
  c.ManufacturerIndex = r.ReadProjectByte();
  c.MainFlashSize = r.ReadProjectLong();
  c.EepSize = r.ReadProjectLong();
  c.DownloadSize = r.ReadProjectLong();
  r.SkipProjectBytes(10);
  c.MainFlashStart = r.ReadProjectLong();
  c.EepStart = r.ReadProjectLong();
  c.OptionStart = r.ReadProjectLong();
  c.InfoStart = r.ReadProjectLong();
  r.SkipProjectBytes(10);
  for (u16* v : {&c.MainSum16, &c.MainCheck16, &c.EepSum16, &c.EepCheck16, &c.OptionSum16, &c.OptionCheck16})
    *v = static_cast<u16>(r.ReadProjectLong());
  r.SkipProjectBytes(24);
  KeyTable t{};
  for (u8& b : t) b = r.ReadProjectByte();

  if (ReadTag(r, "CFG", ProjectCfgTagKey)) {
    const u8 kc = r.ReadProjectByte();
    for (std::size_t i = 0; i < ProjectSectionSize; ++i) c.Section[i] = static_cast<u8>(r.ReadProjectByte() ^ t[i] ^ kc);
  } else {
    result = R::PrjNoCfg;
  }

  if (ReadTag(r, "MFM", ProjectMfmTagKey)) {
    // A count beyond the main image, or beyond the bytes left, cannot be a good section.
    if (c.DownloadSize > MainImageSize) return R::PrjNoMfm;
    if (ProjectDataSectionSize(c.DownloadSize) > r.Remaining()) return R::PrjNoMfm;
    c.MainData = ReadDataSection(r, t, c.DownloadSize);
  } else {
    result = R::PrjNoMfm;
  }

  if (ReadTag(r, "EEP", ProjectEepTagKey)) {
    c.EepDownloadSize = r.ReadProjectLong();
    if (c.EepDownloadSize > EepImageSize) return R::PrjNoEep;
    const u32 m = ProjectEepSectionCount(c.EepDownloadSize);
    if (m > 0) {
      if (ProjectDataSectionSize(m) > r.Remaining()) return R::PrjNoEep;
      c.EepData = ReadDataSection(r, t, m);
    }
  } else {
    result = R::PrjNoEep;
  }

  const u32 running = r.ProjectSum();
  const u32 stored = r.ReadUnsummedLong();
  if (result != R::PrjOk) return result;
  if (r.Short() || stored != running) return R::PrjSumMismatch;

  if (c.MainFlashSize > MainImageSize || c.EepSize > EepImageSize || !WindowFits(c.MainFlashStart, c.MainFlashSize) ||
      !WindowFits(c.EepStart, c.EepSize))
    return R::PrjSumMismatch;
  // The trailer is never read: a file cut inside it is whole, unless it should go on with
  // the extension that carries the rest of its EEP data.
  const std::span<const u8> rest = r.Rest();
  if (rest.size() < ProjectTrailerSize) return c.EepDownloadSize <= c.EepData.size() ? R::PrjOk : R::PrjSumMismatch;
  if (!ReadExtension(rest.subspan(ProjectTrailerSize), t, c)) return R::PrjSumMismatch;
  return R::PrjOk;
}

void ApplyProjectContent(const ProjectFileContent& c, ChipModel& model, ProjectSectionBuffer& section) {
  ChipParams& p = model.Params;
  ImageChecksums& s = model.Sums;
  p.ProtocolKind = c.ProtocolKind;
  model.ProgrammerModel = c.ProgrammerModel;
  model.ChipName = c.ChipName;
  model.ObjectFileName = c.ObjectFileName;
  s.ChipChecksum = c.ChipChecksum;
  s.FileChecksum = c.FileChecksum;
  s.EepFileChecksum = c.EepFileChecksum;
  model.ObjectStart = c.ObjectStart;
  model.ObjectEnd = c.ObjectEnd;
  model.Sn.SnGain = c.SnGain;
  model.ProjectFlags = c.ProjectFlags;
  p.ManufacturerIndex = c.ManufacturerIndex;
  p.MainFlashSize = c.MainFlashSize;
  p.EepSize = c.EepSize;
  p.DownloadSize = c.DownloadSize;
  p.MainFlashStart = c.MainFlashStart;
  p.EepStart = c.EepStart;
  p.OptionStart = c.OptionStart;
  p.InfoStart = c.InfoStart;
  s.MainSum16 = c.MainSum16;
  s.MainCheck16 = c.MainCheck16;
  s.EepSum16 = c.EepSum16;
  s.EepCheck16 = c.EepCheck16;
  s.OptionSum16 = c.OptionSum16;
  s.OptionCheck16 = c.OptionCheck16;
  p.EepDownloadSize = c.EepDownloadSize;

  std::copy(c.MainData.begin(), c.MainData.end(), model.MainFlashImage.begin());
  std::copy(c.EepData.begin(), c.EepData.end(), model.EepImage.begin());
  // A file of the older layout holds at most 64 KiB of EEP data: the rest of its count is
  // erased rather than left over from the previous job. Erased is 0x00 when the block's
  // PowerFlags mark the chip blank-is-zero.
  constexpr std::size_t kPowerFlagsAt = 4 + 33;
  const u8 erased = (c.Section[kPowerFlagsAt] & 0x10) != 0 ? 0x00 : 0xFF;
  if (c.EepData.size() < c.EepDownloadSize)
    std::fill(model.EepImage.begin() + static_cast<std::ptrdiff_t>(c.EepData.size()),
              model.EepImage.begin() + c.EepDownloadSize, erased);
  std::copy(c.Section.begin(), c.Section.end(), section.begin());
}

}  // namespace qx
