#!/usr/bin/env python3
"""Runs scripts/pe.py on small inputs: the return walk on listings as objdump prints them, and
files that are no PE file, which it must refuse with a reason rather than a traceback; and
check_pe.py's judgement of a program's header and manifest on made-up ones. The last line reads
"N passed, M failed"."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import pe  # noqa: E402
import check_pe  # noqa: E402


def listing(*lines):
    return "\n".join(f" {address:x}:\t{instruction}" for address, instruction in lines)


# (what, listing, entry, the (address, instruction) pairs it must find)
WALKS = [
    ("a plain ret", listing((0x10, "push   %ebp"), (0x11, "pop    %ebp"), (0x12, "ret")), 0x10,
     [(0x12, "ret")]),
    ("a callee that pops its arguments",
     listing((0x10, "xor    %eax,%eax"), (0x12, "ret    $0x8")), 0x10, [(0x12, "ret $0x8")]),
    ("both sides of a branch", listing((0x10, "je     0x20"), (0x12, "ret"), (0x20, "ret    $0x4")),
     0x10, [(0x12, "ret"), (0x20, "ret $0x4")]),
    ("a tail call followed",
     listing((0x10, "jmp    0x30"), (0x12, "ret    $0x4"), (0x30, "ret")), 0x10, [(0x30, "ret")]),
    ("a call is stepped over", listing((0x10, "call   0x40"), (0x15, "ret"), (0x40, "ret    $0x4")),
     0x10, [(0x15, "ret")]),
    ("an indirect jump listed, not followed", listing((0x10, "jmp    *0x6000")), 0x10,
     [(0x10, "jmp *0x6000")]),
    ("a prefix dropped", listing((0x10, "repz ret")), 0x10, [(0x10, "ret")]),
    ("a loop walked once",
     listing((0x10, "dec    %ecx"), (0x11, "jne    0x10"), (0x13, "ret")), 0x10, [(0x13, "ret")]),
    ("an entry outside the listing", listing((0x10, "ret")), 0x99, []),
]

# (what, bytes of the file)
NOT_PE = [
    ("an empty file", b""),
    ("no MZ header", b"ELF" + bytes(100)),
    ("a header pointing past the end", b"MZ" + bytes(58) + (5000).to_bytes(4, "little")),
    ("no PE signature", b"MZ" + bytes(58) + (64).to_bytes(4, "little") + b"NE\0\0" + bytes(64)),
    ("a truncated file header", b"MZ" + bytes(58) + (64).to_bytes(4, "little") + b"PE\0\0\x4c\x01"),
]


SUPPORTED = "".join(f'<supportedOS Id="{{{guid}}}"/>' for guid in check_pe.SUPPORTED_OS.values())
AS_INVOKER = '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>'
CONTROLS = ('<dependency><dependentAssembly><assemblyIdentity type="win32" '
            'name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="*" '
            'publicKeyToken="6595b64144ccf1df" language="*"/></dependentAssembly></dependency>')
DPI = '<dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true</dpiAware>'

# (what, manifest text, a window program's, the faults found: each must name one of these)
MANIFESTS = [
    ("a console program's", AS_INVOKER + SUPPORTED, False, []),
    ("a window program's", CONTROLS + AS_INVOKER + SUPPORTED + DPI, True, []),
    ("a window program's without common controls", AS_INVOKER + SUPPORTED + DPI, True,
     ["Common-Controls"]),
    ("common controls 5", CONTROLS.replace("6.0.0.0", "5.82.0.0") + AS_INVOKER + SUPPORTED + DPI,
     True, ["Common-Controls"]),
    ("a window program's not DPI aware", CONTROLS + AS_INVOKER + SUPPORTED, True, ["DPI"]),
    ("DPI awareness off", CONTROLS + AS_INVOKER + SUPPORTED + DPI.replace(">true<", ">false<"),
     True, ["DPI"]),
    ("run as administrator", AS_INVOKER.replace("asInvoker", "requireAdministrator") + SUPPORTED,
     False, ["execution level"]),
    ("written for XP only", AS_INVOKER, False, ["not for: Vista 7 8 8.1 10"]),
    ("an empty one", "", True, ["execution level", "not for", "Common-Controls", "DPI"]),
]


class Header:
    def __init__(self, subsystem, subsystem_version, os_version):
        self.subsystem, self.subsystem_version, self.os_version = \
            subsystem, subsystem_version, os_version


# (what, the header, the subsystem wanted, the floor, whether it holds)
FLOORS = [
    ("a GUI program for XP", Header(2, (5, 1), (5, 1)), check_pe.GUI, (5, 1), True),
    ("a console subsystem where GUI is expected", Header(3, (5, 1), (5, 1)), check_pe.GUI, (5, 1),
     False),
    ("a GUI subsystem where console is expected", Header(2, (5, 1), (5, 1)), check_pe.CONSOLE,
     (5, 1), False),
    ("a GUI program for Vista only", Header(2, (6, 0), (6, 0)), check_pe.GUI, (5, 1), False),
    ("a 64-bit GUI program for XP x64", Header(2, (5, 2), (5, 2)), check_pe.GUI, (5, 2), True),
]


def main():
    results = []
    for what, text, gui, wanted in MANIFESTS:
        faults = check_pe.manifest_faults(text, gui)
        right = len(faults) == len(wanted) and all(w in f for w, f in zip(wanted, faults))
        results.append((right, f"manifest: {what}: {'; '.join(faults) or 'no fault'}"))
    for what, header, subsystem, floor, holds in FLOORS:
        found = check_pe.floor_holds(header, subsystem, floor)
        results.append((found == holds, f"header: {what}: {'holds' if found else 'refused'}"))
    for what, text, entry, expected in WALKS:
        found = pe.returns_from(text, entry)
        shown = "" if found == expected else f": found {found}"
        results.append((found == expected, f"walk: {what}{shown}"))
    with tempfile.TemporaryDirectory() as folder:
        for what, data in NOT_PE:
            path = os.path.join(folder, "file.dll")
            with open(path, "wb") as file:
                file.write(data)
            loaded, error = pe.load(path)
            results.append((loaded is None and error != "", f"refused: {what} ({error})"))
        loaded, error = pe.load(os.path.join(folder, "missing.dll"))
        refused = loaded is None and "missing.dll" in error
        results.append((refused, f"refused: a missing file ({error})"))
    for ok, description in results:
        print(("ok   " if ok else "FAIL ") + description)
    failed = sum(1 for ok, _ in results if not ok)
    print(f"{len(results) - failed} passed, {failed} failed")
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
