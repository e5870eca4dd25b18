#!/usr/bin/env python3
"""fixed_zip.py ZIP EPOCH FILE...: the files zipped in that order, each with the time EPOCH (UTC),
the same mode, no extra fields: nothing of this machine, its clock or umask goes in."""
import sys
import time
import zipfile

name, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
stamp = time.gmtime(max(epoch, 315532800))[:6]  # a zip's times begin in 1980
with zipfile.ZipFile(name, "w") as archive:
    for path in files:
        entry = zipfile.ZipInfo(path, stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 3
        entry.external_attr = 0o100644 << 16
        with open(path, "rb") as source:
            archive.writestr(entry, source.read(), compresslevel=9)
