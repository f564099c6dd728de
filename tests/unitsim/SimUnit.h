#pragma once
// One simulated programmer unit, without any I/O: bytes in, byte chunks out. It keeps a
// chip memory (main flash, data flash, option area) so that blank check, erase, program,
// verify, read and the checksum read agree with each other, and it can inject faults.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/unitsim/SimSlip.h"

namespace qx::sim {

enum class FaultKind {
  Status,     // answer the request with Code instead of its own status
  Silence,    // no answer
  BadCheck,   // reply with a wrong check word
  BadEscape,  // reply frame with an ESC followed by a wrong byte
  Garbage,    // garbage bytes (no delimiter) before the reply frame
  StrayEnd,   // a stray 0xC0 and some filler before the reply frame
  Split,      // reply written in Code pieces
  HangUp,     // close the unit's side instead of answering
};

struct Fault {
  FaultKind Kind = FaultKind::Status;
  std::uint32_t AtRequest = 0;  // 1-based count of received requests; 0 = every request
  std::uint8_t Code = 0;
};

struct UnitConfig {
  std::string Model = "QX740VRD";
  std::string Version = "V2.4";
  bool BootLoader = false;
  bool OldFirmware = false;  // report OldVersion until a firmware upgrade ends
  std::string OldVersion = "V1.0";
  // False: the unit acknowledges every upgrade and still answers as before (old firmware or
  // boot loader).
  bool UpgradeTakes = true;
  std::vector<Fault> Faults;
  bool Pace = false;
};

struct UnitStats {
  std::uint64_t BytesReceived = 0;
  std::uint32_t Requests = 0;        // frames decoded as requests (probes included)
  std::uint32_t BadFrames = 0;       // bad escape, bad check word, too short
  std::uint32_t Probes = 0;
  std::map<std::uint8_t, std::uint32_t> ByCommand;
  std::uint32_t FirmwareBlocks = 0;
  bool FirmwareEnded = false;
  std::uint32_t FirmwareUpgrades = 0;  // upgrades ended with the end command
  bool Restarted = false;
  bool SettingsValid = false;        // the last 0x53 unmasked and checked
  std::uint32_t DownloadSize = 0;    // from the last valid settings block or chip header
  std::string ChipName;              // from the last valid settings block
};

// What the unit writes in answer: chunks in order, and whether it hangs up after them.
struct UnitOutput {
  std::vector<Bytes> Writes;
  bool HangUp = false;
};

class SimUnit {
 public:
  static constexpr std::size_t MainSize = 0x401000;
  static constexpr std::size_t EepSize = 0x40000;
  static constexpr std::size_t OptionSize = 0x2000;

  explicit SimUnit(UnitConfig config);

  // Takes received bytes; returns what to write back.
  UnitOutput Receive(std::span<const std::uint8_t> bytes);

  const UnitStats& Stats() const { return stats_; }
  UnitConfig& Config() { return config_; }
  // The id text the unit answers the probe with.
  std::string IdText() const;

  // Chip memory, for tests.
  std::vector<std::uint8_t>& Main() { return main_; }
  std::vector<std::uint8_t>& Eep() { return eep_; }
  std::vector<std::uint8_t>& Option() { return option_; }
  const std::array<std::uint8_t, 0x10000>& FirmwareImage() const { return firmware_; }
  const Bytes& LastSettingsBlock() const { return settings_; }
  // The downloaded job for stand-alone runs: main-flash and data-flash data by block.
  const std::vector<std::uint8_t>& MainJob() const { return job_; }
  const std::vector<std::uint8_t>& EepJob() const { return eepJob_; }
  const Bytes& DriverBlock() const { return driver_; }

  // Progress reports of one stand-alone run with the chip result (6 = good).
  static std::vector<Bytes> StandAloneReports(std::uint16_t blocks, std::uint8_t result);
  static Bytes ProgressReport(std::uint8_t phase, std::uint8_t result, std::uint16_t current, std::uint16_t total);

 private:
  struct Reply {
    bool Silent = false;
    Bytes Packet;  // without the check word
  };

  Reply Handle(const Bytes& request);
  Reply StatusReply(std::uint8_t command, std::uint8_t status) const;
  Reply DataReply(std::uint8_t command, std::span<const std::uint8_t> data) const;
  Reply IdentReply() const;
  Reply ChipOperation(const Bytes& p);
  Reply ChipData(const Bytes& p);
  Reply FirmwareBlock(const Bytes& p);
  void StandAloneRun(UnitOutput& out);
  void EmitFrame(const Bytes& packetWithCheck, std::uint32_t request, UnitOutput& out) const;
  bool HasFault(FaultKind kind, std::uint32_t request, std::uint8_t* code = nullptr) const;

  std::uint32_t ChipSize() const;

  UnitConfig config_;
  UnitStats stats_;
  SlipDecoder decoder_;
  std::vector<std::uint8_t> main_;
  std::vector<std::uint8_t> eep_;
  std::vector<std::uint8_t> option_;
  std::vector<std::uint8_t> job_;  // main-flash data downloaded for stand-alone runs
  std::vector<std::uint8_t> eepJob_;  // data-flash data downloaded likewise
  std::array<std::uint8_t, 0x10000> firmware_{};
  Bytes settings_;
  Bytes driver_;
  bool upgraded_ = false;
};

}  // namespace qx::sim
