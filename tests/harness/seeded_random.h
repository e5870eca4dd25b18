// A small deterministic generator (xorshift32) for the benchmarks and the soak: the same seed
// gives the same numbers on every run and on both targets.
#pragma once

#include <stdint.h>

class SeededRandom {
 public:
  // A zero seed would stay zero forever: it starts from 1 instead.
  explicit SeededRandom(uint32_t seed) : state_(seed ? seed : 1) {}

  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // A number below n, which is above 0.
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint32_t state_;
};
