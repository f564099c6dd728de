#pragma once
// The window's commands carried out: the main window is a view that hands each command to
// its WindowCommands; the controller answers them with the station (the running system),
// the Qt-free rules of app/ and the window's dialogs. Its commands come in groups, each in
// a file of its own with one Bind...Commands function that the constructor calls:
//   frame      start-up, timers, device search, off-line start, firmware upgrade, close
//   units      the writing commands and the reads (command buttons and menus)
//   files      object files, data-flash files, memory save, the S/N page
//   chips      chip selection, the chip reaction, the option button and listing
//   project    project load and save
#include <functional>
#include <array>
#include <memory>

#include "app/Station.h"
#include "app/WindowCommands.h"
#include "app/ui/GenMFrmARM.h"
#include "app/ui/ProgramForms.h"

namespace qx {

class MainFrame;

class MainController final : public WindowCommands {
 public:
  MainController(TGenMFrmARM& window, Station& station, ProgramForms& forms);
  ~MainController() override;
  MainController(const MainController&) = delete;
  MainController& operator=(const MainController&) = delete;

  // Runs the command's handler (inside the window's handler wrapper).
  void Run(WindowCommand command) override;
  // A group binds each of its commands once.
  void Bind(WindowCommand command, std::function<void()> handler);
  bool IsBound(WindowCommand command) const;

  TGenMFrmARM& Window() { return window_; }
  Station& Core() { return station_; }
  ProgramForms& Forms() { return forms_; }
  // The frame group's timers, grids and start-up (set by BindFrameCommands).
  MainFrame& Frame() { return *frame_; }
  void SetFrame(std::unique_ptr<MainFrame> frame);

 private:
  TGenMFrmARM& window_;
  Station& station_;
  ProgramForms& forms_;
  std::array<std::function<void()>, WindowCommandCount> handlers_;
  std::unique_ptr<MainFrame> frame_;
};

// The frame: start-up, the timers, the device search, off-line start, firmware upgrade, close.
void BindFrameCommands(MainController& controller);
// The writing commands and the reads on the units (UnitCommands.cpp).
void BindUnitCommands(MainController& controller);
// Object files, data-flash files, the memory save and the S/N page (FileCommands.cpp).
void BindFileCommands(MainController& controller);
// The chip commands (app/ui/ChipCommands.cpp).
void BindChipCommands(MainController& controller);
// Project save and load (ProjectUiCommands.cpp).
void BindProjectCommands(MainController& controller);

}  // namespace qx
