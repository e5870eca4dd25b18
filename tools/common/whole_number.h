// Whole numbers as the tools' command lines and scripts take them.
#pragma once

#include <string>

// A whole number in [low, high], digits only after an optional '-': "12abc", "", "+3" and " 3"
// are not numbers. More than ten digits never fit a long of 32 bits, so they are refused unread.
inline bool ParseNumber(const std::string& text, long low, long high, long& number) {
  size_t at = text.size() > 1 && text[0] == '-' ? 1 : 0;
  if (at == text.size() || text.size() - at > 10) return false;
  long long value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    value = value * 10 + (text[at] - '0');
  }
  if (text[0] == '-') value = -value;
  if (value < low || value > high) return false;
  number = static_cast<long>(value);
  return true;
}
