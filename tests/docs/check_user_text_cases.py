#!/usr/bin/env python3
"""Runs scripts/check-user-text's lexer on small sources: each must name exactly the lines of its
literals that hold text for users. The last line reads "N passed, M failed"."""
import importlib.machinery
import importlib.util
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
PATH = os.path.join(HERE, "..", "..", "scripts", "check-user-text")
loader = importlib.machinery.SourceFileLoader("check_user_text", PATH)
definition = importlib.util.spec_from_loader("check_user_text", loader)
check_user_text = importlib.util.module_from_spec(definition)
loader.exec_module(check_user_text)

# (what, source, the lines it must name)
CASES = [
    ("an identifier-like literal", 'Find("kId");\n', []),
    ("two lowercase words", 'const char* s = "cannot open";\n', [1]),
    ("Japanese", 'auto s = "閉じました";\n', [1]),
    ("letters handed to printf", 'printf("Hello");\n', [1]),
    ("letters handed to fprintf on stderr", 'fprintf(stderr, "Oops");\n', [1]),
    ("letters handed to Say after a line break", 'Say(\n    "Done");\n', [2]),
    ("a format without letters", 'printf("%d\\n", n);\n', []),
    ("a second argument is not handed straight", 'Say(kDone, "rules");\n', []),
    ("prose in a line comment", '// "some prose here"\nint x;\n', []),
    ("prose in a block comment, lines counted",
     '/* "a block\n comment" */\nauto s = "no good";\n', [3]),
    ("prose in a static_assert",
     'static_assert(sizeof(int) == 4, "int must be four bytes");\n', []),
    ("a quote in a character literal", "char c = '\"'; auto s = \"an error here\";\n", [1]),
    ("an escaped quote inside a literal", 'auto s = "say \\"hi\\" now";\nint y;\n', []),
    ("an escaped quote before prose", 'auto s = "\\"the file\\" is gone";\n', [1]),
]


def main():
    passed = failed = 0
    for what, source, lines in CASES:
        found = [line for line, _ in check_user_text.user_texts(source)]
        if found == lines:
            print(f"ok   {what}")
            passed += 1
        else:
            print(f"FAIL {what}: named lines {found}, expected {lines}")
            failed += 1
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
