#pragma once
// The window's commands that the running system carries out. Each handler of the main
// window that drives the units, the images or the files calls Run with its own name and
// does nothing else; the station answers them. Qt-free, so the station can implement it.
#include <cstddef>

#include "base/Types.h"

namespace qx {

// Made from app/WindowCommandList.def; Count is no command.
enum class WindowCommand : u8 {
#define QX_CORE_COMMAND(Name) Name,
#define QX_COMMAND(Name) Name,
#define QX_UNIT_COMMAND(Name, Unit) Name,
#include "app/WindowCommandList.def"
  Count
};

inline constexpr std::size_t WindowCommandCount = static_cast<std::size_t>(WindowCommand::Count);

class WindowCommands {
 public:
  virtual ~WindowCommands() = default;
  // Runs on the GUI thread inside the window's handler wrapper: an exception it raises
  // ends the command and is shown to the operator.
  virtual void Run(WindowCommand command) = 0;
};

}  // namespace qx
