#include "programmer/RandomSource.h"

namespace qx {

RandomSource::~RandomSource() = default;

u8 RandomByte(RandomSource& random) { return static_cast<u8>(random.Next(255)); }

u16 RandomWord(RandomSource& random) { return static_cast<u16>(random.Next(65535)); }

DefaultRandom::DefaultRandom() : engine_(std::random_device{}()) {}

u32 DefaultRandom::Next(u32 range) {
  if (range == 0) return 0;
  return std::uniform_int_distribution<u32>(0, range - 1)(engine_);
}

}  // namespace qx
