#include "programmer/SettingsBlock.h"

#include <algorithm>

#include "base/ByteOrder.h"
#include "images/Checksums.h"
#include "programmer/ChipInfoHeader.h"

namespace qx {

namespace {

constexpr std::array<u8, 4> kMagic = {'Z', 'W', 'L', 'P'};

std::string_view BaseName(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

void PutNameField(std::string_view name, std::span<u8> field) {
  if (name.empty()) name = "?";
  const std::size_t n = std::min(name.size(), field.size());
  std::fill(field.begin(), field.end(), u8{0});
  for (std::size_t i = 0; i < n; ++i) field[i] = static_cast<u8>(name[i]);
}

void BuildSettingsBlock(const ChipModel& model, RandomSource& random, u8 unit, u8 unitCount,
                        std::span<u8, SettingsBlockSize> out) {
  const SnSettings& sn = model.Sn;
  std::copy(kMagic.begin(), kMagic.end(), out.begin());

  const u16 headerParam = RandomWord(random);
  FillChipInfoHeader(model, random, headerParam, out.subspan<SbHeaderAt, ChipInfoHeaderSize>());

  out[SbSnFlagsAt] = sn.SnFlags;
  out[SbSnLengthAt] = sn.SnLength;
  PutLe32(out, SbSnMaxCountAt, sn.SnMaxCount);
  PutLe16(out, SbSnStepAt, static_cast<u16>(static_cast<u32>(sn.SnGain) * unitCount));
  PutLe32(out, SbSnAddressAt, sn.SnAddress);
  PutLe32(out, SbSnValueAt, sn.SnValue + static_cast<u32>(unit) * sn.SnGain);
  PutLe16(out, SbMainSum16At, model.Sums.MainSum16);
  PutLe32(out, SbFileChecksumAt, model.Sums.FileChecksum);
  std::fill(out.begin() + 106, out.begin() + SbOptionLowAt, u8{0});

  const auto& opt = model.OptionImage;
  std::copy(opt.begin(), opt.begin() + 128, out.begin() + SbOptionLowAt);
  PutNameField(model.ChipName, out.subspan(SbChipNameAt, SbChipNameSize));
  PutNameField(BaseName(model.ObjectFileName), out.subspan(SbFileNameAt, SbFileNameSize));
  std::copy(opt.begin() + 128, opt.begin() + 332, out.begin() + SbOptionHighAt);

  PutLe16(out, SbCheckAt, CalcCheck16(std::span<const u8>(out.data(), SbCheckAt)));
  PutLe16(out, SbSumAt, static_cast<u16>(CalcAcc32(out, 0, SbSumAt - 1)));
}

}  // namespace qx
