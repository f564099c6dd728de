#pragma once
// The single message log. It keeps every line in order; the view mirrors them through its
// Operator, the log file writer saves them at close.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Operator.h"

namespace qx {

// Local time of day as "HH:MM:SS" (24 hours).
std::string CurrentTimeOfDay();

class MessageLog {
 public:
  using Clock = std::function<std::string()>;

  // view: told of every appended line and of a clear; none when null.
  explicit MessageLog(Clock clock = CurrentTimeOfDay, Operator* view = nullptr)
      : clock_(std::move(clock)), view_(view) {}

  // "> " + time + " " + message.
  void AddInfoLine(std::string_view message);
  // A line as given, without a time stamp.
  void AddLine(std::string_view line);
  void Clear();
  // Whoever shows the log from now on (the window once it exists); null: nobody.
  void SetView(Operator* view) { view_ = view; }

  const std::vector<std::string>& Lines() const { return lines_; }
  std::string TimeOfDay() const { return clock_(); }

 private:
  Clock clock_;
  Operator* view_;
  std::vector<std::string> lines_;
};

}  // namespace qx
