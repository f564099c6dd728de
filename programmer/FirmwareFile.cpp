#include "programmer/FirmwareFile.h"

#include <algorithm>

#include "images/BinaryFile.h"
#include "base/ByteOrder.h"

namespace qx {

namespace {

// Reads the file's fields in order and keeps the running byte sum of everything taken.
class SummingReader {
 public:
  explicit SummingReader(std::span<const u8> bytes) : bytes_(bytes) {}

  u16 ReadWordAddSum() {
    const u16 w = GetLe16(bytes_, at_);
    AddSumBytes(2);
    return w;
  }
  std::string XorStringAddSum(std::size_t n, u8 key) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
      const u8 b = bytes_[at_ + i];
      s.push_back(static_cast<char>(b == 0 ? 0 : b ^ key));
    }
    AddSumBytes(n);
    return s;
  }
  void CopyAddSum(std::span<u8> to) {
    std::copy_n(bytes_.begin() + at_, to.size(), to.begin());
    AddSumBytes(to.size());
  }
  void AddSumBytes(std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) sum_ += bytes_[at_ + i];
    at_ += n;
  }
  u32 ReadStoredSum() { return GetLe32(bytes_, at_); }
  std::size_t Position() const { return at_; }
  u32 Sum() const { return sum_; }

 private:
  std::span<const u8> bytes_;
  std::size_t at_ = 0;
  u32 sum_ = 0;
};

void Reject(FirmwareFile& fw) {
  fw.FirmwareLoaded = 0;
  fw.FirmwareVersion.fill(0);
}

}  // namespace

u16 FirmwareBlockCount(const FirmwareFile& fw) {
  if (fw.FirmwareEndAddress < FirmwareBase) return 0;
  return static_cast<u16>((fw.FirmwareEndAddress - FirmwareBase) / 1024 + 1);
}

void LoadFirmwareFile(FirmwareFile& fw, const std::string& path) {
  auto& image = fw.Image;
  image.fill(0);
  u32 count = static_cast<u32>(image.size());
  const BinaryLoadResult read = LoadBinaryFile(path, image, count);
  if (!read.Ok || read.FileSize < FwBodyAt) return Reject(fw);

  SummingReader in(image);
  if (in.XorStringAddSum(FirmwareMagic.size(), FirmwareMagicKey) != FirmwareMagic) return Reject(fw);
  fw.FirmwareLoaded = 1;
  fw.FirmwareBaseAddress = FirmwareBase;

  in.CopyAddSum(fw.FirmwareVersion);
  if (fw.FirmwareVersion[0] != 'V') fw.FirmwareVersion.fill(0);

  const u16 mask = in.ReadWordAddSum();
  fw.FirmwareEndAddress = static_cast<u16>(in.ReadWordAddSum() ^ mask);
  in.ReadWordAddSum();
  in.ReadWordAddSum();
  fw.FirmwareByteCount = static_cast<u16>(in.ReadWordAddSum() ^ mask);

  // Every length from the file is checked here, before the body is touched.
  const std::size_t byteCount = fw.FirmwareByteCount;
  if (byteCount > FirmwareMaxByteCount || fw.FirmwareEndAddress < FirmwareBase ||
      read.FileSize < FirmwareFileSize(byteCount))
    return Reject(fw);

  std::array<u8, FwKeyAreaSize> key{};
  in.CopyAddSum(std::span<u8>(key).first(FwKeySize));

  // In place: the body is read well ahead of where its plain bytes are written.
  std::size_t out = 0;
  std::size_t group = 0;
  for (std::size_t done = 0; done < byteCount; done += 16) {
    for (int g = 0; g < 4; ++g, ++group) {
      const std::size_t from = in.Position();
      std::array<u8, 4> b{};
      std::copy_n(image.begin() + from, 4, b.begin());
      in.AddSumBytes(4);
      const std::size_t j = (4 * group) % FwKeyAreaSize;
      image[out + 0] = static_cast<u8>(b[0] ^ key[j]);
      image[out + 1] = static_cast<u8>(b[1] ^ key[j + 1]);
      image[out + 2] = static_cast<u8>(b[2] ^ key[j]);
      image[out + 3] = static_cast<u8>(b[3] ^ key[j + 1]);
      out += 4;
    }
  }
  in.AddSumBytes(FwTrailerSize);
  if (in.ReadStoredSum() != in.Sum()) return Reject(fw);
  fw.FirmwareLoaded = 1;
}

}  // namespace qx
