// What the program knows of the CMSemi chips: the fields of a maker module
// (chips/MakerModule.h).
#include <array>
#include <string_view>

#include "chips/FamilySetup.h"
#include "chips/FamilySetupParts.h"
#include "chips/FamilyTableParts.h"
#include "chips/MakerModule.h"
#include "texts/TextId.h"

namespace qx {
namespace {

using F = ChipField;
using rules::SizeByCharacter;
using setup::WithOptions;
using setup::kNoOptionsNoChipInfo;

constexpr std::string_view kModels[] = {
    "BAT32G127GH40xx", "BAT32G127GH48xx",  "BAT32G127GH64xx",  "BAT32G133GC20xx", "BAT32G133GC24xx",
    "BAT32G135GE32xx", "BAT32G135GE40xx",  "BAT32G135GE48xx",  "BAT32G137GH32xx", "BAT32G137GH40xx",
    "BAT32G137GH48xx", "BAT32G137GH64xx",  "BAT32G157GK48xx",  "BAT32G157GK64xx", "BAT32G179GM64xx",
    "BAT32G179GM80xx", "BAT32G179GM100xx", "BAT32A237KE24xx",  "BAT32A237KH32xx", "BAT32A237KH40xx",
    "BAT32A237KH48xx", "BAT32A237KH64xx",  "BAT32A239KK48xx",  "BAT32A239KK80xx", "BAT32A239KK100xx",
    "BAT32A279KM64xx", "BAT32A279KM80xx",  "BAT32A279KM100xx", "CMS32M651xGExx",  "CMS32M652xGExx",
    "CMS32M653xGExx",  "CMS32M651xAGExx",  "CMS32M652xCGExx",  "CMS32M653xEGExx",
};

FamilyRules Rules() {
  struct Row {
    std::string_view prefix;
    u32 size;
    u32 eepSize;
    u32 eepStart;
  };
  static constexpr std::array<Row, 9> kRows = {{
      {"BAT32G127", 0x20000, 0xA00, 0x500200},
      {"BAT32G133", 0x8000, 0x600, 0x500000},
      {"BAT32G135", 0x10000, 0x600, 0x500000},
      {"BAT32G137", 0x20000, 0x600, 0x500000},
      {"BAT32G179", 0x80000, 0x5000, 0x501000},
      {"BAT32A237", 0, 0x600, 0x500000},  // size by character 11, below
      {"BAT32A239", 0x40000, 0xA00, 0x500200},
      {"BAT32A279", 0x80000, 0x5000, 0x501000},
      {"CMS32M65", 0x10000, 0x400, 0x500200},
  }};
  FamilyRules r;
  r.values = {Put(F::FamilyCode, 0x08), Put(F::Subtype, 0), Put(F::PowerFlags, 0x00),
              Put(F::MainFlashStart, 0), Put(F::MainPageSize, 256), Put(F::EepPageSize, 256)};
  DecisionTable t;
  for (const auto& row : kRows) {
    std::vector<FieldValue> values = {Put(F::EepSize, row.eepSize), Put(F::EepStart, row.eepStart)};
    if (row.size == 0) {
      auto bySize = SizeByCharacter(11, {{'E', 0x10000}, {'H', 0x20000}}, 0x40000, {BeginsWith(row.prefix)}, values);
      t.insert(t.end(), bySize.begin(), bySize.end());
      continue;
    }
    values.push_back(Put(F::MainFlashSize, row.size));
    t.push_back({{BeginsWith(row.prefix)}, std::move(values)});
  }
  t.push_back({{}, {Put(F::MainFlashSize, 0x20000), Put(F::EepSize, 0x400), Put(F::EepStart, 0x500000)}});
  r.tables.push_back(std::move(t));
  r.option = OptionDefault::Cleared;
  return r;
}

constexpr DriverFileRow kDriverFiles[] = {
    {"CMS32M65", "BATG13XFDRV"},  {"BAT32G12", "BATG13XFDRV"},  {"BAT32G13", "BATG13XFDRV"},
    {"BAT32G15", "BATG13XFDRV"},  {"BAT32G17", "BATG13XFDRV"},  {"BAT32A237", "BATG13XFDRV"},
    {"BAT32A239", "BATG13XFDRV"},
};

}  // namespace

WindowChanges SetupUiCmSemi(const ChipModel& model) { return WithOptions(model, kNoOptionsNoChipInfo); }

extern const MakerModule CmSemiMaker;
constinit const MakerModule CmSemiMaker = {
    .maker = Maker::CmSemi,
    .name = TextId::MakerNameCmSemi,
    .models = kModels,
    .rules = Rules,
    .windowSetup = SetupUiCmSemi,
    .differs = kNoMakerDifferences,
    .requests = kPlainFamilyRequests,
    .driverFiles = kDriverFiles,
};

}  // namespace qx
