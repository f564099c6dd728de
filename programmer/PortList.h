#pragma once
// The list of serial ports to try for programmer units: from "ConfigQlt.ini" beside the
// program when it exists, else from the system's USB serial adapters.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Types.h"
#include "programmer/UnitSession.h"

namespace qx {

// What the window's port combo shows, and the port name the file gave each unit.
struct PortList {
  std::vector<std::string> Entries;
  std::string Text;
  std::array<std::string, UnitMax> CommName{};
};

// True when the port can be opened for reading and writing at this moment.
using PortProbe = std::function<bool(const std::string& path)>;

struct PortScanSource {
  std::string SysfsRoot = "/sys";
  std::string DevDir = "/dev/";
  PortProbe CanOpen;  // unset: the serial component's probe
};

// The text after the first '=' of a line (empty when there is none).
std::string_view ConfigLineValue(std::string_view line);

// Each rebuilds the list and returns its number of entries (not yet cut to UnitMax).
std::size_t ReadPortConfigFile(const std::string& path, PortList& list);
std::size_t ScanSerialPorts(PortList& list, const PortScanSource& source);


// Fills the list and returns the unit count, at most UnitMax.
u8 LoadPortList(std::string_view appDir, PortList& list, const PortScanSource& source = {});

}  // namespace qx
