#pragma once
// The log settings and their settings file "GenLogX.cfg" in the program folder.
#include <string>
#include <string_view>

namespace qx {

inline constexpr std::string_view LogConfigFileName = "GenLogX.cfg";

enum LogLocationIndex : int { LogLocationSystem = 0, LogLocationCustomer = 1 };
enum LogModeIndex : int { LogModeCreate = 0, LogModeOverwrite = 1, LogModeAppend = 2 };

struct LogSettings {
  bool Enabled = true;  // the check box: enables the dialog's controls, the log is written regardless
  int Location = LogLocationSystem;
  int Mode = LogModeCreate;
  std::string FileName = "GenKVTxX.log";

  // As the location group's click: a changed location resets the mode to 0.
  void SetLocation(int location);
};

// Applies the text of a settings file line by line (exact, case-sensitive lines; LF or
// CR LF); false, and nothing changed, when the first line is not "[ConfigLog]".
bool ApplyLogConfig(std::string_view text, LogSettings& settings);

// The settings file's text, CR LF lines.
std::string FormatLogConfig(const LogSettings& settings);

// dir ends with '/'. No file, or one that cannot be read: no change.
void LoadLogConfig(const std::string& dir, LogSettings& settings);
// Throws EInOutError.
void SaveLogConfig(const std::string& dir, const LogSettings& settings);

}  // namespace qx
