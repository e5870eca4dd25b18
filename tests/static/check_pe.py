#!/usr/bin/env python3
"""Checks the built Windows files without running them, so it holds where Wine cannot:
  check_pe.py OBJDUMP i686|x86_64 lunet.dll [PROGRAM.exe...] [--unshipped PROGRAM.exe...]

The module: a DLL in the build's format (PE32 i386 or PE32+ x86-64), exactly the six exports,
a section "shared" shared between processes, imports from system DLLs only (the runtime is
linked in statically), DYNAMIC_BASE and NX_COMPAT, no section both writable and executable,
no library loader of ours, symbols stripped, a GUI subsystem and the oldest Windows it loads on
in the header (5.1, XP; 5.2 for 64 bits). In the 32-bit DLL, every export returns as cdecl,
and every import is one that XP exports (xp_exports.txt, beside this script).
The programs: the same format, system imports only, a console subsystem with the same oldest
Windows in the header, and in 32 bits imports that XP exports. The shipped ones (those before
--unshipped) carry an application manifest: run as the user, written for Vista to 10.
The window programs (after --gui, shipped): a GUI subsystem instead, the common controls and GDI
among their imports, and in the manifest also Common-Controls 6.0 and DPI awareness, declared
there rather than called (no SetProcessDPIAware, which XP lacks).
  check_pe.py OBJDUMP i686|x86_64 lunet.dll [PROGRAM.exe...] [--gui PROGRAM.exe...]
              [--unshipped PROGRAM.exe...]
The last line reads "N passed, M failed".
"""

import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import pe as pefile  # noqa: E402

EXPORTS = ["configure", "getversion", "load", "notify", "request", "unload"]
DLL_IMPORTS = {"KERNEL32.DLL", "USER32.DLL", "MSVCRT.DLL"}
# The programs also take their command line apart with SHELL32's CommandLineToArgvW.
PROGRAM_IMPORTS = DLL_IMPORTS | {"ADVAPI32.DLL", "SHELL32.DLL"}
# A window program draws its own controls and list views.
GUI_IMPORTS = PROGRAM_IMPORTS | {"GDI32.DLL", "COMCTL32.DLL"}
CONSOLE, GUI = 3, 2
LOADERS = {"LoadLibraryA", "LoadLibraryW", "LoadLibraryExA", "LoadLibraryExW", "LdrLoadDll",
           "LoadPackagedLibrary"}
SUPPORTED_OS = {
    "Vista": "e2011457-1546-43c5-a5fe-008deee3d3f0",
    "7": "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
    "8": "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
    "8.1": "1f676c76-80e1-4239-95bb-83d0f6d0da78",
    "10": "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a",
}
PROCESSORS = {"i686": ("PE32", "i386"), "x86_64": ("PE32+", "x86-64")}


class Checks:
    """One line a check, "ok" or "FAIL", and the summary line run-tests reads."""

    def __init__(self):
        self.passed = self.failed = 0

    def check(self, condition, description):
        print(("ok   " if condition else "FAIL ") + description)
        if condition:
            self.passed += 1
        else:
            self.failed += 1

    def done(self):
        print(f"{self.passed} passed, {self.failed} failed")
        return 0 if self.failed == 0 else 1


def version(pair):
    return f"{pair[0]}.{pair[1]}"


def floor_holds(pe, subsystem, floor):
    """The header names the subsystem and, as both its and the system's version, the oldest
    Windows the file is for: Windows refuses to start a console program as a window program's
    double-click would, and an older Windows refuses a higher version."""
    return pe.subsystem == subsystem and pe.subsystem_version == floor and pe.os_version == floor


def manifest_faults(text, gui):
    """What an application manifest lacks; [] when nothing. Every shipped program runs as the
    user (asInvoker, no uiAccess) and is written for Vista to 10: without that, Vista and later
    take a 32-bit program for an older one and redirect its writes under Program Files to the
    VirtualStore. A window program also wants Common-Controls 6.0 (else XP and later draw its
    controls as Windows 2000 did, and some list view features are missing) and declares DPI
    awareness (else Vista and later scale its bitmap, blurred)."""
    faults = []
    level = re.search(r"<requestedExecutionLevel\b[^>]*>", text)
    level = level.group(0) if level else ""
    if not ('level="asInvoker"' in level and 'uiAccess="false"' in level):
        faults.append(f"execution level: {level or 'none'}")
    ids = {m.lower() for m in re.findall(r'<supportedOS\s+Id="\{([0-9a-fA-F-]+)\}"', text)}
    missing = [system for system, guid in SUPPORTED_OS.items() if guid not in ids]
    if missing:
        faults.append(f"not for: {' '.join(missing)}")
    if not gui:
        return faults
    identities = re.findall(r"<assemblyIdentity\b[^>]*>", text)
    controls = [i for i in identities if 'name="Microsoft.Windows.Common-Controls"' in i
                and 'version="6.0.0.0"' in i and 'publicKeyToken="6595b64144ccf1df"' in i]
    if not controls:
        faults.append("no dependency on Common-Controls 6.0")
    if not re.search(r"<dpiAware\b[^>]*>\s*true(/pm)?\s*</dpiAware>", text, re.IGNORECASE):
        faults.append("not DPI aware")
    return faults


def xp_exports():
    """The "DLL function" pairs that Windows XP's system DLLs export."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xp_exports.txt")
    with open(path, encoding="utf-8") as file:
        return {tuple(line.split()) for line in file if line.strip() and not line.startswith("#")}


class Checker:
    def __init__(self, objdump, processor):
        self.objdump = objdump
        self.format, self.machine = PROCESSORS[processor]
        self.bits = 64 if processor == "x86_64" else 32
        # The header's floor: XP in 32 bits, the first 64-bit Windows in 64.
        self.floor = (5, 2) if self.bits == 64 else (5, 1)
        self.checks = Checks()
        self.check = self.checks.check

    def kind(self):
        return f"{self.format} {self.machine}"

    def right_format(self, pe):
        return pe.format == self.format and pe.machine == self.machine

    def floor_check(self, pe, subsystem, what):
        found = ", ".join([str(pefile.SUBSYSTEMS.get(pe.subsystem, pe.subsystem)),
                           version(pe.subsystem_version), version(pe.os_version)])
        self.check(floor_holds(pe, subsystem, self.floor),
                   f"{what}, subsystem and OS version {version(self.floor)} (found: {found})")

    def xp_imports_check(self, pe, what):
        """Every imported function of a 32-bit file must be one that Windows XP's system DLLs
        export, or the loader refuses the module there, and refuses to start a program, with an
        entry-point error."""
        known = xp_exports()
        unknown = [f"{i.dll} {i.name}" for i in pe.imports if (i.dll, i.name) not in known]
        detail = f" (not: {', '.join(unknown)})" if unknown else ""
        self.check(pe.imports and not unknown,
                   f"{what}imports {len(pe.imports)} functions, all exported by Windows XP{detail}")

    def module(self, path):
        name = os.path.basename(path)
        pe, error = pefile.load(path)
        if not pe:
            self.check(False, f"cannot read {error}")
            return False
        self.check(self.right_format(pe) and pe.is_dll, f"{name}: a {self.kind()} DLL")
        exports = sorted(pe.exports)
        self.check(exports == EXPORTS, f"exports exactly: {' '.join(exports)}")
        shared = [s for s in pe.sections if s.name == "shared"]
        self.check(shared and shared[0].flags & pefile.SECTION_SHARED,
                   "a section 'shared' with the SHARED flag")
        dlls = pe.import_dlls()
        self.check(set(dlls) <= DLL_IMPORTS and {"KERNEL32.DLL", "USER32.DLL"} <= set(dlls),
                   f"imports system DLLs only: {' '.join(dlls)}")
        self.floor_check(pe, 2, "Windows GUI")
        wanted = pefile.DYNAMIC_BASE | pefile.NX_COMPAT
        self.check(pe.dll_characteristics & wanted == wanted, f"DllCharacteristics "
                   f"{pe.dll_characteristics:#06x} has DYNAMIC_BASE and NX_COMPAT")
        both = pefile.SECTION_WRITE | pefile.SECTION_EXECUTE
        bad = [s.name for s in pe.sections if s.flags & both == both]
        self.check(pe.sections and not bad,
                   f"no writable and executable section among {len(pe.sections)}"
                   + (f" (found: {' '.join(bad)})" if bad else ""))
        self.loaders_check(pe, path)
        if self.bits == 32:
            self.xp_imports_check(pe, "")
            self.cdecl_check(pe, path)
        self.check(pe.stripped, "symbols and debugging information stripped "
                   f"({os.path.getsize(path)} bytes)")
        return True

    def loaders_check(self, pe, path):
        """Library loaders among the imports. The 32-bit runtime's frame registration imports
        LoadLibraryA, and only pins "libgcc_s_dw2-1.dll" when GetModuleHandleA has found it
        already loaded, so it never searches the plug-in or the current directory; the 64-bit
        runtime imports none."""
        loaders = sorted({i.name for i in pe.imports if i.name in LOADERS})
        runtime = self.bits == 32 and loaders == ["LoadLibraryA"]
        imported = f" (imported: {' '.join(loaders)})" if loaders else ""
        self.check(not loaders or runtime,
                   f"no library loader imported but the runtime's LoadLibraryA{imported}")
        if not runtime:
            return
        slot = next(i.slot for i in pe.imports if i.name == "LoadLibraryA")
        listing = pefile.disassemble(self.objdump, path)
        calls = len(re.findall(rf"call +\*0x{slot:x}\b", listing))
        with open(path, "rb") as file:
            data = file.read()
        registers = b"\0libgcc_s_dw2-1.dll\0" in data and b"\0__register_frame_info\0" in data
        self.check(calls == 1 and registers, "LoadLibraryA has one caller, the runtime's frame "
                   f"registration ({calls} call through {slot:#x})")

    def cdecl_check(self, pe, path):
        """The host calls the six exports caller-cleans-up (cdecl). In a 32-bit DLL such a function
        returns with a plain ret; a callee-cleans-up one (stdcall) with "ret N", which would pop
        N bytes of the host's stack that the host pops again."""
        listing = pefile.disassemble(self.objdump, path)
        for name in sorted(pe.exports):
            entry = pe.image_base + pe.exports[name]
            returns = pefile.returns_from(listing, entry)
            plain = sum(1 for _, op in returns if op == "ret")
            popping = [(at, op) for at, op in returns if op.startswith("ret ")]
            detail = ""
            if popping:
                detail = f', but "{popping[0][1]}" at {popping[0][0]:#x}: stdcall'
            elif not plain:
                left = " ".join(f'"{op}" at {at:#x}' for at, op in returns if op.startswith("jmp"))
                detail = f", but no plain ret reached; left by: {left}"
            self.check(plain > 0 and not popping,
                       f"{name} at {entry:#x} returns as cdecl does ({plain} plain ret){detail}")

    def program(self, path, shipped, gui=False):
        name = os.path.basename(path)
        pe, error = pefile.load(path)
        if not pe:
            self.check(False, f"{name}: readable ({error})")
            return
        dlls = pe.import_dlls()
        allowed = GUI_IMPORTS if gui else PROGRAM_IMPORTS
        self.check(self.right_format(pe) and not pe.is_dll and set(dlls) <= allowed,
                   f"{name}: {self.kind()}, imports {' '.join(dlls)}")
        if gui:
            self.floor_check(pe, GUI, f"{name}: Windows GUI")
            called = [i.name for i in pe.imports if i.name == "SetProcessDPIAware"]
            self.check(not called, f"{name}: DPI awareness not called at run time "
                       "(SetProcessDPIAware, which XP lacks" + (", imported)" if called else ")"))
        else:
            self.floor_check(pe, CONSOLE, f"{name}: Windows console")
        if self.bits == 32:
            self.xp_imports_check(pe, f"{name}: ")
        if shipped:
            self.manifest_check(pe, name, gui)

    def manifest_check(self, pe, name, gui):
        text = pe.manifests[0] if len(pe.manifests) == 1 else ""
        faults = manifest_faults(text, gui)
        if len(pe.manifests) != 1:
            faults = [f"{len(pe.manifests)} manifest(s)"]
        wanted = "asInvoker without uiAccess, for Windows Vista to 10"
        if gui:
            wanted += ", Common-Controls 6.0, DPI aware"
        self.check(not faults, f"{name}: a manifest, {wanted}"
                   + (f" (found: {'; '.join(faults)})" if faults else ""))


def main(arguments):
    if len(arguments) < 3 or arguments[1] not in PROCESSORS:
        print(__doc__.splitlines()[1], file=sys.stderr)
        return 2
    objdump, processor, dll = arguments[0], arguments[1], arguments[2]
    checker = Checker(objdump, processor)
    if not checker.module(dll):
        return checker.checks.done() or 1
    kind = "console"
    for program in arguments[3:]:
        if program in ("--gui", "--unshipped"):
            kind = program[2:]
            continue
        checker.program(program, kind != "unshipped", kind == "gui")
    return checker.checks.done()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
