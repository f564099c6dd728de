#pragma once
// Text files as lines: read with LF or CR LF, written with CR LF.
#include <string>
#include <string_view>
#include <vector>

namespace qx {

std::vector<std::string> SplitTextLines(std::string_view text);
// Every line followed by CR LF.
std::string JoinTextLines(const std::vector<std::string>& lines);

}  // namespace qx
