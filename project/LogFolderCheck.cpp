#include "project/LogFolderCheck.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "project/LogFileWriter.h"
#include "texts/Texts.h"

namespace qx {
namespace {

// A folder the writer can create a file in (the replacing writer puts a temporary file
// beside the target); the error that stops it otherwise.
int FolderError(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::optional<LogFolderProblem> Problem(const std::string& path, int error) {
  if (error == 0) return std::nullopt;
  return LogFolderProblem{path, error};
}

std::string ParentOf(const std::string& path) {
  const std::string parent = std::filesystem::path(path).parent_path().string();
  return parent.empty() ? "." : parent;
}

}  // namespace

std::optional<LogFolderProblem> FindLogFolderProblem(const LogSettings& settings, const std::string& appDir) {
  if (settings.Location == LogLocationSystem) {
    const std::string folder = appDir + std::string(SystemLogFolder);
    const int error = FolderError(folder);
    // A folder the writer creates at close: the program folder must take it.
    if (error == ENOENT) return Problem(ParentOf(folder), FolderError(ParentOf(folder)));
    return Problem(folder, error);
  }
  const std::string path = CustomerLogPath(appDir, settings.FileName);
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return Problem(path, EISDIR);
  if (settings.Mode == LogModeAppend && exists && S_ISREG(st.st_mode)) {
    // Appended to in place: the file itself is written, not its folder.
    return Problem(path, ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno);
  }
  return Problem(ParentOf(path), FolderError(ParentOf(path)));
}

std::string LogFolderProblemText(const LogFolderProblem& problem) {
  char buffer[256];
  const std::string reason = ::strerror_r(problem.Error, buffer, sizeof buffer);
  return Tx(TextId::LogFolderNotWritable, problem.Path, reason);
}

}  // namespace qx
