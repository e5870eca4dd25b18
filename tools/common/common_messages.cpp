#include "common_messages.h"

namespace {

using namespace common_text;

const Message kRows[] = {
    {kPressEnter, "\nPress Enter to close this window.",
     "\nEnter キーを押すと、このウィンドウを閉じます。"},
    {kNegativeLength, "negative length reported", "負の長さが返されました"},
    {kLengthExceeds, "reported length {0} exceeds the block's {1} bytes",
     "返された長さ {0} がブロックの {1} バイトを超えています"},
};

}  // namespace

const MessageTable kCommonMessages = MessagesOf<kCount>("common", kRows);
