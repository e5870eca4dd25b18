// The native benchmarks of the module over the stand-in desktop, and what they share.
#pragma once

#include <stdint.h>

#include <string>

namespace bench {

void RegisterHookBenchmarks();
void RegisterLoadBenchmarks();
void RegisterRequestBenchmarks();
void RegisterAttachBenchmarks();

// Heap bytes the rule store holds after DllMain's attach loaded rules lines of rules, measured in
// a fresh child process so that no earlier growth of the lists hides in the figure.
int64_t StoreBytesAfterAttach(uint32_t rules);

// Points SharedState.PluginDir at the directory (with its trailing separator).
void SetPluginDir(const std::string& directory);
// Runs the module's process attach once while the closer is off, as the loader would.
void AttachModule();

}  // namespace bench
