#pragma once
// What a station is made with, and the small types of its unit commands.
#include <bitset>
#include <memory>
#include <string>
#include <string_view>

#include "app/ModalLoops.h"
#include "app/PortEventGuard.h"
#include "app/UnattendedOperator.h"
#include "base/MessageLog.h"
#include "base/Operator.h"
#include "base/Sleeper.h"
#include "programmer/PortList.h"
#include "programmer/RandomSource.h"
#include "programmer/UnitSessions.h"
#include "serial/EventPoster.h"

namespace qx {

struct SerialRun;  // app/UnitSerialNumbers.h

inline constexpr std::string_view BatchResultFileName = "ResDW.Txt";

// Units by index 0..9.
using UnitSet = std::bitset<UnitMax>;
// A step starter of the chains (StartDownloadChipData, StartAutoProgram, StartBlankCheck,
// ...); a captureless lambda serves for StartErase with its text.
using UnitStarter = void (*)(UnitSessions& s, u8 k);
// What a writing command does with every unit's AutoChain flag.
enum class AutoChainRule : u8 { Keep, Set, Clear };
// What a writing command does with each started unit's serial number: keeps it, or
// renumbers it from the run (none: the unit programs the image as it is).
struct SerialNumbering {
  bool Renumber = false;
  const SerialRun* Run = nullptr;
};

struct StationSetup {
  std::string AppDir;  // the program folder, with a trailing '/'
  EventPoster& Poster;
  Operator& Op;
  Sleeper Sleep = SleepFor;
  MessageLog::Clock Clock = CurrentTimeOfDay;
  // Where the serial adapters are looked for when there is no "ConfigQlt.ini".
  PortScanSource Scan = {};
  // Unset: a DefaultRandom.
  std::unique_ptr<RandomSource> Random = {};
  // Where an unattended run's boxes go besides the log.
  UnattendedOperator::ErrorOut ErrorOut = UnattendedOperator::WriteStandardError;
  // Each port event runs inside it (the window's handler wrapper); unset: as it is.
  PortEventGuard* Guard = nullptr;
  // The window's modal loops: while one is open the batch start waits. Unset: never open.
  const ModalLoops* Modals = nullptr;
};

}  // namespace qx
