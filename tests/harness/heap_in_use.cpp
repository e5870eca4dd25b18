#include "harness/heap_in_use.h"

#include <malloc.h>

double HeapInUse() {
  _HEAPINFO entry = {};
  double bytes = 0;
  int status;
  while ((status = _heapwalk(&entry)) == _HEAPOK) {
    if (entry._useflag == _USEDENTRY) bytes += static_cast<double>(entry._size);
  }
  return status == _HEAPEND ? bytes : -1;
}
