#include "programmer/Identification.h"

#include <algorithm>
#include <cstring>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "programmer/CommandCodes.h"
#include "programmer/FirmwareUpgrade.h"
#include "programmer/Frame.h"
#include "programmer/ReplyDispatch.h"
#include "programmer/UnitStepFramework.h"
#include "texts/Texts.h"

namespace qx {
namespace {

inline constexpr std::size_t VersionWordMax = 8;

struct RawIdText {
  std::array<u8, IdTextBufferSize> Bytes{};
  std::size_t Length = 0;
};

// Steps shared by both checks: the tag, the bounded and filtered text, the template match.
IdentResult MatchTemplate(std::span<const u8> packet, const IdTextBuffer& buffer, std::size_t textAt, RawIdText& text) {
  if (packet.size() < 8 || !std::equal(IdentTag.begin(), IdentTag.end(), packet.begin())) return IdentNoTag;
  const u16 n = GetLe16(packet, 6);
  if (n == 0) return IdentNoTag;
  // A reply that ends in its good check word: those two bytes are no text, however long
  // the text it announces.
  std::size_t end = packet.size();
  if (end >= textAt + 2 && CalcCheck16(packet.first(end - 2)) == GetLe16(packet, end - 2)) end -= 2;
  const std::size_t avail = end > textAt ? end - textAt : 0;
  text.Length = std::min({std::size_t{n} + 1, avail, IdTextBufferSize - 1});
  for (std::size_t i = 0; i < text.Length; ++i) {
    const u8 c = packet[textAt + i];
    text.Bytes[i] = c < 0x20 || c > 0x7F ? 0 : c;
  }
  const std::size_t templateLength = std::strlen(buffer.data());
  for (std::size_t i = 0; i < templateLength; ++i) {
    if (i >= text.Length || text.Bytes[i] == 0 || text.Bytes[i] != static_cast<u8>(buffer[i])) return IdentMismatch;
  }
  return IdentOk;
}

void CopyText(const RawIdText& text, IdTextBuffer& buffer) {
  buffer.fill(0);
  for (std::size_t i = 0; i < text.Length && text.Bytes[i] != 0; ++i) buffer[i] = static_cast<char>(text.Bytes[i]);
}

// The first word that starts with 'V' after a blank, up to a blank or comma, at most 8.
std::span<const u8> VersionWord(const RawIdText& text) {
  for (std::size_t p = 1; p < text.Length; ++p) {
    if (text.Bytes[p] != 'V' || text.Bytes[p - 1] != ' ') continue;
    std::size_t e = p;
    while (e < text.Length && e - p < VersionWordMax && text.Bytes[e] != ' ' && text.Bytes[e] != ',') ++e;
    return std::span<const u8>(text.Bytes).subspan(p, e - p);
  }
  return {};
}

bool SortsLower(std::span<const u8> word, std::span<const u8> version) {
  const u8 first = version.empty() ? 0 : version[0];
  if (word.empty()) return first != 0;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const u8 b = i < version.size() ? version[i] : 0;
    if (word[i] != b) return word[i] < b;
    if (b == 0) break;
  }
  return false;
}

}  // namespace

IdTextBuffer IdTemplate(std::string_view text) {
  IdTextBuffer b{};
  std::copy_n(text.begin(), std::min(text.size(), IdTextBufferSize - 1), b.begin());
  return b;
}

IdentResult CheckDeviceIdVersion(std::span<const u8> packet, IdTextBuffer& buffer, std::size_t textAt,
                                 std::span<const u8> firmwareVersion) {
  RawIdText text;
  const IdentResult r = MatchTemplate(packet, buffer, textAt, text);
  if (r != IdentOk) return r;
  CopyText(text, buffer);
  return SortsLower(VersionWord(text), firmwareVersion) ? IdentOldFirmware : IdentOk;
}

IdentResult CheckDeviceId(std::span<const u8> packet, IdTextBuffer& buffer, std::size_t textAt) {
  RawIdText text;
  const IdentResult r = MatchTemplate(packet, buffer, textAt, text);
  if (r == IdentOk) CopyText(text, buffer);
  return r;
}

void HandleLinkFrame(UnitSessions& s, u8 k, u16 frameLength) {
  auto& buf = s.Wire.Units[k];
  const auto decoded = DecodeFrame(std::span<const u8>(buf.RxFrameBuf).first(frameLength), buf.PacketBuf);
  if (decoded.Status != ResOk) return;
  const auto packet = std::span<const u8>(buf.PacketBuf).first(decoded.Length);
  if (packet[0] == PktProgressReport) return HandleProgressReport(s, k);
  if (packet[0] == PktIgnored) return;

  auto& u = s.Unit[k];
  const auto& fw = s.Wire.Firmware;
  IdTextBuffer id = IdTemplate(ModelTemplate);
  const IdentResult r = CheckDeviceIdVersion(packet, id, IdTextAt, fw.FirmwareVersion);
  IdTextBuffer boot = IdTemplate(BootLoaderTemplate);
  const bool bootLoader = r != IdentOk && r != IdentOldFirmware && CheckDeviceId(packet, boot, IdTextAt) == IdentOk;
  bool told = false;
  if ((r == IdentOldFirmware || bootLoader) && u.UpgradeDone && !u.UpgradeFailed) {
    u.UpgradeFailed = 1;
    AddUnitInfoLine(s, k, Tx(TextId::UpgradeDidNotTake, IdText(bootLoader ? boot : id)));
    told = true;
  }
  if (r == IdentOk || r == IdentOldFirmware) {
    // A unit that is about to be upgraded counts as linked only after the upgrade and the
    // search that follows it, so that nothing starts a download on it meanwhile.
    // A unit whose upgrade failed in this run works on with its firmware as it is.
    const bool upgrade = r == IdentOldFirmware && fw.FirmwareLoaded && !u.UpgradeFailed;
    if (!upgrade) s.LinkedCount = static_cast<u8>(s.LinkedCount + 1);
    u.Linked = 1;
    u.StepState = StepIdle;
    SetUnitTimeout(s, k, TicksAfterCommand);
    s.Op.SetInfoCaption(IdText(id));
    AddUnitInfoLine(s, k, Tx(TextId::FindDevice, IdText(id)));
    if (upgrade) StartFirmwareUpgrade(s, k);
    return;
  }
  if (bootLoader) {
    if (!u.UpgradeFailed) return StartFirmwareUpgrade(s, k);
    // It stays unlinked, and the upgrade command serves only linked units: the operator
    // must learn why this unit answers nothing else.
    if (!told) AddUnitInfoLine(s, k, Tx(TextId::UpgradeDidNotTake, IdText(boot)));
    return;
  }
  u.Linked = 0;
  s.Op.SetInfoCaption(Text(TextId::NoDeviceFound));
  AddUnitInfoLine(s, k, Text(TextId::NoDeviceFound));
}

}  // namespace qx
