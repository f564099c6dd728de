#pragma once
// Whether the window is inside the loop of a modal dialog or box. That loop goes on serving
// the ports and both timers, so a dialog that shows the job must not see it replaced from
// under it: while a loop is open the station holds back the batch start, the one timer
// action that brings another job, until the last loop has closed. Replies, time-outs,
// progress and the device searches go on.
namespace qx {

class ModalLoops {
 public:
  // One open loop, for as long as it lives.
  class Scope {
   public:
    explicit Scope(ModalLoops& loops) : loops_(loops) { ++loops_.open_; }
    ~Scope() { --loops_.open_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ModalLoops& loops_;
  };

  bool Open() const { return open_ != 0; }

 private:
  unsigned open_ = 0;
};

}  // namespace qx
