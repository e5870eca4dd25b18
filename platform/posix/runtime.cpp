// The runtime's multibyte code page and its Shift_JIS pair conversion.
#include <mbctype.h>
#include <mbstring.h>

#include <atomic>

namespace {

std::atomic<int> multibyteCodePage{0};

bool IsSjisLead(unsigned c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsSjisTrail(unsigned c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

}  // namespace

extern "C" int _getmbcp(void) { return multibyteCodePage.load(); }

extern "C" int _setmbcp(int codePage) {
  multibyteCodePage = codePage == 932 ? 932 : 0;
  return 0;
}

extern "C" unsigned int _mbcjmstojis(unsigned int code) {
  if (multibyteCodePage.load() != 932) return code;
  unsigned lead = (code >> 8) & 0xFF, trail = code & 0xFF;
  if (!IsSjisLead(lead) || !IsSjisTrail(trail)) return 0;
  unsigned a = lead < 0xA0 ? lead - 0x81 : lead - 0xC1;
  unsigned high, low;
  if (trail < 0x9F) {
    high = 2 * a + 0x21;
    low = trail > 0x7E ? trail - 0x20 : trail - 0x1F;
  } else {
    high = 2 * a + 0x22;
    low = trail - 0x7E;
  }
  unsigned jis = (high << 8) | low;
  if (jis < 0x2121 || jis > 0x7E7E || low < 0x21 || low > 0x7E) return 0;
  return jis;
}
