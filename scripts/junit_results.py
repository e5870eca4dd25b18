#!/usr/bin/env python3
"""Counts the entries of a ctest JUnit file: junit_results.py FILE

Prints "PASSED FAILED DISABLED", then on a second line the names of the failed entries (the
first five), each with ctest's word for its failure where it gives one. Exits 1 when the file
is missing or is no JUnit file, so that a ctest that wrote nothing never reads as a clean pass.
"""
import sys
import xml.etree.ElementTree as ET

SHOWN = 5


def main(path):
    try:
        cases = list(ET.parse(path).getroot().iter("testcase"))
    except (OSError, ET.ParseError):
        return 1
    passed = [case for case in cases if case.get("status") == "run"]
    disabled = [case for case in cases if case.get("status") == "disabled"]
    failed = [case for case in cases if case not in passed and case not in disabled]
    print(len(passed), len(failed), len(disabled))
    words = []
    for case in failed:
        failure = case.find("failure")
        word = failure.get("message") if failure is not None else case.get("status")
        words.append(f"{case.get('name')} ({word})" if word else case.get("name"))
    if len(words) > SHOWN:
        words[SHOWN:] = [f"{len(words) - SHOWN} more"]
    print(", ".join(words))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: junit_results.py FILE")
    sys.exit(main(sys.argv[1]))
