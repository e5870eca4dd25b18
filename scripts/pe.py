#!/usr/bin/env python3
"""Facts about a built Windows file (PE32 or PE32+), read with struct alone.

The one reader of PE files for the scripts: tests/static/check_pe.py checks the built files with
it, and scripts/wine-run picks Wine's loader by its answer. As a program:
  pe.py FILE          the facts, one a line
  pe.py --bits FILE   32 or 64; status 1 when FILE is no PE file
"""

import re
import struct
import subprocess
import sys
from dataclasses import dataclass, field

MACHINES = {0x014C: "i386", 0x8664: "x86-64"}
FORMATS = {0x10B: "PE32", 0x20B: "PE32+"}
SUBSYSTEMS = {2: "Windows GUI", 3: "Windows console"}
RT_MANIFEST = 24

# Section flags.
SECTION_SHARED = 0x10000000
SECTION_EXECUTE = 0x20000000
SECTION_READ = 0x40000000
SECTION_WRITE = 0x80000000
# File header flags.
FILE_DLL = 0x2000
FILE_LOCAL_SYMS_STRIPPED = 0x0008
# DllCharacteristics.
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100


@dataclass
class Section:
    name: str
    rva: int
    virtual_size: int
    raw_offset: int
    raw_size: int
    flags: int

    def flag_names(self):
        names = [("SHARED", SECTION_SHARED), ("EXECUTE", SECTION_EXECUTE), ("READ", SECTION_READ),
                 ("WRITE", SECTION_WRITE)]
        return [name for name, bit in names if self.flags & bit]


@dataclass
class Import:
    dll: str  # upper case, as the checks compare it
    name: str  # "#ORDINAL" when imported by ordinal
    slot: int  # the address of its slot in the import address table, image base included


@dataclass
class Pe:
    machine: str = ""
    format: str = ""
    pointer_size: int = 4
    file_flags: int = 0
    image_base: int = 0
    os_version: tuple = (0, 0)
    subsystem: int = 0
    subsystem_version: tuple = (0, 0)
    dll_characteristics: int = 0
    symbol_count: int = 0
    sections: list = field(default_factory=list)
    imports: list = field(default_factory=list)
    exports: dict = field(default_factory=dict)  # name: RVA
    manifests: list = field(default_factory=list)  # the text of each RT_MANIFEST resource

    @property
    def is_dll(self):
        return bool(self.file_flags & FILE_DLL)

    @property
    def stripped(self):
        """No symbol table and no debugging sections left in the file."""
        debugging = [s.name for s in self.sections if s.name.startswith((".debug", ".stab"))]
        flagged = bool(self.file_flags & FILE_LOCAL_SYMS_STRIPPED)
        return flagged and not self.symbol_count and not debugging

    def import_dlls(self):
        return sorted({entry.dll for entry in self.imports})


class _Image:
    """The file's bytes, read at file offsets or at RVAs through the section table."""

    def __init__(self, data):
        self.data = data
        self.sections = []

    def unpack(self, layout, offset):
        size = struct.calcsize(layout)
        if offset < 0 or offset + size > len(self.data):
            raise ValueError(f"truncated at offset {offset:#x}")
        return struct.unpack_from(layout, self.data, offset)

    def offset(self, rva):
        for section in self.sections:
            if section.rva <= rva < section.rva + max(section.virtual_size, section.raw_size):
                return section.raw_offset + rva - section.rva
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def at(self, layout, rva):
        return self.unpack(layout, self.offset(rva))

    def string(self, rva, limit=512):
        start = self.offset(rva)
        end = self.data.find(b"\0", start, start + limit)
        return self.data[start:end if end >= 0 else start + limit].decode("latin-1")


def load(path):
    """(Pe, "") for a PE file, or (None, why not)."""
    try:
        with open(path, "rb") as file:
            data = file.read()
        return _parse(_Image(data)), ""
    except (OSError, ValueError, struct.error, UnicodeDecodeError) as error:
        return None, f"{path}: {error}"


def _parse(image):
    pe = Pe()
    if image.data[:2] != b"MZ":
        raise ValueError("no MZ header")
    (header,) = image.unpack("<I", 0x3C)
    if image.data[header:header + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    machine, count, _, symbols_at, pe.symbol_count, optional_size, pe.file_flags = image.unpack(
        "<HHIIIHH", header + 4)
    pe.machine = MACHINES.get(machine, f"{machine:#06x}")
    optional = header + 24
    (magic,) = image.unpack("<H", optional)
    if magic not in FORMATS:
        raise ValueError(f"unknown optional header magic {magic:#x}")
    pe.format = FORMATS[magic]
    wide = magic == 0x20B
    pe.pointer_size = 8 if wide else 4
    (pe.image_base,) = image.unpack("<Q" if wide else "<I", optional + (24 if wide else 28))
    os_major, os_minor = image.unpack("<HH", optional + 40)
    sub_major, sub_minor = image.unpack("<HH", optional + 48)
    pe.subsystem, pe.dll_characteristics = image.unpack("<HH", optional + 68)
    pe.os_version, pe.subsystem_version = (os_major, os_minor), (sub_major, sub_minor)
    (directories,) = image.unpack("<I", optional + (108 if wide else 92))
    directory_at = optional + (112 if wide else 96)

    table = optional + optional_size
    strings = symbols_at + 18 * pe.symbol_count
    for index in range(count):
        raw_name, vsize, rva, raw_size, raw_offset = image.unpack("<8sIIII", table + 40 * index)
        (flags,) = image.unpack("<I", table + 40 * index + 36)
        name = raw_name.rstrip(b"\0").decode("latin-1")
        # Long names ("/4") live in the COFF string table, which only an unstripped file has.
        if name.startswith("/") and name[1:].isdigit() and symbols_at:
            start = strings + int(name[1:])
            name = image.data[start:image.data.find(b"\0", start)].decode("latin-1")
        pe.sections.append(Section(name, rva, vsize, raw_offset, raw_size, flags))
    image.sections = pe.sections

    def directory(index):
        if index >= directories:
            return 0, 0
        return image.unpack("<II", directory_at + 8 * index)

    pe.exports = _exports(image, *directory(0))
    pe.imports = _imports(image, pe, directory(1)[0])
    pe.manifests = _manifests(image, directory(2)[0])
    return pe


def _exports(image, rva, size):
    if not rva or not size:
        return {}
    base, functions, names, function_table, name_table, ordinal_table = image.at("<6I", rva + 16)
    exports = {}
    for index in range(names):
        (name_rva,) = image.at("<I", name_table + 4 * index)
        (ordinal,) = image.at("<H", ordinal_table + 2 * index)
        if ordinal >= functions:
            raise ValueError(f"export {index} names ordinal {ordinal + base} beyond the table")
        (exports[image.string(name_rva)],) = image.at("<I", function_table + 4 * ordinal)
    return exports


def _imports(image, pe, rva):
    imports = []
    while rva:
        lookup, _, _, name_rva, thunks = image.at("<IIIII", rva)
        if not (lookup or name_rva or thunks):
            break
        dll = image.string(name_rva).upper()
        walk = lookup or thunks
        layout, by_ordinal = ("<Q", 1 << 63) if pe.pointer_size == 8 else ("<I", 1 << 31)
        for index in range(65536):
            (entry,) = image.at(layout, walk + pe.pointer_size * index)
            if not entry:
                break
            if entry & by_ordinal:
                name = f"#{entry & 0xFFFF}"
            else:  # past the hint
                name = image.string((entry & 0x7FFFFFFF) + 2)
            imports.append(Import(dll, name, pe.image_base + thunks + pe.pointer_size * index))
        rva += 20
    return imports


def _manifests(image, root):
    """The text of every RT_MANIFEST resource: type, then name, then language."""
    if not root:
        return []

    def entries(directory):
        named, numbered = image.at("<HH", root + directory + 12)
        return [image.at("<II", root + directory + 16 + 8 * i) for i in range(named + numbered)]

    found = []
    for type_id, type_at in entries(0):
        if type_id != RT_MANIFEST or not type_at & 0x80000000:
            continue
        for _, name_at in entries(type_at & 0x7FFFFFFF):
            if not name_at & 0x80000000:
                continue
            for _, data_at in entries(name_at & 0x7FFFFFFF):
                if data_at & 0x80000000:
                    continue
                data_rva, size = image.at("<II", root + data_at)
                start = image.offset(data_rva)
                found.append(image.data[start:start + size].decode("utf-8", "replace"))
    return found


def returns_from(listing, entry):
    """The instructions that leave the function at ENTRY, as (address, instruction) pairs.

    LISTING is `objdump -d --no-show-raw-insn` text. Every path from the entry is walked without
    passing through a call, up to a ret, a direct jump (its target walked too, tail calls
    included: the code there returns to the function's caller) or an indirect jump, which is
    listed but not followed.
    """
    addresses, instructions, index_of = [], [], {}
    for line in listing.splitlines():
        match = re.match(r"^ *([0-9a-f]+):\t(.*)$", line)
        if not match:
            continue
        address = int(match.group(1), 16)
        index_of[address] = len(addresses)
        addresses.append(address)
        instructions.append(match.group(2).split("\t")[-1].strip())
    found, walked, todo, seen = [], set(), [entry], {entry}
    while todo:
        index = index_of.get(todo.pop())
        while index is not None and index < len(addresses) and index not in walked:
            walked.add(index)
            words = re.sub(r"^(repz|rep|bnd|notrack) +", "", instructions[index]).split()
            op = words[0] if words else ""
            target = words[1] if len(words) > 1 else ""
            if op == "ret":
                found.append((addresses[index], " ".join(words)))
                break
            if op.startswith("j") and re.fullmatch(r"0x[0-9a-f]+|[0-9a-f]+", target):
                if int(target, 16) not in seen:
                    seen.add(int(target, 16))
                    todo.append(int(target, 16))
                if op == "jmp":
                    break
            elif op == "jmp":
                found.append((addresses[index], " ".join(words)))
                break
            index += 1
    return found


def disassemble(objdump, path):
    """objdump's listing of the file's code, or "" when objdump fails."""
    run = subprocess.run([objdump, "-d", "--no-show-raw-insn", path], capture_output=True,
                         text=True)
    return run.stdout if run.returncode == 0 else ""


def describe(pe):
    lines = [
        f"format {pe.format} {pe.machine}{' DLL' if pe.is_dll else ''}",
        f"image base {pe.image_base:#x}",
        f"subsystem {SUBSYSTEMS.get(pe.subsystem, pe.subsystem)} "
        f"{pe.subsystem_version[0]}.{pe.subsystem_version[1]}",
        f"OS version {pe.os_version[0]}.{pe.os_version[1]}",
        f"DllCharacteristics {pe.dll_characteristics:#06x}",
        f"stripped {'yes' if pe.stripped else 'no'}",
    ]
    lines += [f"section {s.name} {s.flags:#010x} {' '.join(s.flag_names())}" for s in pe.sections]
    lines += [f"import {i.dll} {i.name} slot {i.slot:#x}" for i in pe.imports]
    lines += [f"export {name} {rva:#x}" for name, rva in sorted(pe.exports.items())]
    lines += [f"manifest\n{text.strip()}" for text in pe.manifests]
    return "\n".join(lines)


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "--bits":
        pe, _ = load(arguments[1])
        if pe:
            print(pe.pointer_size * 8)
        return 0 if pe else 1
    if len(arguments) != 1 or arguments[0].startswith("-"):
        print("usage: pe.py FILE | pe.py --bits FILE", file=sys.stderr)
        return 2
    pe, error = load(arguments[0])
    if not pe:
        print(f"pe.py: {error}", file=sys.stderr)
        return 1
    print(describe(pe))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
