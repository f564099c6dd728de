#pragma once
// Writing a file so that a failed write never destroys the file it replaces.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"

namespace qx {

// Writes bytes to a temporary file beside path, flushes it to disk and renames it over
// path. Throws EInOutError naming the path and the system's reason; on failure the old file
// stays and the temporary is removed.
void WriteFileReplacing(const std::string& path, std::span<const u8> bytes);

// text followed by the system's reason for error (an errno value): "text (reason)".
std::string WithSystemReason(std::string_view text, int error);

// Writes all of bytes to fd, going on after short writes and EINTR; false on an error.
bool WriteAll(int fd, std::span<const u8> bytes);

// At most maxBytes of the file. Throws EInOutError when it cannot be opened or read.
std::vector<u8> ReadFileBytes(const std::string& path, std::size_t maxBytes);

}  // namespace qx
