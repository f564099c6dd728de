#pragma once
// Opening object and binary files for reading. Only regular files are opened: a FIFO, a
// device or a folder is refused before an open could wait on it (a FIFO with no writer
// holds open() for good, and with it the GUI thread and every unit's traffic).
#include <cstdio>
#include <memory>
#include <string>

#include "base/Types.h"

namespace qx {

struct StdioFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using StdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;

// True when the name exists and is anything but a regular file (links followed).
bool NamesNonRegularFile(const std::string& fileName);

enum class OpenFailure : u8 { None, CannotOpen, NotRegular };

struct OpenedFile {
  StdioFile File;
  OpenFailure Failure = OpenFailure::None;
};

// The file opened for binary reading, or why not.
OpenedFile OpenRegularFile(const std::string& fileName);

// As above; a failure raises EInOutError naming the file.
StdioFile OpenRegularFileOrThrow(const std::string& fileName);

}  // namespace qx
