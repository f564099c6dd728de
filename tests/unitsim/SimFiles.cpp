#include "tests/unitsim/SimFiles.h"

#include <fstream>

#include "tests/unitsim/SimCheck.h"

namespace qx::sim {

namespace {

void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

struct StemRow {
  std::string_view Prefix;
  std::string_view Stem;
};

constexpr StemRow kStems[] = {
    {"AC7840", "FDrvAC784X"},     {"AC78", "FDrvAC78X"},        {"IND832", "FDrvIndieA"},
    {"IND862", "FDrvIND862xX"},   {"ML630Q46", "FDrvML6xQ"},    {"ML630Q448", "FDrvMxQ448"},
    {"MR88F", "FDrvMR88Fx5"},     {"LCP037", "FDrvLCP0XAX"},    {"LCM32F0", "FDrvLCP0XAX"},
    {"SN32F75", "SNXF76XFDRV"},   {"SN32F76", "SNXF76XFDRV"},   {"SN32F77", "SNXF76XFDRV"},
    {"CMS32M65", "BATG13XFDRV"},  {"BAT32G12", "BATG13XFDRV"},  {"BAT32G13", "BATG13XFDRV"},
    {"BAT32G15", "BATG13XFDRV"},  {"BAT32G17", "BATG13XFDRV"},  {"BAT32A237", "BATG13XFDRV"},
    {"BAT32A239", "BATG13XFDRV"}, {"SPC1168", "SPD117FXDRV"},   {"SPC1169", "SPD117FXDRV"},
    {"SPD1168", "SPD117FXDRV"},   {"SPD1169", "SPD117FXDRV"},   {"SPD1176", "SPD117FXDRV"},
    {"SPD1179", "SPD117FXDRV"},   {"LE501", "FDrvIndieA"},      {"LE511", "FDrvIndieA"},
    {"TEA32G", "DRVTEA32G58X"},   {"TMPM37", "DRVTMPM370X"},    {"TMPM38", "DRVTMPM370X"},
    {"TMPM4K", "DRVTMPMTXZP"},    {"SA32B1", "DRVSILRGY2X"},
};

}  // namespace

Bytes MakePlainDriverFile(const DriverFileSpec& spec) {
  Bytes f(spec.BodyLength + 104u, 0);
  const std::string_view magic = "DXFLSDRV";
  for (std::size_t i = 0; i < magic.size(); ++i) f[i] = static_cast<std::uint8_t>(magic[i]);
  f[8] = 0x01;
  f[9] = 0x02;
  for (std::size_t i = 0; i < spec.BodyLength; ++i) f[64 + i] = static_cast<std::uint8_t>(spec.BodySeed + 7 * i);
  const std::uint16_t check =
      spec.BodyLength == 0 ? 0 : SimCheck16(std::span<const std::uint8_t>(f).subspan(64, spec.BodyLength));
  Put16(f, 10, check);
  Put16(f, 12, spec.BodyLength);
  for (std::size_t i = 0; i < 16; ++i) f[16 + i] = spec.Key[i];
  for (std::size_t e = 0; e < spec.Segments.size(); ++e) {
    Put16(f, 32 + 4 * e, spec.Segments[e].Offset);
    Put16(f, 34 + 4 * e, spec.Segments[e].Length);
  }
  for (std::size_t i = 0; i < 40; ++i) f[64 + spec.BodyLength + i] = static_cast<std::uint8_t>(0xA0 + i);
  return f;
}

Bytes ScrambleDriverFile(Bytes f) {
  for (std::size_t at = 32; at < f.size(); ++at) {
    const std::size_t row = (at - 32) / 16;
    f[at] = static_cast<std::uint8_t>(f[at] ^ 0xF2 ^ (row & 0xFF) ^ f[16 + (at - 32) % 16]);
  }
  return f;
}

Bytes MakeDriverFile(const DriverFileSpec& spec) { return ScrambleDriverFile(MakePlainDriverFile(spec)); }

std::string_view DriverStemFor(std::string_view chipName) {
  for (const auto& row : kStems) {
    if (chipName.substr(0, row.Prefix.size()) == row.Prefix) return row.Stem;
  }
  return {};
}

Bytes MakeFirmwareFile(const FirmwareFileSpec& spec) {
  const std::size_t count = spec.Image.size();
  const std::size_t bodySize = (count + 15) / 16 * 16;
  Bytes f;
  const std::string_view magic = "NolFmWr";
  for (char c : magic) f.push_back(static_cast<std::uint8_t>(static_cast<std::uint8_t>(c) ^ 0xF5));
  for (std::size_t i = 0; i < 8; ++i) f.push_back(i < spec.Version.size() ? static_cast<std::uint8_t>(spec.Version[i]) : 0);
  auto word = [&f](std::uint16_t v) {
    f.push_back(static_cast<std::uint8_t>(v));
    f.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  const std::uint16_t w = spec.MaskWord;
  word(w);
  word(static_cast<std::uint16_t>(spec.EndAddress ^ w));
  word(static_cast<std::uint16_t>(0x1234 ^ w));
  word(static_cast<std::uint16_t>(0x5678 ^ w));
  word(static_cast<std::uint16_t>(count ^ w));

  std::array<std::uint8_t, 4096> key{};
  std::uint32_t x = spec.KeySeed;
  for (std::size_t i = 0; i < 3290; ++i) {
    x = x * 1103515245u + 12345u;
    key[i] = static_cast<std::uint8_t>(x >> 16);
    f.push_back(key[i]);
  }
  for (std::size_t i = 0; i < bodySize; ++i) {
    const std::uint8_t plain = i < count ? spec.Image[i] : 0;
    const std::size_t j = (4 * (i / 4)) % 4096;
    f.push_back(static_cast<std::uint8_t>(plain ^ key[j + (i % 2)]));
  }
  for (std::size_t i = 0; i < 876; ++i) f.push_back(static_cast<std::uint8_t>(i * 3));
  std::uint32_t sum = 0;
  for (std::uint8_t b : f) sum += b;
  for (int i = 0; i < 4; ++i) f.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
  return f;
}

bool WriteBytesFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace qx::sim
