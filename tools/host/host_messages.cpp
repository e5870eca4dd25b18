#include "host_messages.h"

namespace {

using namespace host_text;

const Message kRows[] = {
    {kUsage,
     "usage: lunet-host [options] PLUGIN.dll [COMMAND]...\n"
     "\n"
     "Loads the plug-in as the desktop-character host does, calls load with its directory,\n"
     "runs the commands (each argument is one command line: quote the ones with arguments),\n"
     "and calls unload at the end. Without commands or --script it is interactive: it shows\n"
     "the plug-in's menu and sends the choice you pick.\n"
     "\n"
     "options:\n"
     "  --dir DIR       the directory load receives (default: the plug-in's own)\n"
     "  --script FILE   run the commands in FILE, one a line ('-': standard input); a line in\n"
     "                  UTF-8 (a byte order mark allowed) is converted to the ANSI code page,\n"
     "                  with a warning for characters it cannot hold; other lines are taken\n"
     "                  as ANSI code page text\n"
     "  --raw           show each answer's bytes in hex too\n"
     "  --brief         show only the status line of each answer's headers\n"
     "  --show-boxes    leave configure's message boxes for you to close\n"
     "  --help\n"
     "\n",
     "使い方: lunet-host [オプション] PLUGIN.dll [コマンド]...\n"
     "\n"
     "デスクトップキャラクターのホストと同じようにプラグインを読み込み、そのフォルダーを渡して\n"
     "load を呼び出し、コマンドを実行して、最後に unload を呼び出します。引数 1 つがコマンド 1 行\n"
     "です。引数のあるコマンドは引用符で囲んでください。コマンドも --script もないときは対話モード\n"
     "になり、プラグインのメニューを表示して、選んだ項目を送ります。\n"
     "\n"
     "オプション:\n"
     "  --dir DIR       load に渡すフォルダー（既定: プラグインのあるフォルダー）\n"
     "  --script FILE   FILE のコマンドを 1 行ずつ実行します（'-' なら標準入力）。UTF-8 の行\n"
     "                  （BOM 付きも可）は ANSI コードページに変換し、表せない文字があれば\n"
     "                  警告します。それ以外の行は ANSI コードページのテキストとして扱います\n"
     "  --raw           応答のバイト列を 16 進数でも表示します\n"
     "  --brief         応答のヘッダーは状態行だけを表示します\n"
     "  --show-boxes    configure のメッセージボックスを自分で閉じられるよう、そのまま残します\n"
     "  --help\n"
     "\n"},
    {kCommandHelp,
     "commands:\n"
     "  version           request \"ID: version\"\n"
     "  menu              request \"ID: OnMenuExec\" and list the menu's choices\n"
     "  pick N, or N      send the N-th choice of the last menu (\"OnChoiceSelect\"); lunet.dll's\n"
     "                    first choice toggles: it is on or off as the closer is off or on\n"
     "  choose ID         send \"OnChoiceSelect\" with \"Reference0: ID\"; lunet.dll's choice IDs\n"
     "                    are on, off and cancel\n"
     "  on, off           switch the closer on or off whatever its state (choose on, choose off)\n"
     "  send FILE         send the bytes of FILE as a request ('-' reads standard input)\n"
     "  getversion        call getversion\n"
     "  notify [ID]       call notify with a \"NOTIFY PLUGIN/2.0\" block (ID: OnNotify)\n"
     "  configure         call configure; its message box is read and OK pressed\n"
     "  run COMMAND LINE  start a program and wait for it while the plug-in stays loaded\n"
     "  sleep MS          wait, handling window messages\n"
     "  echo TEXT         print TEXT\n"
     "  help, quit\n",
     "コマンド:\n"
     "  version           \"ID: version\" を要求します\n"
     "  menu              \"ID: OnMenuExec\" を要求し、メニューの選択肢を一覧表示します\n"
     "  pick N、または N  直前のメニューの N 番目の選択肢を送ります（\"OnChoiceSelect\"）。\n"
     "                    lunet.dll の 1 番目の選択肢は切り替えで、クローズ機能が無効なら\n"
     "                    有効に、有効なら無効にします\n"
     "  choose ID         \"Reference0: ID\" を付けて \"OnChoiceSelect\" を送ります。lunet.dll の\n"
     "                    選択肢の ID は on、off、cancel です\n"
     "  on、off           今の状態にかかわらず、クローズ機能を有効または無効にします\n"
     "                    （choose on、choose off と同じです）\n"
     "  send FILE         FILE のバイト列を要求として送ります（'-' なら標準入力から読みます）\n"
     "  getversion        getversion を呼び出します\n"
     "  notify [ID]       \"NOTIFY PLUGIN/2.0\" のブロックを付けて notify を呼び出します\n"
     "                    （ID の既定: OnNotify）\n"
     "  configure         configure を呼び出します。メッセージボックスの内容を読み取り、OK を\n"
     "                    押します\n"
     "  run COMMAND LINE  プラグインを読み込んだまま、プログラムを起動して終了を待ちます\n"
     "  sleep MS          ウィンドウメッセージを処理しながら、MS ミリ秒待ちます\n"
     "  echo TEXT         TEXT を表示します\n"
     "  help、quit\n"},
    {kExitCodes,
     "\nexit status: 0 every command worked; 1 a command failed (a script stops there);\n"
     "2 usage error; 3 the plug-in cannot be used (no such file, missing exports, bad --dir).\n",
     "\n終了コード: 0 すべてのコマンドが成功しました。1 失敗したコマンドがあります（スクリプトは\n"
     "そこで止まります）。2 使い方が正しくありません。3 プラグインを使えません（ファイルがない、\n"
     "エクスポートが足りない、--dir が正しくない）。\n"},
    {kUsageError, "lunet-host: {0}\n(lunet-host --help tells more)\n",
     "lunet-host: {0}\n（詳しくは lunet-host --help で表示します）\n"},
    {kUnknownOption, "unknown option {0}", "{0} というオプションはありません"},
    {kNoPlugin, "no plug-in given", "プラグインが指定されていません"},
    {kCommandsTwice, "give commands either as arguments or with --script, not both",
     "コマンドは引数か --script のどちらか一方で指定してください"},
    {kScriptLineLost,
     "lunet-host: warning: {0}:{1}: the ANSI code page ({2}) cannot hold every character; the "
     "line reads {3}\n",
     "lunet-host: 警告: {0}:{1}: ANSI コードページ（{2}）では表せない文字があります。この行は "
     "{3} として送られます\n"},
    {kCannotOpen, "{0}: cannot be opened", "{0}: 開けません"},
    {kPickPrompt, "\npick 1-{0}, or a command (help, quit): ",
     "\n番号（1-{0}）かコマンド（help、quit）を入力してください: "},
    {kCommandPrompt, "\ncommand (menu, help, quit): ",
     "\nコマンド（menu、help、quit）を入力してください: "},
    {kLoaded, "loaded {0}\n", "{0} を読み込みました\n"},
    {kLoadReturned, "load({0}) returned {1}\n", "load({0}) の戻り値: {1}\n"},
    {kNoRules,
     "lunet-host: warning: the plug-in will close nothing: no killwnd.txt or killwnd_custom.txt "
     "in {0}\n",
     "lunet-host: 警告: {0} に killwnd.txt も killwnd_custom.txt もないため、プラグインは何も"
     "閉じません\n"},
    {kUnloadReturned, "unload() returned {0}\n", "unload() の戻り値: {0}\n"},
    {kNoSuchFile, "{0}: no such file", "{0}: ファイルがありません"},
    {kNotADirectory, "{0}: not a directory", "{0}: フォルダーではありません"},
    {kCannotLoad, "{0}: cannot be loaded: {1}", "{0}: 読み込めません: {1}"},
    {kNotAPlugin, "{0}: not a plug-in: it does not export {1}",
     "{0}: プラグインではありません。{1} をエクスポートしていません"},
    {kError, "error {0}", "エラー {0}"},
    {kErrorWithText, "error {0}: {1}", "エラー {0}: {1}"},
    {kUnknownCommand, "unknown command or wrong arguments: {0} (help lists the commands)",
     "コマンドが不明か、引数が正しくありません: {0}（help でコマンドの一覧を表示します）"},
    {kNoBlock, "{0} returned no block", "{0} がブロックを返しませんでした"},
    {kNoMenu, "no menu to pick from: run menu first",
     "選べるメニューがありません。先に menu を実行してください"},
    {kPickRange, "pick a number from 1 to {0}", "1 から {0} までの番号を選んでください"},
    {kPicked, "  picked {0}: {1} ({2})\n", "  {0} 番を選びました: {1} ({2})\n"},
    {kNoExport, "the plug-in does not export {0}", "プラグインは {0} をエクスポートしていません"},
    {kNotifyTookBlock, "  notify returned NULL: the plug-in took the block\n",
     "  notify の戻り値は NULL です。ブロックはプラグインが引き取りました\n"},
    {kNotifyReturnedBlock, "  notify returned a block of {0} bytes\n",
     "  notify が {0} バイトのブロックを返しました\n"},
    {kMessageBox, "  message box {0}: {1}  [OK pressed by lunet-host]\n",
     "  メッセージボックス {0}: {1}  [lunet-host が OK を押しました]\n"},
    {kConfigureReturned, "  configure returned {0}\n", "  configure の戻り値: {0}\n"},
    {kCannotStart, "cannot start {0}: {1}", "{0} を起動できません: {1}"},
    {kExit, "  [exit {0}]\n", "  [終了コード {0}]\n"},
    {kBytesNulIncluded, "  ({0} bytes, the closing NUL included)\n",
     "  ({0} バイト、末尾の NUL を含みます)\n"},
    {kBytesNoNul, "  ({0} bytes, no closing NUL)\n", "  ({0} バイト、末尾に NUL がありません)\n"},
    {kBytesAfterNul, "  ({0} bytes, bytes after a NUL)\n",
     "  ({0} バイト、NUL の後にもバイトがあります)\n"},
    {kWarning, "warning: {0}", "警告: {0}"},
    {kBalloon, "  balloon:\n", "  バルーン:\n"},
    {kChoices, "  choices:\n", "  選択肢:\n"},
};

}  // namespace

const MessageTable kHostMessages = MessagesOf<kCount>("lunet-host", kRows);

void HostError(const std::string& text) { PrintText(stderr, "lunet-host: " + text + "\n"); }
