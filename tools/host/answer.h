// The parts of a plug-in's answer that the host reads (header values, the menu's choices, what
// the balloon shows); the requests it sends are host_call.h's. Texts are Shift_JIS bytes.
#pragma once

#include <string>
#include <vector>

struct Choice {
  std::string label;
  std::string id;
};

// The value of the first header line "name: value" (spaces after the colon skipped); empty when
// there is none. Unlike the module's reading of a request, the name counts only at a line's
// start: "XScript:" is no "Script:".
std::string LineHeaderValue(const std::string& answer, const std::string& name);

// The choices \q[label,id] of a script, in order.
std::vector<Choice> ParseChoices(const std::string& script);

// The text a balloon would show for a script: tags dropped, \n as a line break, each choice as
// [label]; it stops at \e.
std::string BalloonText(const std::string& script);

// Offsets, 16 bytes a line in hex, and the printable ASCII beside them.
std::string HexDump(const std::string& bytes);
