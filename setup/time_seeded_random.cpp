#include "setup/time_seeded_random.h"

#include <chrono>
#include <cstdint>

namespace mdlPath {

// Microseconds tell apart two probes started in the same millisecond.
void TimeSeededRandom::SeedFromTimeOfDay() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  std::seed_seq seed{static_cast<uint32_t>(micros), static_cast<uint32_t>(micros >> 32)};
  engine_.seed(seed);
}

// Dividing a 32-bit draw by 2^32 keeps the result below 1.
double TimeSeededRandom::Next() {
  return static_cast<double>(engine_()) / 4294967296.0;
}

}  // namespace mdlPath
