// What the fuzz targets share: a check that stops the run with a finding, and input taken apart.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

namespace fuzz {

// A broken invariant is a finding: libFuzzer keeps the input that led here.
[[noreturn]] inline void Finding(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

inline void Require(bool holds, const std::string& what) {
  if (!holds) Finding(what);
}

}  // namespace fuzz
