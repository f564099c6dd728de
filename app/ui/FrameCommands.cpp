// The frame's commands: start-up, the close of every port, the device search and the two
// menu commands on the units as a whole. The station refuses the last three while a unit
// in use is busy; the window shows its message.
#include <memory>

#include "app/ui/MainController.h"
#include "app/ui/MainFrame.h"

namespace qx {

void BindFrameCommands(MainController& controller) {
  controller.SetFrame(std::make_unique<MainFrame>(controller.Window(), controller.Core(), controller.Forms()));
  MainFrame& frame = controller.Frame();
  Station& station = controller.Core();
  controller.Bind(WindowCommand::StartUp, [&frame] { frame.StartUp(); });
  // All ten components, not only the units in use: a search may have left any open.
  controller.Bind(WindowCommand::ClosePorts, [&station] { station.CloseAllPorts(); });
  controller.Bind(WindowCommand::BitBtnFindDevClick, [&station] { station.BitBtnFindDevClick(); });
  controller.Bind(WindowCommand::StartOfflineProgrm1Click, [&station] { station.StartOfflineProgrm1Click(); });
  controller.Bind(WindowCommand::DoFirmwareUpgrade1Click, [&station] { station.DoFirmwareUpgrade1Click(); });
}

}  // namespace qx
