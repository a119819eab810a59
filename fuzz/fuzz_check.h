// What the fuzz targets share: a check that stops the run with a finding, and input taken apart.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

namespace fuzz {

// A broken invariant is a finding: libFuzzer keeps the input that led here.
inline void Require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

}  // namespace fuzz
