#include "rules_messages.h"

namespace {

using namespace rules_text;

// Paragraphs of help are one line here: the help wraps them to the terminal's 79 columns.
const Message kRows[] = {
    {kUsageHead, "usage: ", "使い方: "},
    {kIntro,
     "Reads the rule files killwnd.txt and killwnd_custom.txt with the plug-in's own loader and "
     "matcher. DIR defaults to the current directory.",
     "ルールファイル killwnd.txt と killwnd_custom.txt を、プラグイン自身の読み込み処理と照合処理で"
     "読みます。DIR を省略すると、現在のフォルダーを使います。"},
    {kRuleFiles,
     "Rule files are text in the system's ANSI code page, one rule a line:\n"
     "  class,WindowClass     close windows of this class (letter case ignored) ...\n"
     "  title,Fragment        ... whose title contains this text (letter case counts)\n"
     "  // a comment          (// at the very start of the line)\n"
     "Each program reads the rules once: after editing them, restart the programs that\n"
     "should use the new ones (programs started later use them anyway).\n",
     "ルールファイルは、システムの文字コード（ANSI）で保存し、1 行に 1 つ書きます。\n"
     "  class,WindowClass     このクラスのウィンドウ（大文字小文字の区別なし）のうち\n"
     "  title,Fragment        タイトルにこの文字列を含むものを閉じます（大小を区別）\n"
     "  // コメント           （// は行の先頭に書きます）\n"
     "ルールは、各プログラムが一度だけ読み込みます。編集した後は、新しいルールを使う\n"
     "プログラムを再起動してください（後から起動したものは新しいルールを使います）。\n"},
    {kEveryOption, "Every option takes --x V and --x=V alike.",
     "どのオプションも、--x V と --x=V のどちらの形でも指定できます。"},
    {kHelpCheck,
     "lists what each line of the rule files does, and warns about every line that does "
     "nothing or more than it seems to: a keyword alone, an unknown keyword, a space next to "
     "the keyword, a comment not at the start of the line or begun with #, a third field, an "
     "empty title fragment, a rule that repeats an earlier one, title rules without any class "
     "rule, text that is not in the code page (UTF-8, say), a missing file. An empty file is "
     "fine while the other holds rules. A FILE is read on its own; a DIR reads both files as "
     "the plug-in does. Exit 0 when clean, 1 on warnings, 2 on usage errors.",
     "ルールファイルの各行が何をするかを一覧表示し、効果のない行や思わぬ働きをする行に警告を出します。"
     "キーワードだけの行、不明なキーワード、キーワードに隣接するスペース、行頭にないコメントや # で"
     "始めたコメント、3 つ目のフィールド、空の title ルール、前にあるルールと同じルール、class "
     "ルールのない title ルール、文字コードに合わないテキスト（UTF-8 など）、見つからないファイルが"
     "対象です。もう一方のファイルにルールがあれば、空のファイルは問題ありません。FILE はそのファイル"
     "だけを、DIR はプラグインと同じように両方のファイルを読みます。終了コードは、問題がなければ 0、"
     "警告があれば 1、使い方の誤りなら 2 です。"},
    {kHelpTest,
     "says whether a window with that class name and title would be closed, and by which "
     "rules, with a hint at rules missed only by a byte order mark, spaces or letter case; "
     "like the plug-in it reads only the first 254 bytes of each. Exit 0 when it would be "
     "closed, 1 when it would stay open.",
     "そのクラス名とタイトルのウィンドウが閉じられるかどうかと、どのルールによるかを表示します。BOM、"
     "スペース、大文字と小文字の違いだけで一致しなかったルールがあれば、それも知らせます。プラグインと"
     "同じように、それぞれ先頭の 254 バイトだけを見ます。終了コードは、閉じられるなら 0、閉じられない"
     "なら 1 です。"},
    {kHelpScan,
     "(Windows) lists the top-level windows open now that the rules would close, without "
     "closing anything.",
     "（Windows）今開いているトップレベルウィンドウのうち、ルールで閉じられるものを一覧表示します。"
     "ウィンドウを閉じることはありません。"},
    {kHelpWatch,
     "(Windows) prints each window the closer asks to close, as it happens: time, program, "
     "class, title, and the rules in DIR that match it; Ctrl+C ends it. Only one program can "
     "listen to debug output at a time: exit 4 when another one does.",
     "（Windows）クローズ機能が閉じるよう求めたウィンドウを、その都度表示します。時刻、プログラム、"
     "クラス、タイトルと、DIR のルールのうち一致したものです。Ctrl+C で終了します。デバッグ出力を"
     "受け取れるプログラムは一度に 1 つだけで、ほかのプログラムが受け取っているときは、終了コード 4 で"
     "終了します。"},
    {kHelpAdd,
     "appends a class rule, a title fragment or both to killwnd_custom.txt (made, with a "
     "comment, when missing; its line ends kept), skipping what is there already as the "
     "plug-in compares it. Refuses an empty fragment (it would close every window of every "
     "listed class), a comma (the plug-in cuts the value there), spaces at either end and "
     "values over 254 bytes; warns of quotes (exit 1). Says what the new rules apply to across "
     "the two lists and (Windows) which open windows they now match. Exit 4 when the file "
     "cannot be written.",
     "class ルール、title ルール、またはその両方を killwnd_custom.txt に書き足します（ファイルが"
     "なければコメント付きで作り、あれば改行の形式はそのままにします）。プラグインが同じとみなす"
     "ルールがすでにあれば、書き足しません。空の title ルール（一覧のクラスのウィンドウをすべて"
     "閉じてしまいます）、カンマ（プラグインはそこで値を切ります）、両端のスペース、254 バイトを"
     "超える値は受け付けません。引用符には警告を出します（終了コード 1）。新しいルールがもう一方の"
     "一覧のどのルールと組み合わされるかと、（Windows）今開いているどのウィンドウに一致するかを"
     "表示します。ファイルに書き込めないときの終了コードは 4 です。"},
    {kHelpPick,
     "(Windows) point at a window and press Enter: shows its class, title and program, "
     "proposes its class and whole title as rules, takes a shorter fragment (it must occur in "
     "the title), shows what add would do and adds it once you say y.",
     "（Windows）ウィンドウをマウスで指して Enter キーを押すと、そのクラス、タイトル、プログラムを"
     "表示し、クラスとタイトル全体をルールとして提案します。タイトルの一部を入力すれば、それを title "
     "ルールにします（タイトルに含まれている必要があります）。add が何をするかを表示し、y と答えると"
     "書き足します。"},
    {kOptCodePage,
     "the ANSI code page of the system the rules are for: 1252 (Western), 932 (Japanese), "
     "65001 (set to UTF-8), or another this system converts. The default is this system's on "
     "Windows, 1252 elsewhere; every command takes it. Typed texts are converted to it; a "
     "character it cannot hold is warned about (it becomes ?, as in the window functions) and "
     "the command ends with status 1 at least.",
     "ルールを使うシステムの文字コード（ANSI）の番号です。1252（西欧）、932（日本語）、65001"
     "（UTF-8 に設定したシステム）、またはこのシステムで変換できるほかの番号を指定します。既定値は、"
     "Windows ではこのシステムの文字コード、それ以外では 1252 です。どのコマンドにも指定できます。"
     "入力したテキストはこの文字コードに変換します。表せない文字があれば（ウィンドウの関数と同じよう"
     "に ? になります）警告を出し、終了コードは 1 以上になります。"},
    {kOptQuiet, "shows only the warnings.", "警告だけを表示します。"},
    {kOptClass, "the window's class name.", "ウィンドウのクラス名です。"},
    {kOptTitle, "the window's title.", "ウィンドウのタイトルです。"},
    {kOptClassRule, "the class rule to add: a window class name, letter case aside.",
     "書き足す class ルールです。ウィンドウのクラス名で、大文字と小文字は区別しません。"},
    {kOptFragment,
     "the title fragment to add; for pick, a part of the window's title, which it must contain.",
     "書き足す title ルールです。pick では、ウィンドウのタイトルの一部で、タイトルに含まれている"
     "必要があります。"},
    {kOptAll, "lists the other visible windows too.", "表示されているほかのウィンドウも一覧表示します。"},
    {kOptHidden, "with --all, lists the hidden windows too.",
     "--all と一緒に指定すると、非表示のウィンドウも一覧表示します。"},
    {kOptLog, "appends the same lines to FILE.", "同じ行を FILE にも書き足します。"},
    {kOptCount, "stops after N closes.", "N 回閉じたところで終了します。"},
    {kOptAt, "picks the window at that point on the screen without waiting for Enter.",
     "Enter キーを待たずに、画面のその位置にあるウィンドウを選びます。"},
    {kOptYes, "adds the rules without asking, for scripts.",
     "確認せずにルールを書き足します。スクリプト用です。"},
    {kScanNeeds, "lists the windows open on a Windows desktop",
     "は Windows のデスクトップで開いているウィンドウを一覧表示します"},
    {kWatchNeeds, "reads the debug output of a Windows desktop",
     "は Windows のデスクトップのデバッグ出力を読みます"},
    {kPickNeeds, "looks at the windows of a Windows desktop",
     "は Windows のデスクトップのウィンドウを調べます"},

    {kUsageError, "lunet-rules: {0}\n(lunet-rules --help tells more)\n",
     "lunet-rules: {0}\n（詳しくは lunet-rules --help で確かめてください）\n"},
    {kNoCommand, "no command given", "コマンドが指定されていません"},
    {kUnknownCommand, "unknown command {0}", "{0} というコマンドはありません"},
    {kRunWindowsBuild, "{0} {1}: run the Windows build",
     "{0} {1}。Windows 版を実行してください"},
    {kUnexpectedArgument, "{0}: unexpected argument {1}", "{0}: 余分な引数があります: {1}"},
    {kUnknownOption, "{0}: unknown option {1}", "{0}: {1} というオプションはありません"},
    {kTakesNoValue, "{0}: {1} takes no value", "{0}: {1} には値を指定できません"},
    {kNeedsNumber, "{0}: {1} needs a whole number above 0",
     "{0}: {1} には 1 以上の整数を指定してください"},
    {kNeedsPoint, "{0}: {1} needs X,Y, two whole numbers",
     "{0}: {1} には X,Y の形で 2 つの整数を指定してください"},
    {kNeedsFileName, "{0}: {1} needs a file name", "{0}: {1} にはファイル名を指定してください"},
    {kNeedsValue, "{0}: {1} needs a value", "{0}: {1} には値を指定してください"},
    {kNotGiven, ", not {0}", "（{0} は使えません）"},
    {kUnknownCodePage, "--codepage {0}: not a code page this system converts",
     "--codepage {0}: このシステムで変換できる文字コードではありません"},
    {kNoSuchPath, "{0}: no such file or directory", "{0}: ファイルまたはフォルダーが見つかりません"},
    {kNotADirectory, "{0}: not a directory", "{0}: フォルダーではありません"},
    {kPathTooLong, "{0}: path too long", "{0}: パスが長すぎます"},
    {kInternalError,
     "lunet-rules: internal error: the module's loader stored other rules from {0} than this "
     "check found\n",
     "lunet-rules: 内部エラー: {0} からモジュールの読み込み処理が保存したルールが、このチェックで"
     "見つけたルールと違います\n"},
    {kTypedLost,
     "lunet-rules: warning: {0} cannot hold every character typed; the plug-in's windows read "
     "it as {1}\n",
     "lunet-rules: 警告: 入力した文字の中に、{0}で表せない文字があります。プラグインには {1} と"
     "して渡ります\n"},

    {kClassRuleAt, "{0}: class rule {1}", "{0}: class ルール {1}"},
    {kTitleRuleAt, "{0}: title fragment {1}", "{0}: title ルール {1}"},
    {kWarningAt, "{0}: warning: {1}", "{0}: 警告: {1}"},
    {kFileMissing, "missing: nothing loaded from it",
     "見つかりません。何も読み込まれません"},
    {kFileEmpty, "empty: no rules in it", "空です。ルールはありません"},
    {kFileIsDirectory, "is a directory, not a file: nothing loaded from it",
     "ファイルではなくフォルダーです。何も読み込まれません"},
    {kFileUnreadable, "cannot be opened (in use or denied): nothing loaded from it",
     "開けません（使用中か、アクセスが拒否されました）。何も読み込まれません"},
    {kOneClassRule, "1 class rule", "class ルール 1 個"},
    {kClassRules, "{0} class rules", "class ルール {0} 個"},
    {kOneTitleRule, "1 title fragment", "title ルール 1 個"},
    {kTitleRules, "{0} title fragments", "title ルール {0} 個"},
    {kOneWarning, "1 warning", "警告 1 件"},
    {kWarnings, "{0} warnings", "警告 {0} 件"},
    {kCounts, "{0}, {1}", "{0}、{1}"},
    {kEachTitleEachClass,
     "each of the {0} title fragments applies to each of the {1} class rules: a window of any "
     "listed class whose title holds any fragment is closed",
     "{0} 個の title ルールのそれぞれが、{1} 個の class ルールのそれぞれと組み合わされます。"
     "一覧のどのクラスのウィンドウでも、タイトルにどれかの title ルールを含めば閉じられます"},
    {kOneTitleEachClass,
     "the title fragment applies to each of the {0} class rules: a window of any listed class "
     "whose title holds the fragment is closed",
     "title ルールは、{0} 個の class ルールのそれぞれと組み合わされます。一覧のどのクラスの"
     "ウィンドウでも、タイトルにその title ルールを含めば閉じられます"},
    {kEachTitleOneClass,
     "each of the {0} title fragments applies to the class rule: a window of any listed class "
     "whose title holds any fragment is closed",
     "{0} 個の title ルールのそれぞれが、class ルールと組み合わされます。そのクラスのウィンドウは、"
     "タイトルにどれかの title ルールを含めば閉じられます"},
    {kReadAlone, "{0} (this file read alone)", "{0}（このファイルだけを読んだ場合）"},
    {kNoRulesAtAll,
     "no rules at all: nothing is closed, and every title redraw in every program reads the "
     "rule files again",
     "ルールが 1 つもありません。何も閉じられず、すべてのプログラムでタイトルが描き直されるたびに"
     "ルールファイルが読み直されます"},
    {kTitlesWithoutClass,
     "title fragments but no class rule: nothing is closed, and every title redraw in every "
     "program reads the rule files again",
     "title ルールはありますが、class ルールがありません。何も閉じられず、すべてのプログラムで"
     "タイトルが描き直されるたびにルールファイルが読み直されます"},
    {kClassesWithoutTitle,
     "class rules but no title fragment: nothing is closed, and every title redraw of a window "
     "of a listed class reads the rule files again",
     "class ルールはありますが、title ルールがありません。何も閉じられず、一覧のクラスの"
     "ウィンドウでタイトルが描き直されるたびにルールファイルが読み直されます"},
    {kSameClass,
     "the same class as the class rule at {0} (letter case aside): this line adds nothing",
     "{0} の class ルールと同じクラスです（大文字と小文字の違いを除く）。この行は何も加えません"},
    {kSameTitle, "the same title fragment as at {0}: this line adds nothing",
     "{0} と同じ title ルールです。この行は何も加えません"},

    // In Japanese a particle follows the name at once: the space after a number is the name's.
    {kCodePage, "code page {0}", "文字コード {0} "},
    {kCodePageThisSystem, "code page {0} (this system's)",
     "文字コード {0}（このシステムの文字コード）"},
    {kCodePageUtf8, "code page {0} (UTF-8)", "文字コード {0}（UTF-8）"},
    {kCodePageUtf8ThisSystem, "code page {0} (UTF-8, this system's)",
     "文字コード {0}（UTF-8、このシステムの文字コード）"},
    {kSaveWithoutBom,
     "save it in {0} without one (in Notepad: Save As, Encoding ANSI; in other editors: no BOM)",
     "{0}で、BOM なしで保存し直してください（メモ帳では［名前を付けて保存］の［文字コード］で"
     "「ANSI」、ほかのエディターでは BOM なし）"},
    {kSaveUtf8WithoutBom,
     "save it as UTF-8 without one (in Notepad: Save As, Encoding UTF-8, not UTF-8 with BOM)",
     "BOM なしの UTF-8 で保存し直してください（メモ帳では［名前を付けて保存］の［文字コード］で、"
     "「UTF-8 (BOM 付き)」ではなく「UTF-8」）"},
    {kBomInFile,
     "begins with a UTF-8 byte order mark, which the plug-in reads as part of the first line, "
     "so that line's rule is lost: {0}",
     "UTF-8 の BOM で始まっています。プラグインは BOM を 1 行目の一部として読むので、その行の"
     "ルールは無効になります。{0}"},
    {kNulBytes,
     "holds NUL bytes (UTF-16 text?): a field ends at its first NUL; save it in {0}",
     "NUL バイトを含んでいます（UTF-16 のテキスト？）。フィールドは最初の NUL で終わります。"
     "{0}で保存し直してください"},
    {kBomInValue,
     "a UTF-8 byte order mark starts the value, and is part of the text: save the file in {0}, "
     "without one",
     "値が UTF-8 の BOM で始まっていて、BOM も文字列の一部になります。{0}で、BOM なしで保存し直して"
     "ください"},
    {kNotUtf8,
     "not UTF-8 text: window texts are compared byte for byte in {0}, which reads it as {1}: "
     "save the file as UTF-8 (in Notepad: Save As, Encoding UTF-8)",
     "UTF-8 のテキストではありません。ウィンドウのテキストは{0}のまま 1 バイトずつ比較され、この"
     "文字コードでは {1} と読まれます。UTF-8 で保存し直してください（メモ帳では［名前を付けて保存］"
     "の［文字コード］で「UTF-8」）"},
    {kNotUtf8ReadsIn,
     "not UTF-8 text: window texts are compared byte for byte in {0}, which reads it as {1}; it "
     "reads cleanly in code page {2}: save the file as UTF-8 (in Notepad: Save As, Encoding "
     "UTF-8), or, for a system of code page {2}, pass --codepage {2}",
     "UTF-8 のテキストではありません。ウィンドウのテキストは{0}のまま 1 バイトずつ比較され、この"
     "文字コードでは {1} と読まれます。文字コード {2} なら正しく読めます。UTF-8 で保存し直して"
     "ください（メモ帳では［名前を付けて保存］の［文字コード］で「UTF-8」）。文字コード {2} の"
     "システム向けのルールなら、--codepage {2} を指定してください"},
    {kUtf8Text,
     "UTF-8 text: window texts are compared byte for byte in {0}, which reads it as {1}; save "
     "the file in {0}",
     "UTF-8 のテキストです。ウィンドウのテキストは{0}のまま 1 バイトずつ比較され、この文字コード"
     "では {1} と読まれます。{0}で保存し直してください"},
    {kUtf8TextCannotHold,
     "UTF-8 text: window texts are compared byte for byte in {0}, which reads it as {1}; {0} "
     "cannot hold that text: for a system of code page {2}, pass --codepage {2} and save the "
     "file in that code page",
     "UTF-8 のテキストです。ウィンドウのテキストは{0}のまま 1 バイトずつ比較され、この文字コード"
     "では {1} と読まれます。{0}ではこのテキストを表せません。文字コード {2} のシステム向けなら、"
     "--codepage {2} を指定し、ファイルをその文字コードで保存してください"},
    {kUtf8TextCannotHoldAny,
     "UTF-8 text: window texts are compared byte for byte in {0}, which reads it as {1}; {0} "
     "cannot hold that text: pass --codepage N for the system the rules are for, and save the "
     "file in that code page",
     "UTF-8 のテキストです。ウィンドウのテキストは{0}のまま 1 バイトずつ比較され、この文字コード"
     "では {1} と読まれます。{0}ではこのテキストを表せません。ルールを使うシステムの文字コードを "
     "--codepage N で指定し、ファイルをその文字コードで保存してください"},
    {kNotText, "not text in {0}, which reads it as {1}; save the file in {0}",
     "{0}のテキストではなく、この文字コードでは {1} と読まれます。{0}で保存し直してください"},
    {kNotTextReadsIn,
     "not text in {0}, which reads it as {1}; it reads cleanly in code page {2}: if the file "
     "was written for such a system, pass --codepage {2}",
     "{0}のテキストではなく、この文字コードでは {1} と読まれます。文字コード {2} なら正しく読め"
     "ます。そのシステム向けに書いたファイルなら、--codepage {2} を指定してください"},
    {kFoldPair, "{0} for {1}", "{1} を {0} に"},
    {kListSeparator, ", ", "、"},
    {kFoldTwin,
     "second bytes of its double-byte characters are ASCII letters, which the plug-in folds as "
     "it folds letter case: it also matches classes with {0}, such as the class {1}",
     "2 バイト文字の 2 バイト目が英字で、プラグインはそれも大文字と小文字を同じものとして扱います。"
     "そのため、{0}置き換えたクラス名（たとえば {1}）にも一致します"},
    {kIndentedComment,
     "a comment begins with // at the very start of the line: this indented one does nothing, "
     "but it is read as a rule line",
     "コメントは行の先頭の // から始まります。字下げしたこの行は何もしませんが、ルールの行として"
     "読まれます"},
    {kHashComment,
     "# starts no comment (a comment begins with // at the start of the line): the line does "
     "nothing, but it is read as a rule line",
     "# ではコメントになりません（コメントは行の先頭の // から始まります）。この行は何もしませんが、"
     "ルールの行として読まれます"},
    {kKeywordAlone, "keyword without a comma and a value: the line does nothing",
     "キーワードの後にカンマと値がありません。この行は何もしません"},
    {kKeywordAloneAtEnd,
     "keyword without a comma and a value at the end of the file: the line does nothing",
     "ファイルの最後で、キーワードの後にカンマと値がありません。この行は何もしません"},
    {kNoComma, "no comma: the line does nothing (write class,NAME or title,TEXT)",
     "カンマがありません。この行は何もしません（class,NAME か title,TEXT の形で書きます）"},
    {kLeadingComma, "the line starts with a comma, so it has no keyword: it does nothing",
     "行がカンマで始まっていて、キーワードがありません。この行は何もしません"},
    {kBomKeyword,
     "the file's byte order mark sticks to this keyword: the line {0} is lost and does nothing",
     "ファイルの BOM がこのキーワードの前にくっついています。{0} の行は無効になり、何もしません"},
    {kSpacedKeyword,
     "the keyword {0} has spaces around it: only class and title count, so the line does "
     "nothing",
     "キーワード {0} の前後にスペースがあります。キーワードは class と title だけなので、この行は"
     "何もしません"},
    {kUnknownKeyword, "unknown keyword {0} (only class and title count): the line does nothing",
     "{0} というキーワードはありません（キーワードは class と title だけです）。この行は何もしません"},
    {kThirdField, "a third field is ignored: {0}", "3 つ目のフィールドは無視されます: {0}"},
    {kEmptyClassRead, "empty class name: no window has one, so this rule closes nothing",
     "クラス名が空です。空のクラス名のウィンドウはないので、このルールは何も閉じません"},
    {kEmptyClassTyped, "an empty class name: no window has one",
     "クラス名が空です。空のクラス名のウィンドウはありません"},
    {kEmptyTitleRead,
     "empty title fragment: every title contains it, so every window of a listed class is "
     "closed",
     "title ルールが空です。どのタイトルにも含まれるので、一覧のクラスのウィンドウはすべて閉じられ"
     "ます"},
    {kEmptyTitleTyped,
     "an empty title fragment: every title contains it, so every window of every listed class "
     "would be closed",
     "title ルールが空です。どのタイトルにも含まれるので、一覧のクラスのウィンドウがすべて閉じられて"
     "しまいます"},
    {kComma, "a comma: the plug-in would cut the {0} there, at {1}",
     "カンマがあります。プラグインは {0} の値をそこで切り、{1} として読みます"},
    {kLineEnd, "a line end inside the value", "値の中に改行があります"},
    {kEdgeSpacesRead,
     "spaces at the start or end of the value are part of the text, which must match them too",
     "値の先頭や末尾のスペースも文字列の一部で、一致させるにはスペースも必要です"},
    {kEdgeSpacesTyped,
     "spaces at its start or end would be part of the rule, which a window's text must then "
     "hold too: type it without them",
     "先頭や末尾のスペースもルールの一部になり、ウィンドウのテキストにもスペースが必要になります。"
     "スペースを付けずに入力してください"},
    {kQuotes, "the quotes are part of the text: nothing is unquoted",
     "引用符も文字列の一部です。引用符は取り除かれません"},
    {kClassTooLongRead,
     "longer than 254 bytes: the hook reads at most 254 bytes of a class name, so this never "
     "matches",
     "254 バイトを超えています。フックはクラス名の先頭 254 バイトまでしか読まないので、このルール"
     "は一致しません"},
    {kClassTooLongTyped,
     "longer than 254 bytes: the hook reads at most 254 bytes of a class name, so it would "
     "never match",
     "254 バイトを超えています。フックはクラス名の先頭 254 バイトまでしか読まないので、一致する"
     "ことはありません"},
    {kTitleTooLongRead,
     "longer than 254 bytes: the hook reads at most 254 bytes of a title, so this is never "
     "found",
     "254 バイトを超えています。フックはタイトルの先頭 254 バイトまでしか読まないので、このルール"
     "は見つかりません"},
    {kTitleTooLongTyped,
     "longer than 254 bytes: the hook reads at most 254 bytes of a title, so it would never "
     "match",
     "254 バイトを超えています。フックはタイトルの先頭 254 バイトまでしか読まないので、一致する"
     "ことはありません"},

    {kTestNeeds, "test needs --class NAME and --title TEXT",
     "test には --class NAME と --title TEXT の両方が必要です"},
    {kRulesIn, "rules in {0}: {1}", "{0} のルール: {1}"},
    {kClassCut, "the hook reads only the first 254 bytes of the class name",
     "フックが読むのは、クラス名の先頭 254 バイトだけです"},
    {kTitleCut, "the hook reads only the first 254 bytes of the title",
     "フックが読むのは、タイトルの先頭 254 バイトだけです"},
    {kClassMatches, "class {0} matches the class rule {1} ({2})",
     "クラス名 {0} は class ルール {1}（{2}）に一致します"},
    {kTitleContains, "title {0} contains the title fragment {1} ({2})",
     "タイトル {0} は title ルール {1}（{2}）を含みます"},
    {kClassMatchesNone, "class {0} matches no class rule",
     "クラス名 {0} に一致する class ルールはありません"},
    {kTitleContainsNone, "title {0} contains no title fragment",
     "タイトル {0} は、どの title ルールも含みません"},
    {kClassNearMiss, "hint: the class rule {0} ({1}) would match but for {2}",
     "ヒント: class ルール {0}（{1}）は、{2}がなければ一致します"},
    {kTitleNearMiss, "hint: the title fragment {0} ({1}) would be found but for {2}",
     "ヒント: title ルール {0}（{1}）は、{2}がなければ見つかります"},
    {kWhyBom, "its byte order mark", "先頭の BOM（バイトオーダーマーク）"},
    {kWhySpaces, "the spaces at its start or end", "先頭や末尾のスペース"},
    {kWhyCase, "letter case, which counts in titles",
     "大文字と小文字の違い（タイトルでは区別されます）"},
    {kWhyAnd, " and ", "と"},
    {kClassLostFirstLine,
     "hint: the first line of {0}, {1}, would match, but the file's byte order mark makes it a "
     "line that does nothing: {2}",
     "ヒント: {0} の 1 行目 {1} は一致するはずですが、ファイルの BOM のせいで何もしない行になって"
     "います。{2}"},
    {kTitleLostFirstLine,
     "hint: the first line of {0}, {1}, would be found, but the file's byte order mark makes it "
     "a line that does nothing: {2}",
     "ヒント: {0} の 1 行目 {1} は見つかるはずですが、ファイルの BOM のせいで何もしない行になって"
     "います。{2}"},
    {kLeftOpen, "left open", "閉じられません"},
    {kClosed, "closed: the plug-in asks such a window to close each time its title is redrawn",
     "閉じられます。タイトルが描き直されるたびに、プラグインがこのウィンドウに閉じるよう求めます"},

    {kAddNeeds, "add needs --class NAME, --title TEXT or both",
     "add には --class NAME、--title TEXT、またはその両方が必要です"},
    {kRefused, "lunet-rules: {0} refused: {1}\n", "lunet-rules: {0} は書き足せません。{1}\n"},
    {kAddWarning, "warning: {0}: {1}", "警告: {0}: {1}"},
    {kReadOnly, "lunet-rules: {0}: read-only: nothing added\n",
     "lunet-rules: {0}: 読み取り専用です。何も書き足していません\n"},
    {kClassThere, "the class rule {0} is there already ({1}): not added again",
     "class ルール {0} はすでにあります（{1}）。もう一度は書き足しません"},
    {kTitleThere, "the title fragment {0} is there already ({1}): not added again",
     "title ルール {0} はすでにあります（{1}）。もう一度は書き足しません"},
    {kNewClass, "the new class rule {0} applies with every title fragment{1}",
     "新しい class ルール {0} は、すべての title ルールと組み合わされます{1}"},
    {kNewTitle, "the new title fragment {0} applies to every class rule{1}",
     "新しい title ルール {0} は、すべての class ルールと組み合わされます{1}"},
    {kReachOnlyNew, " (only the new one)", "（今回書き足すものだけです）"},
    {kReachNone, ": there is none yet, so it closes nothing",
     "。ただし、まだ 1 つもないので、何も閉じません"},
    {kReachSome, " ({0} already: {1})", "（すでに {0} 個あります: {1}）"},
    {kAddTo, "add to {0}: {1}", "{0} に書き足す行: {1}"},
    {kNothingToAdd, "nothing to add", "書き足すものはありません"},
    {kCannotRead, "lunet-rules: {0}: cannot be read\n", "lunet-rules: {0}: 読み込めません\n"},
    {kCannotWrite, "lunet-rules: {0}: cannot be written (read-only, or in use?): nothing added\n",
     "lunet-rules: {0}: 書き込めません（読み取り専用か、使用中かもしれません）。何も書き足して"
     "いません\n"},
    {kAddedTo, "added to {0}", "{0} に書き足しました"},
    {kCreated, "created {0}", "{0} を作りました"},
    {kNewRulesMatch, "  the new rules match the open window {0} of {1}, class {2} title {3}",
     "  新しいルールは、{1} のウィンドウ {0}（クラス名 {2}、タイトル {3}）に一致します"},
    {kNewRulesMatchNone, "the new rules match no window open now",
     "新しいルールに一致するウィンドウは、今は開いていません"},
    {kAfterEditing,
     "programs started from now on use the new rules; a program already running keeps the rules "
     "it read until it is restarted\n",
     "これから起動するプログラムは、新しいルールを使います。すでに起動しているプログラムは、再起動"
     "するまで前に読み込んだルールを使います\n"},

    {kScanWouldClose,
     "would close window {0}{1} class {2} title {3} (class rule {4}, title fragment {5})",
     "閉じる   ウィンドウ {0}{1} クラス名 {2} タイトル {3}（class ルール {4}、title ルール {5}）"},
    {kScanLeftOpen, "left open   window {0}{1} class {2} title {3}",
     "閉じない ウィンドウ {0}{1} クラス名 {2} タイトル {3}"},
    {kHidden, " (hidden)", "（非表示）"},
    {kScanCount, "{0} of {1} top-level windows would be closed{2}",
     "トップレベルウィンドウ {1} 個のうち、{0} 個が閉じられます{2}"},
    {kScanHiddenLeft, " ({0} hidden, not listed: --hidden lists them)",
     "（非表示の {0} 個は表示していません。--hidden を付けると表示します）"},
    {kPointAt, "Point at the window with the mouse, then press Enter here.",
     "マウスでウィンドウを指してから、ここで Enter キーを押してください。"},
    {kNoEnter, "pick: no Enter came (use --at X,Y in scripts)",
     "pick: Enter キーが押されませんでした（スクリプトでは --at X,Y を使ってください）"},
    {kPickAt, "lunet-rules: pick at {0},{1}: {2}\n", "lunet-rules: pick（位置 {0},{1}）: {2}\n"},
    {kThatIsDesktop, "that is the desktop, not a window: point at the window to close",
     "そこはデスクトップで、ウィンドウではありません。閉じたいウィンドウを指してください"},
    {kThatIsConsole, "that is this console: point at the window to close, then press Enter here",
     "そこはこのコンソールです。閉じたいウィンドウを指してから、ここで Enter キーを押してください"},
    {kPickedWindow, "window {0} of {1}\n  class {2}\n  title {3}\n",
     "{1} のウィンドウ {0}\n  クラス名 {2}\n  タイトル {3}\n"},
    {kFragmentPrompt, "title fragment to close on (Enter for the whole title): ",
     "目印にするタイトルの一部（Enter キーだけならタイトル全体）: "},
    {kNotInTitle, "lunet-rules: pick: the title does not contain {0}\n",
     "lunet-rules: pick: タイトルに {0} は含まれていません\n"},
    {kAddPrompt, "add these rules? [y/N] ", "これらのルールを書き足しますか？ [y/N] "},
    {kNothingAdded, "nothing added", "何も書き足していません"},

    {kWatching, "watching for windows the closer asks to close (rules in {0}: {1})",
     "クローズ機能が閉じるよう求めるウィンドウを待っています（{0} のルール: {1}）"},
    {kCtrlCEnds, "; Ctrl+C ends", "。Ctrl+C で終了します"},
    {kWatchClosed, "{0}  {1}  closed class {2} title {3}  {4}",
     "{0}  {1}  閉じました: クラス名 {2}、タイトル {3}  {4}"},
    {kByRules, "by class rule {0} ({1}) and title fragment {2} ({3})",
     "class ルール {0}（{1}）と title ルール {2}（{3}）による"},
    {kByNoRule, "matched by no rule in the files now (edited since the program read them?)",
     "今のファイルには一致するルールがありません（プログラムが読み込んだ後に編集しましたか？）"},
    {kMissedOneReport,
     "{0}  missed 1 report between {1} and {2}: they came faster than they could be printed",
     "{0}  {1} から {2} までの間に、報告を 1 件取りこぼしました。表示が追いつかないほど速く"
     "届きました"},
    {kMissedReports,
     "{0}  missed {3} reports between {1} and {2}: they came faster than they could be printed",
     "{0}  {1} から {2} までの間に、報告を {3} 件取りこぼしました。表示が追いつかないほど速く"
     "届きました"},
    {kMissedOneClose, "{0}  missed 1 close of {1} before this one: the buffer was busy",
     "{0}  この前に、{1} が閉じたウィンドウを 1 件取りこぼしました。バッファーが使用中でした"},
    {kMissedCloses, "{0}  missed {2} closes of {1} before this one: the buffer was busy",
     "{0}  この前に、{1} が閉じたウィンドウを {2} 件取りこぼしました。バッファーが使用中でした"},
    {kOneCloseSeen, "1 close seen", "閉じたウィンドウ 1 件"},
    {kClosesSeen, "{0} closes seen", "閉じたウィンドウ {0} 件"},
    {kMissedInAll, ", {0} missed", "、取りこぼし {0} 件"},
    {kLogCannotOpen, "lunet-rules: {0}: cannot be opened for appending\n",
     "lunet-rules: {0}: 書き足すために開けません\n"},
    {kWatchError, "lunet-rules: watch: {0}\n", "lunet-rules: watch: エラー: {0}\n"},
    {kNoThread, "lunet-rules: watch: cannot start the listening thread\n",
     "lunet-rules: watch: デバッグ出力を受け取るスレッドを開始できません\n"},

    {kDoubleClickFolder, "lunet-rules checked the rules in {0}\n",
     "lunet-rules で {0} のルールを確かめました\n"},
    {kDoubleClickClean, "\nThe rules are in order: no warnings.\n",
     "\nルールに問題はありません。警告はありません。\n"},
    {kDoubleClickWarnings, "\nSee the warnings above: each says what to change.\n",
     "\n上の警告を確かめてください。それぞれ、どう直せばよいかを示しています。\n"},
    {kDoubleClickNext,
     "\nMore, from a command prompt in this folder:\n"
     "  lunet-rules test --class NAME --title TEXT   would such a window be closed?\n"
     "  lunet-rules pick     point at a window to make a rule of it\n"
     "  lunet-rules watch    show each window the plug-in closes, as it happens\n"
     "  lunet-rules --help   everything else\n",
     "\nこのフォルダーでコマンド プロンプトを開くと、次のこともできます。\n"
     "  lunet-rules test --class NAME --title TEXT   そのウィンドウが閉じられるか確かめます\n"
     "  lunet-rules pick     ウィンドウを指して、そのウィンドウのルールを作ります\n"
     "  lunet-rules watch    プラグインが閉じたウィンドウを、その都度表示します\n"
     "  lunet-rules --help   そのほかの使い方を表示します\n"},
};

}  // namespace

const MessageTable kRulesMessages = MessagesOf<kCount>("lunet-rules", kRows);
