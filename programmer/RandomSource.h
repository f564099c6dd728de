#pragma once
// The one pseudo-random source of the protocol: packet nonces, header byte 6, the settings
// block's header parameter and the firmware masks. Injectable so that tests see fixed bytes.
#include <random>

#include "base/Types.h"

namespace qx {

class RandomSource {
 public:
  virtual ~RandomSource();
  // A value in 0 .. range - 1 (0 when range is 0).
  virtual u32 Next(u32 range) = 0;
};

// 0..254: a random byte never takes the value 255.
u8 RandomByte(RandomSource& random);
// 0..65534.
u16 RandomWord(RandomSource& random);

class DefaultRandom : public RandomSource {
 public:
  DefaultRandom();
  explicit DefaultRandom(u32 seed) : engine_(seed) {}
  u32 Next(u32 range) override;

 private:
  std::mt19937 engine_;
};

}  // namespace qx
