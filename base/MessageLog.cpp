#include "base/MessageLog.h"

#include <ctime>

namespace qx {

std::string CurrentTimeOfDay() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[16];
  std::strftime(buf, sizeof buf, "%H:%M:%S", &local);
  return buf;
}

void MessageLog::AddInfoLine(std::string_view message) {
  std::string line = "> ";
  line += clock_();
  line += ' ';
  line += message;
  AddLine(line);
}

void MessageLog::AddLine(std::string_view line) {
  lines_.emplace_back(line);
  if (view_) view_->LogLineAdded(lines_.back());
}

void MessageLog::Clear() {
  lines_.clear();
  if (view_) view_->LogCleared();
}

}  // namespace qx
