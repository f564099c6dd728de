#pragma once
// The real program (window, station, start forms, controller) in a fresh program folder,
// with simulated units on pseudo-terminals named by its "ConfigQlt.ini". Message boxes and
// modal dialogs are answered at once from queues (never a real modal wait), the GUI-thread
// waits only record, and RunUntil serves Qt's events (the ports' posts among them) and the
// window's two timers faster than real time: the rig ticks them by hand, so they never fire
// by the clock.
#include <QApplication>
#include <QDialog>
#include <chrono>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/MainFrame.h"
#include "app/ui/Program.h"
#include "tests/support/QtAppEnvironment.h"
#include "tests/app/SimulatedFolder.h"
#include "tests/unitsim/SimFiles.h"
#include "tests/unitsim/UnitSimulator.h"

namespace qx::test {

class ProgramRig : public SimulatedFolder {
 public:
  struct Box {
    MsgKind kind;
    std::string text;
    MsgButtons buttons;
  };

  // The program over the folder; boxes and dialogs answered from the queues below.
  Program& Make() {
    ProgramSetup setup{dir.Dir()};
    setup.Sleep = [this](int ms) {
      sleeps.push_back(ms);
      if (onSleep) onSleep(ms);
    };
    setup.Clock = [] { return std::string("12:34:56"); };
    setup.Scan.SysfsRoot = dir.File("no-sysfs");  // no adapters of the test machine
    setup.ErrorOut = [this](std::string_view line) { errorLines.emplace_back(line); };
    program = std::make_unique<Program>(std::move(setup));
    TGenMFrmARM& w = program->Window();
    w.ShowMessage = [this](MsgKind kind, std::string_view text, MsgButtons buttons) {
      boxes.push_back({kind, std::string(text), buttons});
      if (onBox) onBox(boxes.back());
      if (answers.empty()) return buttons == MsgButtons::YesAbort || buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
      const MsgAnswer a = answers.front();
      answers.pop_front();
      return a;
    };
    w.ShowModal = [this](QDialog& d) {
      modals.push_back(&d);
      if (onModal) return onModal(d);
      return static_cast<int>(QDialog::Rejected);
    };
    Frame().Timer1().stop();
    Frame().Timer2().setInterval(std::numeric_limits<int>::max());
    return *program;
  }
  // The window shown as the program shows it: its first show runs the start-up.
  void Start() {
    Window().show();
    QCoreApplication::processEvents();
  }

  Station& Core() { return program->Core(); }
  TGenMFrmARM& Window() { return program->Window(); }
  MainFrame& Frame() { return program->Controller().Frame(); }
  // The window's Timer2 runs (enabled by the start-up, stopped by itself).
  bool Timer2Running() { return Frame().Timer2().isActive(); }

  // Serves Qt's events and one Timer1 tick per round of at most 3 ms (Timer2 on every
  // fifth round while the window's runs, or the station's own while timer2On), until done.
  // The rounds bound a run that never gets done; a loaded machine needs many more of them.
  bool RunUntil(const std::function<bool()>& done, int maxRounds = 20000) {
    for (int r = 0; r < maxRounds && !done(); ++r) {
      const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(3);
      while (!done() && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      }
      if (done()) break;
      Frame().Timer1Timer();
      if (++rounds % 5 != 0) continue;
      if (Timer2Running()) {
        Frame().Timer2Timer();
      } else if (timer2On && Core().Timer2Timer()) {
        timer2On = false;
      }
    }
    return done();
  }
  // The units searched and linked through the station (no window command involved).
  bool LinkUnits() {
    Core().LoadPortList();
    Core().BitBtnFindDevClick();
    const u8 n = static_cast<u8>(sim ? sim->Count() : 0);
    return RunUntil([&] { return Core().LinkedCount() == n; });
  }
  bool AllIdle() {
    for (u8 k = 0; k < Core().UnitCount(); ++k) {
      if (Core().Unit(k).Busy) return false;
    }
    return true;
  }

  std::unique_ptr<Program> program;  // destroyed first: its ports close before the units go
  std::vector<Box> boxes;
  std::vector<std::string> errorLines;  // what a run nobody watches wrote to the standard error
  std::deque<MsgAnswer> answers;
  std::vector<QDialog*> modals;
  std::function<int(QDialog&)> onModal;
  std::function<void(const Box&)> onBox;  // sees the program as it is when a box shows
  std::vector<int> sleeps;
  std::function<void(int)> onSleep;  // likewise when it waits
  bool timer2On = false;
  int rounds = 0;
};

}  // namespace qx::test
