#pragma once
// The running program: the main window (the view), the station that owns the running
// system and shows itself through the window, the forms of the start, and the controller
// that carries out the window's commands. ProgramMain makes one; the window tests make one
// over a temporary program folder and simulated units.
#include <memory>
#include <string>

#include "app/Station.h"
#include "app/ui/GenMFrmARM.h"
#include "app/ui/MainController.h"
#include "app/ui/ProgramForms.h"
#include "app/ui/WindowProjectView.h"
#include "serial/ui/QtEventPoster.h"

namespace qx {

struct ProgramSetup {
  std::string AppDir;  // with a trailing '/'
  Sleeper Sleep = SleepFor;
  MessageLog::Clock Clock = CurrentTimeOfDay;
  PortScanSource Scan = {};
  std::unique_ptr<RandomSource> Random = {};
  UnattendedOperator::ErrorOut ErrorOut = UnattendedOperator::WriteStandardError;
  // Posts the ports' events instead of the program's own poster (a benchmark times them);
  // it must outlive the Program and run its posts on the GUI thread.
  EventPoster* Poster = nullptr;
};

class Program {
 public:
  // Needs the QApplication; create it on the GUI thread.
  explicit Program(ProgramSetup setup);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  TGenMFrmARM& Window() { return window_; }
  Station& Core() { return *station_; }
  ProgramForms& Forms() { return forms_; }
  MainController& Controller() { return *controller_; }

 private:
  // Declared in the order of their lives: the poster outlives every port's events, the
  // window outlives the station that reports to it, the dialogs and the controller.
  QtEventPoster poster_;
  TGenMFrmARM window_;
  std::unique_ptr<Station> station_;
  ProgramForms forms_;
  std::unique_ptr<MainController> controller_;
  std::unique_ptr<WindowProjectView> projectView_;
};

}  // namespace qx
