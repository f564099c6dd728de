#pragma once
// What an option dialog's OK asks before it writes: its modal loop serves the ports and
// timers, so the batch start may have brought another chip since the dialog opened.
#include <functional>
#include <utility>

namespace qx {

class OptionWriteGuard {
 public:
  void Set(std::function<bool()> mayWrite) { mayWrite_ = std::move(mayWrite); }
  // True when OK is to write nothing and close the dialog as Cancel does.
  bool Refuses() const { return mayWrite_ && !mayWrite_(); }

 private:
  std::function<bool()> mayWrite_;
};

}  // namespace qx
