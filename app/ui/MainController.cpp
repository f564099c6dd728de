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

namespace {

std::size_t IndexOf(WindowCommand command) {
  const auto i = static_cast<std::size_t>(command);
  // Count and values cast from outside the enum are no command.
  if (i >= WindowCommandCount) throw std::logic_error("no such window command: " + std::to_string(i));
  return i;
}

}  // namespace

void MainController::Bind(WindowCommand command, std::function<void()> handler) {
  std::function<void()>& slot = handlers_[IndexOf(command)];
  if (slot) throw std::logic_error("window command bound twice: " + std::to_string(static_cast<int>(command)));
  slot = std::move(handler);
}

bool MainController::IsBound(WindowCommand command) const {
  const auto i = static_cast<std::size_t>(command);
  return i < WindowCommandCount && static_cast<bool>(handlers_[i]);
}

void MainController::Run(WindowCommand command) {
  const std::function<void()>& handler = handlers_[IndexOf(command)];
  // Every command is bound at construction; reaching this is a fault of the program.
  if (!handler) {
    throw std::logic_error("window command without a handler: " + std::to_string(static_cast<int>(command)));
  }
  handler();
}

}  // namespace qx
