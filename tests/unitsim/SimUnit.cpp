#include "tests/unitsim/SimUnit.h"

#include <algorithm>

#include "tests/unitsim/SimCheck.h"

namespace qx::sim {

namespace {

constexpr std::uint8_t kAck = 6;
constexpr std::uint8_t kNotBlank = 21;
constexpr std::uint8_t kPacketError = 32;
constexpr std::uint8_t kCheckMismatch = 35;
constexpr std::uint8_t kUnknownCommand = 37;
constexpr std::uint8_t kFlashError = 44;

std::uint16_t Get16(const Bytes& p, std::size_t at) {
  return static_cast<std::uint16_t>(p[at] | (p[at + 1] << 8));
}
std::uint32_t Get32(const Bytes& p, std::size_t at) {
  return static_cast<std::uint32_t>(p[at]) | (static_cast<std::uint32_t>(p[at + 1]) << 8) |
         (static_cast<std::uint32_t>(p[at + 2]) << 16) | (static_cast<std::uint32_t>(p[at + 3]) << 24);
}
void Append16(Bytes& p, std::uint32_t v) {
  p.push_back(static_cast<std::uint8_t>(v));
  p.push_back(static_cast<std::uint8_t>(v >> 8));
}
void AppendCheck(Bytes& p) { Append16(p, SimCheck16(std::span<const std::uint8_t>(p))); }

std::uint32_t Sum(std::span<const std::uint8_t> b) {
  std::uint32_t s = 0;
  for (std::uint8_t x : b) s += x;
  return s;
}

}  // namespace

SimUnit::SimUnit(UnitConfig config)
    : config_(std::move(config)), main_(MainSize, 0xFF), eep_(EepSize, 0xFF), option_(OptionSize, 0xFF), job_(MainSize, 0xFF), eepJob_(EepSize, 0xFF) {}

std::string SimUnit::IdText() const {
  if (config_.BootLoader && !upgraded_) return "Nolbin200XXX V1.0, Boot";
  const std::string& version = (config_.OldFirmware && !upgraded_) ? config_.OldVersion : config_.Version;
  return config_.Model + " " + version + ", Simulated Unit";
}

bool SimUnit::HasFault(FaultKind kind, std::uint32_t request, std::uint8_t* code) const {
  for (const Fault& f : config_.Faults) {
    if (f.Kind == kind && (f.AtRequest == 0 || f.AtRequest == request)) {
      if (code) *code = f.Code;
      return true;
    }
  }
  return false;
}

std::uint32_t SimUnit::ChipSize() const { return stats_.DownloadSize; }

UnitOutput SimUnit::Receive(std::span<const std::uint8_t> bytes) {
  UnitOutput out;
  stats_.BytesReceived += bytes.size();
  for (SlipFrame& frame : decoder_.Feed(bytes)) {
    const std::uint32_t request = ++stats_.Requests;
    if (HasFault(FaultKind::HangUp, request)) {
      out.HangUp = true;
      return out;
    }
    Reply reply;
    const Bytes& p = frame.Packet;
    const bool probe = p.size() == 3 && p[0] == 0xA3 && p[1] == 0xA5 && p[2] == 0x35;
    if (frame.BadEscape || (!probe && p.size() < 10)) {
      ++stats_.BadFrames;
      reply = StatusReply(p.empty() ? 0 : p[0], kPacketError);
    } else if (probe) {
      ++stats_.Probes;
      reply = IdentReply();
    } else {
      ++stats_.ByCommand[p[0]];
      // The option write's check word leaves out its last payload byte.
      const bool optionWrite = p[0] == 0x93 && Get16(p, 1) == 53;
      const std::size_t checked = p.size() - 2 - (optionWrite ? 1 : 0);
      const std::uint16_t check = SimCheck16(std::span<const std::uint8_t>(p).first(checked));
      std::uint8_t code = 0;
      if (check != Get16(p, p.size() - 2)) {
        ++stats_.BadFrames;
        reply = StatusReply(p[0], kCheckMismatch);
      } else if (Get16(p, 6) + 10u != p.size()) {
        ++stats_.BadFrames;
        reply = StatusReply(p[0], kPacketError);
      } else if (p[0] == 0x8A) {
        if (p[1] == 'R' && p[2] == 'E' && p[3] == 'S' && p[4] == 'T') {
          stats_.Restarted = true;
          if (HasFault(FaultKind::Silence, request)) continue;
          std::uint8_t result = kAck;
          HasFault(FaultKind::Status, request, &result);
          std::copy(job_.begin(), job_.begin() + std::min<std::size_t>(ChipSize(), job_.size()), main_.begin());
          const auto blocks = static_cast<std::uint16_t>(std::max<std::uint32_t>(1, (ChipSize() + 1023) / 1024));
          for (Bytes& report : StandAloneReports(blocks, result)) EmitFrame(report, request, out);
        }
        continue;
      } else if (HasFault(FaultKind::Status, request, &code)) {
        reply = StatusReply(p[0], code);
      } else {
        reply = Handle(p);
      }
    }
    if (reply.Silent || HasFault(FaultKind::Silence, request)) continue;
    AppendCheck(reply.Packet);
    EmitFrame(reply.Packet, request, out);
  }
  return out;
}

void SimUnit::EmitFrame(const Bytes& packetWithCheck, std::uint32_t request, UnitOutput& out) const {
  Bytes packet = packetWithCheck;
  if (HasFault(FaultKind::BadCheck, request) && packet.size() >= 2) packet.back() ^= 0x5A;
  Bytes frame = SlipEncode(packet);
  if (HasFault(FaultKind::BadEscape, request)) {
    const Bytes bad = {0xDB, 0x41};
    frame.insert(frame.begin() + 2, bad.begin(), bad.end());
  }
  if (HasFault(FaultKind::Garbage, request)) {
    const Bytes garbage = {0x11, 0x22, 0xDB, 0x33, 0x7E, 0xFF, 0x00};
    frame.insert(frame.begin(), garbage.begin(), garbage.end());
  }
  if (HasFault(FaultKind::StrayEnd, request)) {
    const Bytes stray = {0xFF, 0xC0, 0xFF, 0xFF};
    frame.insert(frame.begin(), stray.begin(), stray.end());
  }
  std::uint8_t pieces = 1;
  if (HasFault(FaultKind::Split, request, &pieces) && pieces > 1) {
    const std::size_t size = (frame.size() + pieces - 1) / pieces;
    for (std::size_t at = 0; at < frame.size(); at += size) {
      out.Writes.emplace_back(frame.begin() + static_cast<std::ptrdiff_t>(at),
                              frame.begin() + static_cast<std::ptrdiff_t>(std::min(frame.size(), at + size)));
    }
    return;
  }
  out.Writes.push_back(std::move(frame));
}

SimUnit::Reply SimUnit::StatusReply(std::uint8_t command, std::uint8_t status) const {
  Reply r;
  r.Packet = {command, 0, 0, 0, 0, 0, 2, 0, status, 0};
  return r;
}

SimUnit::Reply SimUnit::DataReply(std::uint8_t command, std::span<const std::uint8_t> data) const {
  Reply r;
  r.Packet = {command, 0, 0, 0, 0, 0};
  Append16(r.Packet, static_cast<std::uint32_t>(data.size()));
  r.Packet.insert(r.Packet.end(), data.begin(), data.end());
  return r;
}

SimUnit::Reply SimUnit::IdentReply() const {
  const std::string text = IdText();
  Reply r;
  r.Packet = {0xA3, 0xA5, 0x35, 0, 0, 0};
  Append16(r.Packet, static_cast<std::uint32_t>(text.size() - 1));
  r.Packet.resize(28, 0);
  r.Packet.insert(r.Packet.end(), text.begin(), text.end());
  return r;
}

SimUnit::Reply SimUnit::Handle(const Bytes& p) {
  const std::uint8_t command = p[0];
  const std::uint16_t param = Get16(p, 1);
  const std::size_t n = Get16(p, 6);
  auto payload = std::span<const std::uint8_t>(p).subspan(8, n);
  const std::size_t at = static_cast<std::size_t>(param) * 1024;
  switch (command) {
    case 0x53: return ChipData(p);
    case 0x5F:
      driver_.assign(payload.begin(), payload.end());
      return StatusReply(command, kAck);
    case 0x55:
      if (n != 4096 || at + 4096 > job_.size()) return StatusReply(command, kFlashError);
      std::copy(payload.begin(), payload.end(), job_.begin() + static_cast<std::ptrdiff_t>(at));
      return StatusReply(command, kAck);
    case 0x5A:
      if (n != 4096 || at + 4096 > eepJob_.size()) return StatusReply(command, kFlashError);
      std::copy(payload.begin(), payload.end(), eepJob_.begin() + static_cast<std::ptrdiff_t>(at));
      return StatusReply(command, kAck);
    case 0x93: return ChipOperation(p);
    case 0x95:
    case 0x99: {
      auto& memory = command == 0x95 ? main_ : eep_;
      if (n < 4176 || at + 4096 > memory.size()) return StatusReply(command, kFlashError);
      stats_.DownloadSize = std::max(stats_.DownloadSize, Get32(p, 8 + 16));
      // Flash programming only clears bits.
      for (std::size_t i = 0; i < 4096; ++i) memory[at + i] &= payload[80 + i];
      return StatusReply(command, kAck);
    }
    case 0x9B:
    case 0x9D: {
      const auto& memory = command == 0x9B ? main_ : eep_;
      if (at + 4096 > memory.size()) return StatusReply(command, kFlashError);
      return DataReply(command, std::span<const std::uint8_t>(memory).subspan(at, 4096));
    }
    case 0xB7: return FirmwareBlock(p);
    case 0xBD:
      stats_.FirmwareEnded = true;
      ++stats_.FirmwareUpgrades;
      if (config_.UpgradeTakes) upgraded_ = true;
      return {true, {}};
    default: return StatusReply(command, kUnknownCommand);
  }
}

SimUnit::Reply SimUnit::ChipData(const Bytes& p) {
  stats_.SettingsValid = false;
  if (Get16(p, 6) != 1024) return StatusReply(p[0], kPacketError);
  const std::uint8_t m0 = static_cast<std::uint8_t>((p[1] ^ 0xF4) | 0x80);
  const std::uint8_t m1 = static_cast<std::uint8_t>((p[2] ^ 0xED) | 0x80);
  Bytes plain(p.begin() + 8, p.begin() + 8 + 1024);
  for (std::size_t i = 0; i < plain.size(); ++i) plain[i] ^= (i % 2 == 0) ? m0 : m1;
  const Bytes block(plain.begin(), plain.begin() + 512);
  const bool copiesEqual = std::equal(block.begin(), block.end(), plain.begin() + 512);
  const bool magic = block[0] == 'Z' && block[1] == 'W' && block[2] == 'L' && block[3] == 'P';
  const bool check = SimCheck16(std::span<const std::uint8_t>(block).first(508)) == Get16(block, 508);
  const bool sum = static_cast<std::uint16_t>(Sum(std::span<const std::uint8_t>(block).first(510))) == Get16(block, 510);
  if (!(copiesEqual && magic && check && sum)) return StatusReply(p[0], 21);
  settings_ = block;
  stats_.SettingsValid = true;
  stats_.DownloadSize = Get32(block, 4 + 16);
  std::string name;
  for (std::size_t i = 240; i < 256 && block[i] != 0; ++i) name.push_back(static_cast<char>(block[i]));
  stats_.ChipName = name;
  return StatusReply(p[0], kAck);
}

SimUnit::Reply SimUnit::ChipOperation(const Bytes& p) {
  const std::uint16_t op = Get16(p, 1);
  const std::size_t n = Get16(p, 6);
  if (n < 64) return StatusReply(p[0], kPacketError);
  const std::uint32_t downloadSize = Get32(p, 8 + 16);
  if (n >= 80) stats_.DownloadSize = downloadSize;
  const std::size_t size = std::min<std::size_t>(downloadSize, main_.size());
  switch (op) {
    case 5: {
      const bool blank = std::all_of(main_.begin(), main_.begin() + static_cast<std::ptrdiff_t>(size),
                                     [](std::uint8_t b) { return b == 0xFF; });
      return StatusReply(p[0], blank ? kAck : kNotBlank);
    }
    case 3:
      std::fill(main_.begin(), main_.end(), 0xFF);
      std::fill(eep_.begin(), eep_.end(), 0xFF);
      return StatusReply(p[0], kAck);
    case 48: {
      auto memory = std::span<const std::uint8_t>(main_).first(size);
      Bytes data;
      Append16(data, SimCheck16(memory));
      const std::uint32_t acc = Sum(memory);
      Append16(data, acc & 0xFFFF);
      Append16(data, acc >> 16);
      return DataReply(p[0], data);
    }
    case 51: return DataReply(p[0], std::span<const std::uint8_t>(option_).first(256));
    case 53: {
      const std::size_t bytes = std::min<std::size_t>((p[4] == 0xC0 && n == 4176) ? 4096 : 1024, n - 80);
      std::copy_n(p.begin() + 88, bytes, option_.begin());
      return StatusReply(p[0], kAck);
    }
    case 60: {
      Bytes info(512);
      for (std::size_t i = 0; i < info.size(); ++i) info[i] = static_cast<std::uint8_t>(i ^ 0x5C);
      return DataReply(p[0], info);
    }
    case 121: {
      const std::uint32_t start = Get32(p, 8 + 48);
      const std::size_t length = std::clamp<std::size_t>(Get16(p, 8 + 52), 3, 4096);
      const std::uint32_t base = Get32(p, 8 + 24);
      Bytes data(length, 0xFF);
      for (std::size_t i = 0; i < length; ++i) {
        const std::uint64_t a = static_cast<std::uint64_t>(start) + i;
        if (a >= base && a - base < main_.size()) data[i] = main_[static_cast<std::size_t>(a - base)];
      }
      return DataReply(p[0], data);
    }
    default: return StatusReply(p[0], kUnknownCommand);
  }
}

SimUnit::Reply SimUnit::FirmwareBlock(const Bytes& p) {
  if (Get16(p, 6) != 0x1020) return StatusReply(p[0], kPacketError);
  const std::uint8_t nl = p[2];
  const std::uint8_t nh = p[3];
  const std::size_t base = static_cast<std::size_t>((p[1] / 4) % 32) * 2048;
  for (std::size_t i = 0; i < 512; ++i) {
    const std::size_t at = 8 + 4 * i;
    std::array<std::uint8_t, 4> b{};
    for (std::size_t j = 0; j < 4; ++j) b[j] = static_cast<std::uint8_t>(p[at + j] ^ p[2056 + 4 * i + j]);
    if (b[3] != 0 || p[2056 + 4 * i + 3] != 0) return StatusReply(p[0], kPacketError);
    firmware_[base + 4 * i] = static_cast<std::uint8_t>(b[0] ^ nl);
    firmware_[base + 4 * i + 1] = static_cast<std::uint8_t>(b[1] ^ nh);
    firmware_[base + 4 * i + 2] = static_cast<std::uint8_t>(b[2] ^ nl);
  }
  ++stats_.FirmwareBlocks;
  return StatusReply(p[0], kAck);
}

Bytes SimUnit::ProgressReport(std::uint8_t phase, std::uint8_t result, std::uint16_t current, std::uint16_t total) {
  Bytes r = {0xFD, phase, result};
  Append16(r, current);
  Append16(r, total);
  r.push_back(static_cast<std::uint8_t>(0x100 - (Sum(r) & 0xFF)));
  AppendCheck(r);
  return r;
}

std::vector<Bytes> SimUnit::StandAloneReports(std::uint16_t blocks, std::uint8_t result) {
  std::vector<Bytes> reports;
  reports.push_back(ProgressReport(0x10, 6, 0, 0));
  reports.push_back(ProgressReport(0x20, 6, 0, 0));
  reports.push_back(ProgressReport(0x30, 6, 0, 0));
  for (std::uint16_t b = 0; b < blocks; b = static_cast<std::uint16_t>(b + 4))
    reports.push_back(ProgressReport(0x40, 6, b, blocks));
  reports.push_back(ProgressReport(0x70, 6, 0, 0));
  reports.push_back(ProgressReport(0xF0, result, 0, 0));
  return reports;
}

}  // namespace qx::sim
