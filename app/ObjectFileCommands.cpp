#include "app/ObjectFileCommands.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "base/Errors.h"
#include "chips/MakerRegistry.h"
#include "images/BinaryFile.h"
#include "images/Checksums.h"
#include "images/IntelHexFile.h"
#include "images/RegularFile.h"
#include "images/SRecordFile.h"
#include "images/ViewChecksums.h"
#include "programmer/DownloadSize.h"
#include "texts/Texts.h"

namespace qx {

namespace {

std::string UpperExtension(std::string_view path) {
  const std::string name = std::filesystem::path(path).filename().string();
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return {};
  std::string ext = name.substr(dot);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return ext;
}

// What a load may change. A load reads into a copy of the model; these fields go over to
// the live model only when the file was read whole, so a refused file leaves the job (and
// every view and control showing it) as it was.
void TakeLoadedFields(ChipModel& to, const ChipModel& from) {
  to.MainFlashImage = from.MainFlashImage;
  to.EepImage = from.EepImage;
  to.InfoAreaImage = from.InfoAreaImage;
  to.OptionImage = from.OptionImage;
  to.Sums = from.Sums;
  to.ObjectLoaded = from.ObjectLoaded;
  to.ObjectFileName = from.ObjectFileName;
  to.ObjectStart = from.ObjectStart;
  to.ObjectEnd = from.ObjectEnd;
  to.LastLoadAddress = from.LastLoadAddress;
  to.BinOffset = from.BinOffset;
  to.BootInfoEnd = from.BootInfoEnd;
  to.AppInfoEnd = from.AppInfoEnd;
}

void LogAndShow(const ObjectFileContext& ctx, MsgKind kind, const std::string& text) {
  ctx.Log.AddInfoLine(text);
  ctx.Op.Ask(kind, text, MsgButtons::Ok);
}

// A FIFO, a device or a folder is refused before it is opened or anything is asked.
bool RefusedAsNotRegular(const ObjectFileContext& ctx, const std::string& path) {
  if (!NamesNonRegularFile(path)) return false;
  LogAndShow(ctx, MsgKind::Error, Tx(TextId::NotARegularFile, path));
  return true;
}

// Why a file that was read is refused whatever the operator answers; empty when it is not.
std::string RefusalOf(const ObjectReadResult& r, ObjectFormat format, const std::string& path) {
  if (!r.Refused()) return {};
  if (r.NotRecords) {
    return Tx(format == ObjectFormat::IntelHex ? TextId::ObjectFileNotIntelHex : TextId::ObjectFileNotSRecord, path);
  }
  if (r.AbortedAt != 0) return Tx(TextId::ObjectFileLoadAborted, path, r.AbortedAt, r.BadLines);
  if (r.DamagedLines != 0) return Tx(TextId::ObjectFileBadLines, path, r.DamagedLines);
  if (r.CountMismatch) return Tx(TextId::ObjectFileCountMismatch, path, r.DeclaredCount, r.CountedRecords);
  return Tx(TextId::ObjectFileNoData, path);
}

// Log lines and warnings of a file that was read, given once it is taken: the log calls a
// file loaded only then, and they follow that line.
struct TakeNotes {
  std::vector<std::string> Lines;
  std::optional<TextId> Warning;  // logged and shown
};

// An Intel HEX or S-record file into the staged model; false when it is refused (logged, and
// shown unless the operator refused it in the box that asked).
bool ReadRecords(const ObjectFileContext& ctx, ChipModel& staged, ObjectFormat format, const std::string& path,
                 u32& start, u32& end, u32& sum, TakeNotes& notes) {
  const ObjectReadResult r = format == ObjectFormat::IntelHex
                                 ? LoadIntelHexFile(staged, path, start, end, sum, ctx.Op)
                                 : LoadSRecordFile(staged, path, start, end, sum, ctx.Op);
  if (const std::string refusal = RefusalOf(r, format, path); !refusal.empty()) {
    LogAndShow(ctx, MsgKind::Error, refusal);
    return false;
  }
  if (r.SkippedRecords != 0) notes.Lines.push_back(Tx(TextId::ObjectFileRecordsSkipped, path, r.SkippedRecords));
  if (!r.EndRecord) {
    // What real tools write without an end record is whole; a file cut short looks the same.
    if (ctx.Op.Ask(MsgKind::Warning, Tx(TextId::ObjectFileAskCutShort, path), MsgButtons::OkAbort) != MsgAnswer::Ok) {
      ctx.Log.AddInfoLine(Tx(TextId::ObjectFileNoEndRecord, path));
      return false;
    }
    notes.Lines.push_back(Tx(TextId::ObjectFileLoadedWithoutEnd, path));
  }
  return true;
}

void GiveNotes(const ObjectFileContext& ctx, const TakeNotes& notes) {
  for (const std::string& line : notes.Lines) ctx.Log.AddInfoLine(line);
  if (notes.Warning) LogAndShow(ctx, MsgKind::Warning, std::string(Text(*notes.Warning)));
}

// The reason a binary file gave nothing: it cannot be opened, it holds no byte, or reading
// it failed.
[[noreturn]] void ThrowBinaryUnreadable(const std::string& path) {
  std::error_code e;
  const bool readable = ::access(path.c_str(), R_OK) == 0 && std::filesystem::is_regular_file(path, e);
  if (readable && std::filesystem::file_size(path, e) == 0 && !e) throw EInOutError(Tx(TextId::BinaryFileEmpty, path));
  throw EInOutError(Tx(readable ? TextId::FileReadError : TextId::FileOpenError, path));
}

// Binary object file whose first byte the operator placed at address; false when the
// address lies outside the chip's window (reported, nothing copied).
bool LoadMainBinary(const ObjectFileContext& ctx, ChipModel& m, const std::string& path, u32 address,
                    TakeNotes& notes) {
  const ChipParams& p = m.Params;
  const u32 index = address - p.MainFlashStart;
  m.BinOffset = index;

  const bool mainAndEep = (m.Control.EraseFlags & 0x80) != 0;
  const u32 windowEnd = mainAndEep ? p.EepEnd : p.MainFlashEnd;
  const u64 space = windowEnd < p.MainFlashStart ? 0 : u64{windowEnd} - p.MainFlashStart + 1;
  const u64 imageIndex = u64{p.MainImageOffset} + index;
  if (address < p.MainFlashStart || index >= space || imageIndex >= MainImageSize) {
    LogAndShow(ctx, MsgKind::Warning, std::string(Text(TextId::ObjectOutOfFlashSpace)));
    return false;
  }
  // The space left counts from where the file starts.
  const u64 available = space - index;
  u32 last = static_cast<u32>(std::min<u64>(available, MainImageSize - imageIndex) - 1);
  const BinaryLoadResult r = LoadBinaryFileSum(
      path, std::span<u8>(m.MainFlashImage).subspan(static_cast<std::size_t>(imageIndex)), last, m.Sums.FileChecksum);
  if (!r.Ok) ThrowBinaryUnreadable(path);
  m.LastLoadAddress = r.LastLoadAddress;
  m.ObjectEnd = last;

  if (mainAndEep && p.EepStart >= p.MainFlashStart) {
    // The data-flash part of the file also lands in the data-flash image; only the bytes the
    // file holds there, so a data flash loaded before stays where the file does not reach.
    const u64 from = u64{p.MainImageOffset} + (p.EepStart - p.MainFlashStart);
    const u64 eepEnd = std::min<u64>(from + std::min(p.EepSize, EepImageSize), MainImageSize);
    const u64 reachedFrom = std::max<u64>(from, imageIndex);
    const u64 reachedEnd = std::min<u64>(eepEnd, imageIndex + r.Copied);
    if (reachedFrom < reachedEnd) {
      std::copy(m.MainFlashImage.begin() + static_cast<std::ptrdiff_t>(reachedFrom),
                m.MainFlashImage.begin() + static_cast<std::ptrdiff_t>(reachedEnd),
                m.EepImage.begin() + static_cast<std::ptrdiff_t>(reachedFrom - from));
    }
  }
  if (r.FileSize > available) notes.Warning = TextId::ObjectOutOfFlashSpace;
  if (index < 0x1000) {
    m.BootInfoEnd = m.ObjectEnd + 1;
  } else {
    m.AppInfoEnd = m.ObjectEnd + 1;
  }
  return true;
}

// The offset dialog edits the live model's BinOffset: preset, asked, and the answer.
u32 AskBinaryAddress(const ObjectFileContext& ctx, u32 preset) {
  ctx.Model.BinOffset = preset;
  ctx.Op.AskBinaryOffset();
  return ctx.Model.BinOffset;
}

// Load (clear first), Load More and the load without the path line: the file is read into
// a copy of the model and taken over only when it is not refused.
ObjectCommandResult LoadStaged(const ObjectFileContext& ctx, const std::string& path, bool clear, bool logPath) {
  ChipModel& m = ctx.Model;
  ObjectCommandResult result;
  const ObjectFormat format = ObjectFormatOf(path);
  if (format != ObjectFormat::Unknown && RefusedAsNotRegular(ctx, path)) return result;
  const u32 binOffsetBefore = m.BinOffset;
  const u32 binAddress = format == ObjectFormat::Binary ? AskBinaryAddress(ctx, m.Params.MainFlashStart) : 0;

  const auto staged = std::make_unique<ChipModel>(m);
  ChipModel& s = *staged;
  if (clear) {
    const u8 blank = s.ErasedValue();
    FillBytes(s.EepImage, EepImageSize - 1, blank);
    FillBytes(s.MainFlashImage, MainImageSize, blank);
    s.ObjectFileName = std::filesystem::path(path).filename().string();
  }
  s.LastLoadAddress = s.Params.MainFlashStart;
  TakeNotes notes;
  bool read = true;
  try {
    switch (format) {
      case ObjectFormat::IntelHex:
      case ObjectFormat::SRecord:
        read = ReadRecords(ctx, s, format, path, s.ObjectStart, s.ObjectEnd, s.Sums.FileChecksum, notes);
        break;
      case ObjectFormat::Binary: read = LoadMainBinary(ctx, s, path, binAddress, notes); break;
      case ObjectFormat::Unknown: break;
    }
  } catch (const EInOutError& e) {
    LogAndShow(ctx, MsgKind::Error, e.what());
    read = false;
  }
  if (!read) {
    m.BinOffset = binOffsetBefore;
    return result;
  }
  result.Done = true;
  s.ObjectLoaded = format == ObjectFormat::Unknown ? 0 : 1;
  TakeLoadedFields(m, s);
  if (format == ObjectFormat::Unknown) {
    LogAndShow(ctx, MsgKind::Error, std::string(Text(TextId::ObjectFileFormatError)));
  } else {
    if (logPath) ctx.Log.AddInfoLine(Tx(TextId::ObjectFileLoading, path));
    ctx.Log.AddLine("");
    GiveNotes(ctx, notes);
  }

  if (DifferencesOf(m.Params.ManufacturerIndex).objectCrc32) {
    m.Sums.ObjectCrc32 = CalcCrc32(m.MainFlashImage, m.ObjectStart & 0xFFFFF, m.ObjectEnd & 0xFFFFF);
    ctx.Log.AddInfoLine(Tx(TextId::ObjectFileCrc32Line, m.Sums.ObjectCrc32));
  }
  if (m.ObjectLoaded) {
    CalcDownloadSize(m);
    ctx.Log.AddLine("");
    ctx.Log.AddInfoLine(Tx(TextId::ObjectFileStartLine, m.ObjectStart));
    ctx.Log.AddInfoLine(Tx(TextId::ObjectFileEndLine, m.ObjectEnd));
    ctx.Log.AddInfoLine(Tx(TextId::ObjectFileAcc32Line, m.Sums.FileChecksum));
    ctx.Log.AddInfoLine(ProgrammedSizeLine(m.Params));
    RefreshChecksumsAndViews(m, ctx.Log, ctx.Op, result.Actions);
  }
  if (m.Params.OptionCode > 0) ShowOptionData(m, ctx.Op);
  if (clear) result.Actions.StatusFilePath = path;
  return result;
}

}  // namespace

ObjectFormat ObjectFormatOf(std::string_view path) {
  const std::string ext = UpperExtension(path);
  if (ext == ".HEX") return ObjectFormat::IntelHex;
  if (ext == ".S19" || ext == ".S32" || ext == ".S37" || ext == ".MOT") return ObjectFormat::SRecord;
  if (ext == ".BIN") return ObjectFormat::Binary;
  return ObjectFormat::Unknown;
}

ObjectFormat EepFileFormatOf(std::string_view path) {
  return UpperExtension(path) == ".S37" ? ObjectFormat::Unknown : ObjectFormatOf(path);
}

bool ChipChosen(const ChipModel& model, Operator& op) {
  if (model.ChipSelected) return true;
  op.Ask(MsgKind::Information, Text(TextId::OpsSelectChipFirst), MsgButtons::Ok);
  return false;
}

ObjectCommandResult OpenObjectFile(const ObjectFileContext& ctx, const std::string& path) {
  return LoadStaged(ctx, path, true, true);
}

ObjectCommandResult LoadMoreObjectFile(const ObjectFileContext& ctx, const std::string& path) {
  return LoadStaged(ctx, path, false, true);
}

ObjectCommandResult LoadObjectFile(const ObjectFileContext& ctx, const std::string& path) {
  return LoadStaged(ctx, path, false, false);
}

ObjectCommandResult LoadEepDataFile(const ObjectFileContext& ctx, const std::string& path) {
  ChipModel& m = ctx.Model;
  const ChipParams& p = m.Params;
  ObjectCommandResult result;
  const ObjectFormat format = EepFileFormatOf(path);
  if (format == ObjectFormat::Unknown) {
    LogAndShow(ctx, MsgKind::Error, std::string(Text(TextId::ObjectFileFormatError)));
    return result;
  }
  if (RefusedAsNotRegular(ctx, path)) return result;
  const u32 eepSize = std::min(p.EepSize, EepImageSize);
  const u32 binOffsetBefore = m.BinOffset;
  u32 offset = 0;
  if (format == ObjectFormat::Binary) {
    const u32 address = AskBinaryAddress(ctx, p.EepStart);
    offset = address - p.EepStart;
    if (address < p.EepStart || offset >= eepSize) {
      m.BinOffset = binOffsetBefore;
      LogAndShow(ctx, MsgKind::Warning, std::string(Text(TextId::ObjectOutOfEepSpace)));
      return result;
    }
  }

  const auto staged = std::make_unique<ChipModel>(m);
  ChipModel& s = *staged;
  FillBytes(s.EepImage, eepSize, s.ErasedValue());
  u32 start = 0;
  u32 end = 0;
  TakeNotes notes;
  bool read = true;
  try {
    switch (format) {
      case ObjectFormat::IntelHex:
      case ObjectFormat::SRecord:
        read = ReadRecords(ctx, s, format, path, start, end, s.Sums.EepFileChecksum, notes);
        break;
      case ObjectFormat::Binary: {
        end = eepSize - 1 - offset;
        const BinaryLoadResult r = LoadBinaryFileSum(
            path, std::span<u8>(s.EepImage).subspan(offset, eepSize - offset), end, s.Sums.EepFileChecksum);
        if (!r.Ok) ThrowBinaryUnreadable(path);
        if (r.FileSize > eepSize - offset) notes.Warning = TextId::ObjectOutOfEepSpace;
        break;
      }
      case ObjectFormat::Unknown: break;
    }
  } catch (const EInOutError& e) {
    LogAndShow(ctx, MsgKind::Error, e.what());
    read = false;
  }
  if (!read) {
    m.BinOffset = binOffsetBefore;
    return result;
  }
  // Object records outside the data flash landed in their own images: those views follow.
  const bool mainChanged = format != ObjectFormat::Binary && s.MainFlashImage != m.MainFlashImage;
  const bool optionChanged = format != ObjectFormat::Binary && s.OptionImage != m.OptionImage;
  TakeLoadedFields(m, s);
  result.Done = true;
  ctx.Log.AddInfoLine(Tx(TextId::EepFileLoading, path));
  GiveNotes(ctx, notes);
  ctx.Log.AddLine("");
  // A chip without data flash (the option grid's "Load File") has no data flash to erase:
  // the hidden box would go out with every later request.
  result.Actions.CheckErsEEP = p.EepSize != 0;
  ctx.Log.AddInfoLine(Tx(TextId::EepFileStartLine, start));
  ctx.Log.AddInfoLine(Tx(TextId::EepFileEndLine, end));
  ctx.Log.AddInfoLine(Tx(TextId::EepFileAcc32Line, m.Sums.EepFileChecksum));
  if (mainChanged) {
    CalcDownloadSize(m);
    RefreshChecksumsAndViews(m, ctx.Log, ctx.Op, result.Actions);
  }
  if (!mainChanged || p.EepSize == 0) CalcEepChecksum(m, ctx.Log);
  if (!mainChanged && p.EepSize != 0) ctx.Op.ShowEepData();
  if (optionChanged) ShowOptionData(m, ctx.Op);
  return result;
}

void SaveEepDataFile(const ChipModel& model, const std::string& path) {
  const u32 size = std::min(model.Params.EepSize, EepImageSize);
  // No data flash: an empty file, not the whole image.
  SaveBinaryFile(path, size == 0 ? std::span<const u8>() : std::span<const u8>(model.EepImage), 0, size - 1);
}

bool SaveMemoryAllowed(const ChipModel& model) { return model.ObjectLoaded != 0; }

bool SaveMemoryToFile(const ChipModel& model, const std::string& path, int filterIndex) {
  const ChipParams& p = model.Params;
  switch (filterIndex) {
    case 1:
      SaveBinaryFile(path, model.MainFlashImage, p.MainImageOffset,
                     p.MainImageOffset + (p.MainFlashEnd - p.MainFlashStart));
      return true;
    case 2: SaveIntelHexFile(model, path, p.MainFlashStart, p.MainFlashEnd); return true;
    case 3: SaveSRecordFile(model, path, p.MainFlashStart, p.MainFlashEnd); return true;
    default: return false;
  }
}

}  // namespace qx
