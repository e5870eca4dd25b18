// Windows only: bytes in use on the runtime heap, which a program and the module it maps both
// allocate from; -1 when the heap cannot be walked.
#pragma once

double HeapInUse();
