// What lunet.dll keeps in the folder load received: its rules and the file that remembers its
// switch. A host of any other plug-in would not look for them; users of lunet-host need to hear
// when they are missing, for the plug-in itself says nothing.
#pragma once

#include <string>

// Warns when neither rule file is in folder: the closer would close nothing.
void WarnIfNoRules(const std::string& folder);

// Called while the closer is on: warns when its switch is not saved in folder, as where the
// host's folder is protected, so that the closer would be off at the host's next start.
void WarnIfSwitchNotSaved(const std::string& folder);
