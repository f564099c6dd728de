#pragma once
// Text files the program writes (log files) are UTF-8 in the English build and GBK in the
// Chinese build, as the Windows build of the Chinese texts wrote them.
#include <optional>
#include <string>
#include <string_view>

namespace qx {

// Converts UTF-8 to GBK; nullopt when a character has no GBK form or the input is not UTF-8.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// The bytes of utf8 as the build writes them to a text file: GBK in the Chinese build
// (a character without GBK form becomes '?'), unchanged in the English build.
std::string EncodeForTextFile(std::string_view utf8);

}  // namespace qx
