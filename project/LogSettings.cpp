#include "project/LogSettings.h"

#include <span>
#include <vector>

#include "base/Errors.h"
#include "images/FileReplace.h"
#include "project/TextLines.h"

namespace qx {
namespace {

constexpr std::string_view kHead = "[ConfigLog]";
constexpr std::string_view kEnd = "[EndCfg]";
constexpr std::string_view kFileKey = "SpcFile=";
// Far beyond any real settings file.
constexpr std::size_t kMaxConfigBytes = 1u << 20;

}  // namespace

void LogSettings::SetLocation(int location) {
  if (location == Location) return;
  Location = location;
  Mode = LogModeCreate;
}

bool ApplyLogConfig(std::string_view text, LogSettings& s) {
  const std::vector<std::string> lines = SplitTextLines(text);
  if (lines.empty() || lines[0] != kHead) return false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line == kEnd) break;
    if (line == "EnLog") s.Enabled = true;
    else if (line == "DnLog") s.Enabled = false;
    else if (line == "System") s.SetLocation(LogLocationSystem);
    else if (line == "Customer") s.SetLocation(LogLocationCustomer);
    else if (line == "CusDef0") s.Mode = LogModeCreate;
    else if (line == "CusDef1") s.Mode = LogModeOverwrite;
    else if (line == "CusDef2") s.Mode = LogModeAppend;
    else if (line.starts_with(kFileKey)) s.FileName = line.substr(kFileKey.size());
  }
  return true;
}

std::string FormatLogConfig(const LogSettings& s) {
  std::vector<std::string> lines{std::string(kHead), s.Enabled ? "EnLog" : "DnLog"};
  if (s.Location == LogLocationSystem) {
    lines.emplace_back("System");
  } else {
    lines.emplace_back("Customer");
    lines.emplace_back(s.Mode == LogModeCreate ? "CusDef0" : s.Mode == LogModeOverwrite ? "CusDef1" : "CusDef2");
    lines.push_back(std::string(kFileKey) + s.FileName);
  }
  lines.emplace_back(kEnd);
  return JoinTextLines(lines);
}

void LoadLogConfig(const std::string& dir, LogSettings& settings) {
  std::vector<u8> bytes;
  try {
    bytes = ReadFileBytes(dir + std::string(LogConfigFileName), kMaxConfigBytes);
  } catch (const EInOutError&) {
    return;
  }
  ApplyLogConfig(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), settings);
}

void SaveLogConfig(const std::string& dir, const LogSettings& settings) {
  const std::string text = FormatLogConfig(settings);
  WriteFileReplacing(dir + std::string(LogConfigFileName),
                     std::span<const u8>(reinterpret_cast<const u8*>(text.data()), text.size()));
}

}  // namespace qx
