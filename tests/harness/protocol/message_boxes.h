// The message boxes this process showed. Natively the stand-in records them; on Windows a
// watcher thread finds each real box of this process, reads it and presses its OK button.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

struct SeenBox {
  std::string caption;
  std::string text;
  int buttons = 0;  // push buttons on the box (1 for MB_OK)

  bool operator==(const SeenBox& other) const {
    return caption == other.caption && text == other.text && buttons == other.buttons;
  }
};

void PrintTo(const SeenBox& box, std::ostream* out);

// What two configure calls show, starting with the closer off: "on", then "off".
std::vector<SeenBox> ConfigureTwiceBoxes();

class MessageBoxes {
 public:
  MessageBoxes();
  ~MessageBoxes();
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;

  // The boxes shown since the last call, oldest first.
  std::vector<SeenBox> Take();

 private:
  struct Watcher;
  std::unique_ptr<Watcher> watcher_;
};
