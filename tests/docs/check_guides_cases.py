#!/usr/bin/env python3
"""Runs scripts/check-guides on small guide pairs: one in step, and one fault each that it must
fail with the file and line named. The last line reads "N passed, M failed"."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                     "check-guides")

ENGLISH = """Guide
=====

Run "lunet-rules check --codepage 932" beside lunet.dll.
A rule such as "class,Promo Frame" names a class.

    lunet-rules check

Rules
-----

- one item
- another item

Choose **Save As** in Notepad: words of other programs are not the window's.

Window
------

![The editor](editor-en.png)

Press **Add...**, then **Yes**.

### Undoing

Press **Undo**.
"""

# Breaks after 、 and 。, between Japanese and Latin text, and before a list item are allowed.
JAPANESE = """説明書
======

lunet.dll と同じフォルダーで "lunet-rules check --codepage 932" を実行します。
"class,Promo Frame" のようなルールは、
クラスを指定します。
改行は句点の後でもかまいません。
次の文は lunet.dll
について述べます。

    lunet-rules check

ルール
------

- 項目です
- 別の項目です

メモ帳の［名前を付けて保存］を選びます。

ウィンドウ
----------

![エディター](editor-ja.png)

［追加］を押し、［はい］を押します。

### 元に戻す

［元に戻す］を押します。
"""

# The pictures beside the guides.
PICTURES = ("editor-en.png", "editor-ja.png")

# The check's code block, followed by a session of the tool (a block of its own).
HELP = "    lunet-rules check\n\nThen:\n\n    > lunet-rules --help\n"
TEST = ("    lunet-rules check\n\nThen:\n\n"
        "    > lunet-rules test --class AdPopupWindow --title Sponsored\n")

# (name, text replaced in the English guide, in the Japanese one, exit status, texts the output
# must hold)
CASES = [
    ("guides in step", None, None, 0, ["7 passed, 0 failed"]),
    ("a word broken in Japanese", None, ("クラスを指定します。", "クラスを指\n定します。"), 1,
     ["FAIL  breaks:", "ja.md:6: line break between Japanese characters (指 | 定)"]),
    ("a line that starts with a long vowel mark", None, ("ルールは、", "ルー\nルは、"), 1,
     ["ja.md:5: line break between Japanese characters (ー | ル)"]),
    ("a break after a closing bracket", None, ("改行は句点の後", "「改行」\nは句点の後"), 1,
     ["ja.md:7: line break between Japanese characters (」 | は)"]),
    ("a quoted command broken", ("check --codepage", "check\n--codepage"), None, 1,
     ['en.md:4: line break inside a quoted text (keep a command, an option or a rule text on '
      'one line): "lunet-rules check']),
    ("a rule text broken in Japanese", None, ('"class,Promo Frame"', '「class,Promo\nFrame」'), 1,
     ["ja.md:5: line break inside a quoted text (keep a command, an option or a rule text on "
      "one line): 「class,Promo"]),
    ("a backticked command broken", ("Run ", "Run `lunet-rules\ncheck` or "), None, 1,
     ["en.md:4: line break inside a quoted text (keep a command, an option or a rule text on "
      "one line): `lunet-rules"]),
    ("an option missing", None, ("check --codepage 932", "check"), 1,
     ["en.md:4: 'lunet-rules check --codepage 932' is not mentioned in ja.md",
      "en.md:4: '--codepage' is not mentioned in ja.md"]),
    ("a code line missing", None, ("    lunet-rules check\n", ""), 1,
     ['en.md:7: code line missing from ja.md in section 1 "説明書" (line 1): lunet-rules check']),
    ("a heading missing", ("Rules\n-----\n", ""), None, 1,
     ["en.md has 3 headings, ja.md has 4"]),
    # The window's words, in the sections that show a picture of it.
    ("a word the window does not have", ("**Undo**", "**Undo all**"), None, 1,
     ["FAIL  window:", "en.md:26: **Undo all** is no text of the window in English "
      "(tools/editor/editor_messages.def)"]),
    ("a Japanese word the window does not have", None, ("［元に戻す］を", "［取り消す］を"), 1,
     ["ja.md:30: ［取り消す］ is no text of the window in Japanese"]),
    ("an English word in the Japanese guide", None, ("［追加］", "［Add...］"), 1,
     ["ja.md:26: ［Add...］ is no text of the window in Japanese"]),
    ("a picture that is not there", ("editor-en.png", "editor-gone-en.png"), None, 1,
     ["FAIL  pictures:", "en.md:20: editor-gone-en.png is not there beside the guide",
      'en.md:20: editor-gone-en.png has no twin in ja.md in section 3 "ウィンドウ" (line 21)']),
    ("a picture in the other language", None, ("editor-ja.png", "editor-en.png"), 1,
     ["ja.md:24: editor-en.png is not a picture in this guide's language (its name ends in "
      "-ja.png)"]),
    ("a picture in one guide only", ("Press **Undo**.", "![Undo](editor-en.png)\n\nPress **Undo**."),
     None, 1, ['en.md:26: editor-en.png has no twin in ja.md in section 4 "元に戻す" (line 28)']),
    # Sessions run the native lunet-rules; "..." stands for what a session leaves out.
    ("sessions leaving every line out", ("    lunet-rules check\n", HELP + "    ...\n"),
     ("    lunet-rules check\n", HELP + "    ...\n"), 0, ["examples: 2 sessions are what"]),
    ("a session changed", ("    lunet-rules check\n", TEST + "    closed: not what it prints\n"),
     ("    lunet-rules check\n", TEST + "    ...\n"), 1,
     ['en.md:11: the session of "lunet-rules test --class AdPopupWindow --title Sponsored" is not '
      "what lunet-rules prints", "    -closed: not what it prints"]),
]


def write(path, text, change):
    if change:
        assert change[0] in text, change[0]
        text = text.replace(change[0], change[1], 1)
    with open(path, "w", encoding="utf-8") as file:
        file.write(text)


def run_case(folder, case):
    name, english, japanese, status, expected = case
    write(os.path.join(folder, "en.md"), ENGLISH, english)
    write(os.path.join(folder, "ja.md"), JAPANESE, japanese)
    for picture in PICTURES:
        write(os.path.join(folder, picture), "", None)
    run = subprocess.run([sys.executable, CHECK, "en.md", "ja.md"], cwd=folder,
                         capture_output=True, text=True)
    output = run.stdout + run.stderr
    missing = [line for line in expected if line not in output]
    if run.returncode == status and not missing:
        print(f"ok    {name}")
        return True
    print(f"FAIL  {name}: exit status {run.returncode} (wanted {status})")
    for line in missing:
        print(f"  missing line: {line}")
    print("  output:\n" + "\n".join(f"    {line}" for line in output.splitlines()))
    return False


def main():
    passed = failed = 0
    with tempfile.TemporaryDirectory() as folder:
        for case in CASES:
            if run_case(folder, case):
                passed += 1
            else:
                failed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
