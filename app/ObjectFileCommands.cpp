#include "app/ObjectFileCommands.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

#include "base/Errors.h"
#include "chips/Makers.h"
#include "images/BinaryFile.h"
#include "images/Checksums.h"
#include "images/IntelHexFile.h"
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

// What a load may change, kept so that a file that cannot be read leaves it as it was.
class LoadBackup {
 public:
  explicit LoadBackup(const ChipModel& model) : saved_(std::make_unique<ChipModel>(model)) {}

  void Restore(ChipModel& m) const {
    const ChipModel& s = *saved_;
    m.MainFlashImage = s.MainFlashImage;
    m.EepImage = s.EepImage;
    m.InfoAreaImage = s.InfoAreaImage;
    m.OptionImage = s.OptionImage;
    m.Sums = s.Sums;
    m.ObjectLoaded = s.ObjectLoaded;
    m.ObjectFileName = s.ObjectFileName;
    m.ObjectStart = s.ObjectStart;
    m.ObjectEnd = s.ObjectEnd;
    m.LastLoadAddress = s.LastLoadAddress;
    m.BinOffset = s.BinOffset;
    m.BootInfoEnd = s.BootInfoEnd;
    m.AppInfoEnd = s.AppInfoEnd;
  }

  bool MainChanged(const ChipModel& m) const { return m.MainFlashImage != saved_->MainFlashImage; }
  bool OptionChanged(const ChipModel& m) const { return m.OptionImage != saved_->OptionImage; }

 private:
  std::unique_ptr<ChipModel> saved_;
};

void LogAndShow(const ObjectFileContext& ctx, MsgKind kind, const std::string& text) {
  ctx.Log.AddInfoLine(text);
  ctx.Op.Ask(kind, text, MsgButtons::Ok);
}

// The reason a binary file gave nothing: it cannot be opened, it holds no byte, or reading
// it failed.
[[noreturn]] void ThrowBinaryUnreadable(const std::string& path) {
  std::error_code e;
  const bool readable = ::access(path.c_str(), R_OK) == 0 && std::filesystem::is_regular_file(path, e);
  if (readable && std::filesystem::file_size(path, e) == 0 && !e) throw EInOutError(Tx(TextId::BinaryFileEmpty, path));
  throw EInOutError(Tx(readable ? TextId::FileReadError : TextId::FileOpenError, path));
}

// Binary object file at the offset the operator gives; false when the offset lies outside
// the chip's window (reported, nothing copied).
bool LoadMainBinary(const ObjectFileContext& ctx, const std::string& path) {
  ChipModel& m = ctx.Model;
  const ChipParams& p = m.Params;
  m.BinOffset = p.MainFlashStart;
  if (ctx.AskBinOffset) ctx.AskBinOffset();
  const u32 address = m.BinOffset;
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

  const u64 mainSize = u64{p.MainFlashEnd} - p.MainFlashStart + 1;
  if (mainAndEep && u64{index} + r.Copied > mainSize && p.EepStart >= p.MainFlashStart) {
    // The data-flash part of the file also lands in the data-flash image.
    const u64 from = u64{p.MainImageOffset} + (p.EepStart - p.MainFlashStart);
    if (from < MainImageSize) {
      const u64 n = std::min<u64>({p.EepSize, EepImageSize, MainImageSize - from});
      std::copy_n(m.MainFlashImage.begin() + static_cast<std::ptrdiff_t>(from), n, m.EepImage.begin());
    }
  }
  if (r.FileSize > available) LogAndShow(ctx, MsgKind::Warning, std::string(Text(TextId::ObjectOutOfFlashSpace)));
  if (index < 0x1000) {
    m.BootInfoEnd = m.ObjectEnd + 1;
  } else {
    m.AppInfoEnd = m.ObjectEnd + 1;
  }
  return true;
}

ObjectCommandResult LoadWithBackup(const ObjectFileContext& ctx, const std::string& path, const LoadBackup& backup) {
  ChipModel& m = ctx.Model;
  ObjectCommandResult result;
  ctx.Log.AddLine("");
  m.LastLoadAddress = m.Params.MainFlashStart;
  const ObjectFormat format = ObjectFormatOf(path);
  try {
    switch (format) {
      case ObjectFormat::IntelHex:
        LoadIntelHexFile(m, path, m.ObjectStart, m.ObjectEnd, m.Sums.FileChecksum, ctx.Op);
        break;
      case ObjectFormat::SRecord:
        LoadSRecordFile(m, path, m.ObjectStart, m.ObjectEnd, m.Sums.FileChecksum, ctx.Op);
        break;
      case ObjectFormat::Binary:
        if (!LoadMainBinary(ctx, path)) {
          backup.Restore(m);
          return result;
        }
        break;
      case ObjectFormat::Unknown:
        break;
    }
  } catch (const EInOutError& e) {
    backup.Restore(m);
    LogAndShow(ctx, MsgKind::Error, e.what());
    return result;
  }
  result.Done = true;
  if (format == ObjectFormat::Unknown) {
    m.ObjectLoaded = 0;
    LogAndShow(ctx, MsgKind::Error, std::string(Text(TextId::ObjectFileFormatError)));
  } else {
    m.ObjectLoaded = 1;
  }

  if (MakerOf(m.Params.ManufacturerIndex) == Maker::Aucu) {
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
  ChipModel& m = ctx.Model;
  ctx.Log.AddInfoLine(Tx(TextId::ObjectFileLoading, path));
  const LoadBackup backup(m);
  const u8 blank = m.ErasedValue();
  FillBytes(m.EepImage, EepImageSize - 1, blank);
  FillBytes(m.MainFlashImage, MainImageSize, blank);
  m.ObjectFileName = std::filesystem::path(path).filename().string();
  ObjectCommandResult r = LoadWithBackup(ctx, path, backup);
  if (r.Done) r.Actions.StatusFilePath = path;
  return r;
}

ObjectCommandResult LoadMoreObjectFile(const ObjectFileContext& ctx, const std::string& path) {
  ctx.Log.AddInfoLine(Tx(TextId::ObjectFileLoading, path));
  return LoadObjectFile(ctx, path);
}

ObjectCommandResult LoadObjectFile(const ObjectFileContext& ctx, const std::string& path) {
  const LoadBackup backup(ctx.Model);
  return LoadWithBackup(ctx, path, backup);
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
  const u32 eepSize = std::min(p.EepSize, EepImageSize);
  u32 offset = 0;
  if (format == ObjectFormat::Binary) {
    m.BinOffset = p.EepStart;
    if (ctx.AskBinOffset) ctx.AskBinOffset();
    offset = m.BinOffset - p.EepStart;
    if (m.BinOffset < p.EepStart || offset >= eepSize) {
      LogAndShow(ctx, MsgKind::Warning, std::string(Text(TextId::ObjectOutOfEepSpace)));
      return result;
    }
  }

  const LoadBackup backup(m);
  FillBytes(m.EepImage, eepSize, m.ErasedValue());
  ctx.Log.AddInfoLine(Tx(TextId::EepFileLoading, path));
  u32 start = 0;
  u32 end = 0;
  try {
    switch (format) {
      case ObjectFormat::IntelHex: LoadIntelHexFile(m, path, start, end, m.Sums.EepFileChecksum, ctx.Op); break;
      case ObjectFormat::SRecord: LoadSRecordFile(m, path, start, end, m.Sums.EepFileChecksum, ctx.Op); break;
      case ObjectFormat::Binary: {
        end = eepSize - 1 - offset;
        const BinaryLoadResult r = LoadBinaryFileSum(
            path, std::span<u8>(m.EepImage).subspan(offset, eepSize - offset), end, m.Sums.EepFileChecksum);
        if (!r.Ok) ThrowBinaryUnreadable(path);
        if (r.FileSize > eepSize - offset) LogAndShow(ctx, MsgKind::Warning, std::string(Text(TextId::ObjectOutOfEepSpace)));
        break;
      }
      case ObjectFormat::Unknown: break;
    }
  } catch (const EInOutError& e) {
    backup.Restore(m);
    LogAndShow(ctx, MsgKind::Error, e.what());
    return result;
  }
  result.Done = true;
  ctx.Log.AddLine("");
  result.Actions.CheckErsEEP = true;
  ctx.Log.AddInfoLine(Tx(TextId::EepFileStartLine, start));
  ctx.Log.AddInfoLine(Tx(TextId::EepFileEndLine, end));
  ctx.Log.AddInfoLine(Tx(TextId::EepFileAcc32Line, m.Sums.EepFileChecksum));
  // Object records outside the data flash landed in their own images: those views follow.
  const bool mainChanged = format != ObjectFormat::Binary && backup.MainChanged(m);
  const bool optionChanged = format != ObjectFormat::Binary && backup.OptionChanged(m);
  if (mainChanged) {
    CalcDownloadSize(m);
    RefreshChecksumsAndViews(m, ctx.Log, ctx.Op, result.Actions);
  }
  if (!mainChanged || p.EepSize == 0) {
    CalcEepChecksum(m, ctx.Log);
    ctx.Op.ShowEepData();
  }
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
