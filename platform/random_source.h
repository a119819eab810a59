// A pseudo-random number generator that can be seeded from the time of day.
#pragma once

namespace platform {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void SeedFromTimeOfDay() = 0;
  // The next number, in [0, 1).
  virtual double Next() = 0;
};

}  // namespace platform
