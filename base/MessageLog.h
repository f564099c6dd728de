#pragma once
// The single message log. It keeps every line in order; the window shows them, the log
// file writer saves them at close.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Local time of day as "HH:MM:SS" (24 hours).
std::string CurrentTimeOfDay();

class MessageLog {
 public:
  using Clock = std::function<std::string()>;

  explicit MessageLog(Clock clock = CurrentTimeOfDay) : clock_(std::move(clock)) {}

  // "> " + time + " " + message.
  void AddInfoLine(std::string_view message);
  // A line as given, without a time stamp.
  void AddLine(std::string_view line);
  void Clear();

  const std::vector<std::string>& Lines() const { return lines_; }
  std::string TimeOfDay() const { return clock_(); }

  // Called after each appended line (the window mirrors the log with it).
  std::function<void(const std::string&)> OnLineAdded;
  std::function<void()> OnCleared;

 private:
  Clock clock_;
  std::vector<std::string> lines_;
};

}  // namespace qx
