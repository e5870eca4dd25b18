// The one table that `make bench` prints: native figures, Wine figures and their comparisons.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <map>
#include <string>

namespace bench {

struct Figure {
  double ns = 0;  // median real time per iteration
  std::map<std::string, double> counters;
};

struct Results {
  std::map<std::string, Figure> native;     // by benchmark name
  std::map<uint32_t, int64_t> storeBytes;   // by rule count
  std::map<std::string, std::string> wine;  // as the Windows benchmark wrote them
};

void PrintTable(const Results& results, FILE* out);

}  // namespace bench
