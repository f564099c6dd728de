#pragma once
// Writing and reading project files with the messages the operator sees.
#include <span>
#include <string>

#include "images/ChipModel.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "base/Types.h"
#include "project/ProjectFileFormat.h"

namespace qx {

class ProjectByteReader;
class RandomSource;

struct ProjectFileEnv {
  ChipModel& Model;
  MessageLog& Log;
  MessageBoxes& Op;  // its boxes only
  RandomSource& Random;
  // Receives the decoded configuration section of a good file.
  ProjectSectionBuffer& Section;
  // Units in use: the stored settings block carries SnGain times this count.
  u8 UnitCount = 1;
  // Command-line mode: the reader logs its outcome without a message box.
  bool CmdLineMode = false;
};

// Larger than any project file; bytes beyond it are never looked at.
inline constexpr std::size_t ProjectFileReadLimit = 16u << 20;

// Writes the project of env.Model to path, replacing any old file only once the new one is
// complete, then shows and logs "Created Project File : path". Throws EInOutError.
void WriteProjectFile(const std::string& path, u8 programmerType, ProjectFileEnv& env);

// Reads a project from bytes into the model and the section buffer; nothing changes unless
// the whole file is good: its byte sum, a known maker index (PrjUnknownMaker names it) and
// images that agree with the sums stored for them (ProjectImageCheck.h). Logs the outcome
// and shows it unless in command-line mode.
ProjectReadResult ReadProjectFile(std::span<const u8> bytes, ProjectFileEnv& env);
// The same from a reader.
ProjectReadResult ReadProjectFile(ProjectByteReader& reader, ProjectFileEnv& env);
// The same from a file, read in pieces; throws EInOutError when it cannot be read.
ProjectReadResult ReadProjectFile(const std::string& path, ProjectFileEnv& env);

}  // namespace qx
