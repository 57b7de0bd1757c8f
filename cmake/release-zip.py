#!/usr/bin/env python3
"""Writes the release zip: the given files and their SHA256SUMS, the same bytes from the
same sources whatever the build folder and the time, so anyone can check a release by
rebuilding it.

usage: release-zip.py ZIP SOURCE_DIR FILE...

Every entry gets the time of SOURCE_DATE_EPOCH when it is set, else of the last commit of
SOURCE_DIR, else 1980-01-01 (the earliest a zip holds); the entries are in the order given,
with fixed attributes and no extra fields. SHA256SUMS is in the format `sha256sum -c` reads.
"""

import hashlib
import os
import subprocess
import sys
import time
import zipfile

EARLIEST = 315532800  # 1980-01-01 00:00:00 UTC


def release_time(source_dir):
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        try:
            epoch = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                                   capture_output=True, text=True, check=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            epoch = ""
    return time.gmtime(max(int(epoch or EARLIEST), EARLIEST))[:6]


def add(archive, name, data, when):
    entry = zipfile.ZipInfo(name, date_time=when)
    entry.compress_type = zipfile.ZIP_DEFLATED
    entry.create_system = 0  # MS-DOS attributes: none set, the same on every build machine
    entry.external_attr = 0
    archive.writestr(entry, data, compresslevel=9)


def main(arguments):
    if len(arguments) < 3:
        print(__doc__.strip().splitlines()[3], file=sys.stderr)
        return 2
    zip_path, source_dir, files = arguments[0], arguments[1], arguments[2:]
    when = release_time(source_dir)
    contents = []
    for path in files:
        with open(path, "rb") as file:
            contents.append((os.path.basename(path), file.read()))
    sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in contents)
    os.makedirs(os.path.dirname(os.path.abspath(zip_path)), exist_ok=True)
    with zipfile.ZipFile(zip_path + ".part", "w") as archive:
        for name, data in contents + [("SHA256SUMS", sums.encode())]:
            add(archive, name, data, when)
    os.replace(zip_path + ".part", zip_path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
