// The release's version and the commit a tool was built from, as its --version prints them.
#pragma once

// Prints "TOOL VERSION, built from commit HASH" on stdout in the run's language, or says that
// the tree differed from the commit, or that there was no commit to say.
void PrintVersion(const char* tool);
