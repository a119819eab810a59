// A pseudo-random generator seeded from the time of day.
#pragma once

#include <random>

#include "platform/random_source.h"

namespace posix {

class TimeSeededRandom : public platform::RandomSource {
 public:
  void SeedFromTimeOfDay() override;
  double Next() override;

 private:
  std::mt19937 engine_;
};

}  // namespace posix
