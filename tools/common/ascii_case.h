// Letter case folded as the module compares class names: A to Z become a to z, every other byte
// stays. For the programs around the module; the module itself compares without a copy.
#pragma once

#include <string>

inline std::string FoldedAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}
