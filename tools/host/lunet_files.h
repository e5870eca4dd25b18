// What lunet.dll keeps in the folder load received: its rules. A host of any other plug-in would
// not look for them; users of lunet-host need to hear when they are missing, for the plug-in
// itself says nothing.
#pragma once

#include <string>

// Warns when neither rule file is in folder: the closer would close nothing.
void WarnIfNoRules(const std::string& folder);
