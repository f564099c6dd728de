#pragma once
// Holds the job for every modal window the program shows, whoever opened it: a dialog that
// a new command shows with its own exec(), a file dialog, a box. It watches the whole
// application, so no dialog can forget it.
#include <QObject>
#include <map>
#include <memory>

#include "app/ModalLoops.h"

namespace qx {

class ModalLoopWatch final : public QObject {
 public:
  explicit ModalLoopWatch(ModalLoops& loops);
  ~ModalLoopWatch() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Release(QObject* window);

  ModalLoops& loops_;
  struct Shown {
    std::unique_ptr<ModalLoops::Scope> Loop;
    QMetaObject::Connection Freed;
  };
  std::map<QObject*, Shown> shown_;
};

}  // namespace qx
