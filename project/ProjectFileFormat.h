#pragma once
// The project file (".pqz"): the whole job in one scrambled file with a running byte sum.
//
// Layout, little-endian: magic "Dromix", version 2, ProtocolKind, three name fields, the
// header values, a 2049-byte key table T, then three tagged sections: CFG (the 1024-byte
// configuration section), MFM (DownloadSize bytes of the main image) and EEP
// (EepDownloadSize, then m = EepDownloadSize mod 65536 bytes, 65536 when that is 0), the
// stored sum and 256 random bytes, which no reader needs. A data section is its key byte
// and the data; the MFM section has its key byte also for no data, the EEP section only
// holds one when it holds data.
//
// The EEP section keeps at most 65536 bytes, so a larger data flash would lose its upper
// part. Such files carry the rest in an extension after the 256 trailing bytes, where the
// older reader never looks:
//   "EEPX"  magic, plain
//   u32     EepDownloadSize again (must match the header)
//   u32     first EEP image index carried (= m)
//   u32     count r of bytes carried (= EepDownloadSize - m, above 0)
//   1 + r + floor(r / 1024) bytes: the data by the same scrambling rule, index from 0
//   u32     CRC-32 (zlib) of every extension byte before it
// A file without the extension loads as before; the uncarried part reads as erased.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "images/ChipModel.h"
#include "base/Types.h"
#include "chips/Makers.h"

namespace qx {

class ByteSink;
class ProjectByteReader;
class RandomSource;

enum class ProjectReadResult : u8 {
  PrjOk = 0,
  PrjBadMagic = 5,
  PrjNoCfg = 10,
  PrjNoMfm = 13,
  PrjNoEep = 15,
  PrjSumMismatch = 16,
  // A well-formed file for a maker index beyond the makers this program knows.
  PrjUnknownMaker = 20,
};

// The message the reader shows for a result.
std::string_view ProjectReadMessage(ProjectReadResult result);

// The programmer-model name stored in the file, by programmer-type code.
std::string GetProgrammerModelName(u8 code);

inline constexpr u8 ProjectNameKey = 0xEE;
inline constexpr u8 ProjectCfgTagKey = 0xEA;
inline constexpr u8 ProjectMfmTagKey = 0xF1;
inline constexpr u8 ProjectEepTagKey = 0xEC;
inline constexpr u8 ProjectFormatVersion = 2;

inline constexpr std::size_t ProjectKeyTableSize = 2049;
inline constexpr std::size_t ProjectScrambleSpan = 1024;
inline constexpr std::size_t ProjectSectionSize = 1024;
inline constexpr std::size_t ProjectSettingsBlockSize = 512;
inline constexpr std::size_t ProjectTrailerSize = 256;
inline constexpr std::size_t ProjectCfgTagOffset = 2403;
inline constexpr std::size_t ProjectMfmTagOffset = 3431;
inline constexpr u32 ProjectEepSectionLimit = 0x10000;
inline constexpr u8 ManufacturerIndexMax = static_cast<u8>(MakerCount - 1);

// The decoded configuration section lies at its start; its first 512 bytes are the
// settings block, option bytes 0..127 at 112 and 128..331 at 304.
using ProjectSectionBuffer = std::array<u8, 4096>;

// Bytes of a data section of count data bytes: key bytes included.
std::size_t ProjectDataSectionSize(u32 count);

// The data count the EEP section holds for an EepDownloadSize.
u32 ProjectEepSectionCount(u32 eepDownloadSize);

// What a project file holds, decoded. The reader fills one of these and touches the live
// model only when the whole file is good.
struct ProjectFileContent {
  u8 ProtocolKind = 0;
  std::string ProgrammerModel;
  std::string ChipName;
  std::string ObjectFileName;
  u32 ChipChecksum = 0;
  u32 FileChecksum = 0;
  u32 EepFileChecksum = 0;
  u32 ObjectStart = 0;
  u32 ObjectEnd = 0;
  u16 SnGain = 0;
  u8 ProjectFlags = 0;
  u8 ManufacturerIndex = 0;
  u32 MainFlashSize = 0;
  u32 EepSize = 0;
  u32 DownloadSize = 0;
  u32 MainFlashStart = 0;
  u32 EepStart = 0;
  u32 OptionStart = 0;
  u32 InfoStart = 0;
  u16 MainSum16 = 0;
  u16 MainCheck16 = 0;
  u16 EepSum16 = 0;
  u16 EepCheck16 = 0;
  u16 OptionSum16 = 0;
  u16 OptionCheck16 = 0;
  u32 EepDownloadSize = 0;
  std::array<u8, ProjectSectionSize> Section{};
  std::vector<u8> MainData;
  // EEP image bytes from index 0: the section's and, where present, the extension's.
  std::vector<u8> EepData;
};

// The whole file for the model, into out in pieces. settingsBlock is the 512-byte block of
// unit 0. Throws EInOutError when the model's data counts exceed its images, before any
// byte goes out.
void WriteProjectStream(ByteSink& out, const ChipModel& model, u8 programmerType,
                        std::span<const u8, ProjectSettingsBlockSize> settingsBlock, RandomSource& random);
// The same file in memory.
std::vector<u8> BuildProjectFile(const ChipModel& model, u8 programmerType,
                                 std::span<const u8, ProjectSettingsBlockSize> settingsBlock, RandomSource& random);

// Decodes the whole file and checks its structure, its byte sum and its header values;
// content is complete only with PrjOk. The maker and the image sums are checked by the
// reader (ProjectFile.h) before it applies anything.
ProjectReadResult DecodeProjectFile(std::span<const u8> bytes, ProjectFileContent& content);
// The same from a reader (a file read in pieces).
ProjectReadResult DecodeProjectFile(ProjectByteReader& reader, ProjectFileContent& content);

// Puts a good file's content into the model and the section buffer.
void ApplyProjectContent(const ProjectFileContent& content, ChipModel& model, ProjectSectionBuffer& section);

}  // namespace qx
