#include "app/ui/MainController.h"

#include <stdexcept>
#include <string>

#include "app/ui/MainFrame.h"

namespace qx {

MainController::MainController(TGenMFrmARM& window, Station& station, ProgramForms& forms)
    : window_(window), station_(station), forms_(forms) {
  window_.SetCommands(*this);
  BindFrameCommands(*this);
  BindUnitCommands(*this);
  BindFileCommands(*this);
  BindChipCommands(*this);
  BindProjectCommands(*this);
}

MainController::~MainController() = default;

void MainController::SetFrame(std::unique_ptr<MainFrame> frame) { frame_ = std::move(frame); }

void MainController::Bind(WindowCommand command, std::function<void()> handler) {
  if (!handlers_.emplace(command, std::move(handler)).second) {
    throw std::logic_error("window command bound twice: " + std::to_string(static_cast<int>(command)));
  }
}

void MainController::Run(WindowCommand command) {
  const auto it = handlers_.find(command);
  // Every command is bound at construction; reaching this is a fault of the program.
  if (it == handlers_.end()) {
    throw std::logic_error("window command without a handler: " + std::to_string(static_cast<int>(command)));
  }
  it->second();
}

}  // namespace qx
