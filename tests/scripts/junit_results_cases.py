#!/usr/bin/env python3
"""scripts/junit_results.py on small JUnit files: what run-tests counts a pass from.

A wrong count here turns a failed entry into a passed one in every pass's summary, or an
unreadable file into a clean pass. Prints each case that fails and exits 1 if any did.
"""
import os
import subprocess
import sys
import tempfile

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "junit_results.py")


def suite(*cases):
    return "<testsuite>" + "".join(cases) + "</testsuite>"


def case(name, status, message=None):
    failure = f'<failure message="{message}"/>' if message else ""
    return f'<testcase name="{name}" status="{status}">{failure}</testcase>'


# (what, file text or None for no file, exit status, output)
CASES = [
    ("no file: ctest never wrote one", None, 1, ""),
    ("a file cut short by a killed ctest", "<testsuite><testcase", 1, ""),
    ("no entries", suite(), 0, "0 0 0\n\n"),
    ("passed, failed and disabled apart",
     suite(case("a", "run"), case("b", "fail", "Failed"), case("c", "disabled")),
     0, "1 1 1\nb (Failed)\n"),
    ("a timeout is a failure, with ctest's word",
     suite(case("slow", "fail", "Timeout"), case("a", "run")), 0, "1 1 0\nslow (Timeout)\n"),
    ("an entry not run counts as failed, named by its status",
     suite(case("lost", "notrun")), 0, "0 1 0\nlost (notrun)\n"),
    ("five failures named, the rest counted",
     suite(*[case(f"t{n}", "fail", "Failed") for n in range(7)]), 0,
     "0 7 0\nt0 (Failed), t1 (Failed), t2 (Failed), t3 (Failed), t4 (Failed), 2 more\n"),
]


def run(text):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "junit.xml")
        if text is not None:
            with open(path, "w", encoding="utf-8") as file:
                file.write(text)
        done = subprocess.run([sys.executable, SCRIPT, path], capture_output=True, text=True)
        return done.returncode, done.stdout


def main():
    failed = 0
    for what, text, status, output in CASES:
        got = run(text)
        if got != (status, output):
            failed += 1
            print(f"FAIL {what}: got {got!r}, want {(status, output)!r}")
    print(f"{len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
