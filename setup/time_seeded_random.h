// The probe's random names: a Mersenne twister seeded from the time of day.
#pragma once

#include <random>

#include "platform/random_source.h"

namespace mdlPath {

class TimeSeededRandom : public platform::RandomSource {
 public:
  void SeedFromTimeOfDay() override;
  double Next() override;

 private:
  std::mt19937 engine_;
};

}  // namespace mdlPath
