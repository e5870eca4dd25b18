#include "adwindows_messages.h"

namespace {

using namespace adwindows_text;

const Message kRows[] = {
    {kHelp,
     "usage: lunet-adwindows [--hold MS] [--again MS] CLASS=TITLE ...\n"
     "\n"
     "A stand-in for a browser that opens pop-up windows, to see which of them a closer in the\n"
     "desktop-wide shell hooks closes. For each CLASS=TITLE (split at the first '='; the title\n"
     "may be empty or hold '='), it opens a visible top-level window of that class with that\n"
     "title, then hands each window, in argument order, one \"title redrawn\" notification.\n"
     "\n"
     "  --hold MS   how long to keep the windows open and answer messages (default 1000)\n"
     "  --again MS  after MS (less than the hold), notify every window still open once more,\n"
     "              as a browser redraws a title\n"
     "\n"
     "Window N (counting from 0, in argument order) is 320x200 with its top left corner at\n"
     "X = Y = 40 + 24 * (N mod 16) on the screen: the first one's middle is at 200,140, the\n"
     "second one's at 224,164 (for lunet-rules pick --at X,Y). Window classes are\n"
     "case-insensitive: classes that differ only in letter case are one class, registered\n"
     "once under the first spelling, which the windows then report.\n"
     "\n"
     "Then it prints one line per window, in argument order, class (as registered) and title:\n"
     "  closed MS CLASS TITLE   WM_CLOSE arrived MS milliseconds (3 decimals) after the\n"
     "                          window's latest notification\n"
     "  open CLASS TITLE        no WM_CLOSE came while the windows were held\n"
     "\n"
     "Exit status: 0 when every window was made and notified, 1 when one could not be, 2 for\n"
     "bad arguments.\n",
     "使い方: lunet-adwindows [--hold MS] [--again MS] CLASS=TITLE ...\n"
     "\n"
     "ポップアップウィンドウを開くブラウザーの代わりをして、デスクトップ全体のシェルフックで動く\n"
     "クローズ機能がどのウィンドウを閉じるかを確かめます。CLASS=TITLE ごとに（最初の '=' で分け\n"
     "ます。タイトルは空でも、'=' を含んでもかまいません）、そのクラスとタイトルで、表示された\n"
     "トップレベルウィンドウを開きます。次に引数の順に、各ウィンドウへ「タイトルが描画し直された」\n"
     "という通知を 1 回ずつ送ります。\n"
     "\n"
     "  --hold MS   ウィンドウを開いたままメッセージに応える時間（ミリ秒、既定 1000）\n"
     "  --again MS  MS ミリ秒後（--hold より前）に、まだ開いているウィンドウすべてへ、ブラウザーが\n"
     "              タイトルを描画し直すときのように、もう一度通知します\n"
     "\n"
     "ウィンドウ N（引数の順に 0 から数えます）は 320x200 で、画面上の左上の角は\n"
     "X = Y = 40 + 24 * (N mod 16) です。1 つ目の中央は 200,140、2 つ目の中央は 224,164 です\n"
     "（lunet-rules pick --at X,Y 用）。ウィンドウクラスは大文字と小文字を区別しません。大文字と\n"
     "小文字だけが違うクラスは同じクラスとして最初の書き方で 1 回だけ登録され、ウィンドウはその\n"
     "名前を返します。\n"
     "\n"
     "最後に、引数の順にウィンドウごとに 1 行、クラス（登録された名前）とタイトルを表示します:\n"
     "  closed MS CLASS TITLE   そのウィンドウへの最後の通知から MS ミリ秒後（小数点以下 3 桁）に\n"
     "                          WM_CLOSE が届きました\n"
     "  open CLASS TITLE        ウィンドウを開いている間に WM_CLOSE は届きませんでした\n"
     "\n"
     "終了コード: すべてのウィンドウを作って通知できたときは 0、できなかったウィンドウがあるときは\n"
     "1、引数が正しくないときは 2 です。\n"},
    {kUnknownOption, "unknown option", "不明なオプションです"},
    {kNeedsMilliseconds, "--hold and --again need a whole number of milliseconds",
     "--hold と --again にはミリ秒を整数で指定してください"},
    {kAgainTooLate, "--again must come before the hold ends",
     "--again には --hold より短い時間を指定してください"},
    {kNoWindows, "no CLASS=TITLE given", "CLASS=TITLE が指定されていません"},
    {kNotClassTitle, "each window is CLASS=TITLE, CLASS not empty",
     "ウィンドウは CLASS=TITLE の形で指定します。CLASS は空にできません"},
    {kClassTooLong, "a class name is at most 255 bytes", "クラス名は 255 バイトまでです"},
    {kCannotNotify, "cannot notify {0}={1}", "{0}={1} に通知できません"},
    {kOneClass,
     "{0} and {1} are one class to Windows (letter case aside): both windows are of class {0}",
     "Windows では {0} と {1} は（大文字と小文字の違いを除けば）同じクラスです。どちらの"
     "ウィンドウもクラス {0} になります"},
    {kCannotCreate, "cannot create window {0}={1} (error {2})",
     "ウィンドウ {0}={1} を作れません（エラー {2}）"},
    {kCannotForward, "cannot install the redraw forwarder (error {0})",
     "再描画の通知を転送するフックを組み込めません（エラー {0}）"},
};

}  // namespace

const MessageTable kAdWindowsMessages = MessagesOf<kCount>("lunet-adwindows", kRows);
