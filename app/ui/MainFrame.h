#pragma once
// The main window's frame wired to the station: the two timers, the start-up of the first
// show in its designed order, the three hex grids over the station's chip model, and the
// ten ports' events. Every timer tick and port event runs inside the window's handler
// wrapper, so an exception from the core is shown and the program goes on. The controller
// owns it; it goes before the window and the station.
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

#include "app/ui/HexGridModel.h"

namespace qx {

class Station;
class TGenMFrmARM;
struct ProgramForms;

inline constexpr int Timer1Interval = 10;  // ms: the unit operations' tick
inline constexpr int Timer2Interval = 50;  // ms: the start-up sequence

class MainFrame {
 public:
  // Timer1 runs from here on; Timer2 from the end of StartUp.
  MainFrame(TGenMFrmARM& window, Station& station, ProgramForms& forms);
  ~MainFrame();
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;

  // The first show's steps after its captions: log settings, chip state and views, session
  // reset, port list, gauges, greeting, command line, firmware file; Timer2 enabled last.
  void StartUp();

  // The timers' handlers. Timer2 stops once the station says every unit in use is linked.
  void Timer1Timer();
  void Timer2Timer();
  QTimer& Timer1() { return timer1_; }
  QTimer& Timer2() { return timer2_; }

 private:
  void ShowChipPageAndResetViews();

  TGenMFrmARM& window_;
  Station& station_;
  ProgramForms& forms_;
  QTimer timer1_;
  QTimer timer2_;
  HexGridModel mainGrid_;
  HexGridModel eepGrid_;
  HexGridModel optionGrid_;
};

// The program's arguments without its name, after Qt took its own options out.
std::vector<std::string> ProgramArguments(const QStringList& arguments);

}  // namespace qx
