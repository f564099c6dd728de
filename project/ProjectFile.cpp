#include "project/ProjectFile.h"

#include <array>

#include "programmer/RandomSource.h"
#include "programmer/SettingsBlock.h"
#include "images/FileReplace.h"
#include "project/ProjectByteStream.h"
#include "project/ProjectImageCheck.h"
#include "texts/Texts.h"

namespace qx {

static_assert(SettingsBlockSize == ProjectSettingsBlockSize);

void WriteProjectFile(const std::string& path, u8 programmerType, ProjectFileEnv& env) {
  std::array<u8, SettingsBlockSize> block{};
  BuildSettingsBlock(env.Model, env.Random, 0, env.UnitCount, block);
  ReplacingFile file(path);
  WriteProjectStream(file, env.Model, programmerType, block, env.Random);
  file.Commit();
  const std::string text = Tx(TextId::PrjCreated, path);
  env.Op.Ask(MsgKind::Information, text, MsgButtons::Ok);
  env.Log.AddInfoLine(text);
}

namespace {

// What a whole, well-summed file must still pass before it is applied.
ProjectReadResult CheckDecodedProject(const ProjectFileContent& content) {
  // No maker of that number exists: taking another maker's chip rules for it would send the
  // units settings that belong to no chip.
  if (content.ManufacturerIndex > ManufacturerIndexMax) return ProjectReadResult::PrjUnknownMaker;
  if (CheckProjectImages(content) != ProjectImageFault::None) return ProjectReadResult::PrjSumMismatch;
  return ProjectReadResult::PrjOk;
}

}  // namespace

ProjectReadResult ReadProjectFile(std::span<const u8> bytes, ProjectFileEnv& env) {
  ProjectByteReader reader(bytes);
  return ReadProjectFile(reader, env);
}

ProjectReadResult ReadProjectFile(ProjectByteReader& reader, ProjectFileEnv& env) {
  ProjectFileContent content;
  ProjectReadResult result = DecodeProjectFile(reader, content);
  if (result == ProjectReadResult::PrjOk) result = CheckDecodedProject(content);
  if (result == ProjectReadResult::PrjOk) ApplyProjectContent(content, env.Model, env.Section);
  const std::string text = result == ProjectReadResult::PrjUnknownMaker
                               ? Tx(TextId::PrjUnknownMaker, u32{content.ManufacturerIndex}, u32{ManufacturerIndexMax})
                               : std::string(ProjectReadMessage(result));
  env.Log.AddInfoLine(text);
  // A file of the older layout without its extension: the units get erased bytes there.
  if (result == ProjectReadResult::PrjOk && content.EepData.size() < content.EepDownloadSize)
    env.Log.AddInfoLine(Tx(TextId::PrjEepRestErased, static_cast<u32>(content.EepData.size()), content.EepDownloadSize));
  if (!env.CmdLineMode) env.Op.Ask(MsgKind::Information, text, MsgButtons::Ok);
  return result;
}

ProjectReadResult ReadProjectFile(const std::string& path, ProjectFileEnv& env) {
  ProjectByteReader reader(path, ProjectFileReadLimit);
  return ReadProjectFile(reader, env);
}

}  // namespace qx
