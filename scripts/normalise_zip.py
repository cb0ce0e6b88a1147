#!/usr/bin/env python3
"""Rewrites a ZIP archive so that its bytes depend only on the files' names and
contents: entries sorted by name, one fixed time, fixed permissions, no extra
fields (no owner, access or change times).
Usage: normalise_zip.py archive.zip epoch-seconds"""
import sys
import time
import zipfile


def main(path, epoch):
    stamp = time.gmtime(max(int(epoch), 315532800))[:6]  # ZIP times start in 1980
    with zipfile.ZipFile(path) as source:
        entries = [(info.filename, source.read(info)) for info in source.infolist() if not info.is_dir()]
    with zipfile.ZipFile(path, "w") as target:
        for name, data in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 3  # Unix, so the permissions below are read
            mode = 0o755 if name.lower().endswith(".exe") else 0o644
            info.external_attr = (0o100000 | mode) << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            target.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
