// The shared pseudo-random generator.
#include "platform/rtl/Random.h"

#include <chrono>

uint32_t RandSeed = 0;

namespace {
uint32_t NextSeed() {
  RandSeed = RandSeed * 0x08088405u + 1u;
  return RandSeed;
}
}  // namespace

int Random(int Range) {
  const uint32_t seed = NextSeed();
  if (Range <= 0) return 0;
  return static_cast<int>((static_cast<uint64_t>(seed) * static_cast<uint32_t>(Range)) >> 32);
}

double RandomFloat() { return NextSeed() / 4294967296.0; }

void Randomize() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  RandSeed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count());
}
