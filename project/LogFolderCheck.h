#pragma once
// Whether the log file the settings name can be written, asked at start-up: the log is
// written only when the program closes, and a folder found unwritable then has lost the
// whole run's log.
#include <optional>
#include <string>

#include "project/LogSettings.h"

namespace qx {

struct LogFolderProblem {
  std::string Path;  // the folder (or, to append to, the file) that cannot be written
  int Error = 0;     // the system's reason, an errno value
};

// appDir ends with '/'. nullopt when the log can be written as the settings say.
std::optional<LogFolderProblem> FindLogFolderProblem(const LogSettings& settings, const std::string& appDir);

// The start-up's warning of it: the path and the system's reason.
std::string LogFolderProblemText(const LogFolderProblem& problem);

}  // namespace qx
