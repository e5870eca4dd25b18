// The texts the host exchanges with a plug-in: requests it sends, and the parts of an answer it
// reads (header values, the menu's choices, what the balloon shows). Texts are Shift_JIS bytes.
#pragma once

#include <string>
#include <vector>

struct Choice {
  std::string label;
  std::string id;
};

// A "GET PLUGIN/2.0" request for the event id; a non-empty reference0 adds "Reference0:".
std::string MakeRequest(const std::string& id, const std::string& reference0);

// The value of the first header line "name: value" (spaces after the colon skipped); empty when
// there is none.
std::string HeaderValue(const std::string& answer, const std::string& name);

// The choices \q[label,id] of a script, in order.
std::vector<Choice> ParseChoices(const std::string& script);

// The text a balloon would show for a script: tags dropped, \n as a line break, each choice as
// [label]; it stops at \e.
std::string BalloonText(const std::string& script);

// Offsets, 16 bytes a line in hex, and the printable ASCII beside them.
std::string HexDump(const std::string& bytes);

// The lines of a text split at CR LF, LF or CR; a line end at the very end opens no new line.
std::vector<std::string> SplitLines(const std::string& text);
