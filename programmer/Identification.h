#pragma once
// Identification of a unit that is not linked yet: its answer to the probe names the model
// and the firmware version, or the boot loader.
#include <array>
#include <span>
#include <string_view>

#include "programmer/UnitSessions.h"

namespace qx {

enum IdentResult : u8 {
  IdentOk = 0,
  IdentOldFirmware = 3,
  IdentNoTag = 15,
  IdentMismatch = 31,
};

inline constexpr std::size_t IdTextBufferSize = 128;
inline constexpr std::size_t IdTextAt = 28;
inline constexpr std::string_view ModelTemplate = "QX740VRD";
inline constexpr std::string_view BootLoaderTemplate = "Nolbin200XXX";

// Zero-padded text: a template on the way in, the unit's id text on the way out.
using IdTextBuffer = std::array<char, IdTextBufferSize>;
IdTextBuffer IdTemplate(std::string_view text);
inline std::string_view IdText(const IdTextBuffer& b) { return std::string_view(b.data()); }

// The id text is taken from packet[textAt] on, at most its announced n + 1 bytes, never past
// the decoded packet or into its check word, and never more than the buffer holds with its
// terminating zero.
IdentResult CheckDeviceIdVersion(std::span<const u8> packet, IdTextBuffer& buffer, std::size_t textAt,
                                 std::span<const u8> firmwareVersion);
IdentResult CheckDeviceId(std::span<const u8> packet, IdTextBuffer& buffer, std::size_t textAt);

// A frame in unit k's frame slot from a unit whose Linked flag is clear.
void HandleLinkFrame(UnitSessions& s, u8 k, u16 frameLength);

}  // namespace qx
