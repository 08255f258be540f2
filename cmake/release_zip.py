"""Writes the release archive: the DLL, the Japanese manual and the licence.

The archive is the same, byte for byte, for every build of one commit: its
entries stand in a fixed order, carry one fixed time (SOURCE_DATE_EPOCH when
set, else the time of the last commit, as a clock in Japan shows it) and fixed
attributes, and no extra
fields with the builder's user or clock. The manual and the licence are kept
as UTF-8 with LF in the repository; users get them as Windows editors have
always opened them: Shift-JIS (code page 932) with CR LF.
"""
import argparse
import os
import subprocess
import sys
import time
import zipfile

# What Windows users unpack, in this order.
DLL_NAME = "CoraxToPalm.dll"
MANUAL_NAME = "CoraxToPalm.txt"
LICENCE_NAME = "LICENSE.txt"

# The earliest time a zip entry can hold (DOS date), used without git.
FALLBACK_EPOCH = 315532800  # 1980-01-01 00:00:00 UTC
# A zip entry's time has no zone and is read as local time; the users' clocks
# are Japan's, nine hours ahead of UTC all year.
JAPAN_UTC_OFFSET = 9 * 3600
DEFLATE_LEVEL = 9
MSDOS_SYSTEM = 0
FILE_ATTRIBUTE_ARCHIVE = 0x20


def windows_text(path, code_page):
    """A UTF-8 text file as code page bytes with CR LF; refuses what does not fit."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if "\r" in text:
        raise ValueError("%s: has CR; keep LF line ends in the repository" % path)
    if text.startswith("\ufeff"):
        raise ValueError("%s: starts with a byte-order mark" % path)
    try:
        return text.replace("\n", "\r\n").encode(code_page)
    except UnicodeEncodeError as error:
        line = text.count("\n", 0, error.start) + 1
        raise ValueError("%s:%d: %r has no %s form" % (path, line, text[error.start], code_page)) from None


def archive_epoch(source_dir):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"], check=True,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout
        return int(out.strip())
    except (OSError, subprocess.CalledProcessError, ValueError):
        return FALLBACK_EPOCH


def write_archive(output, entries, epoch):
    date_time = time.gmtime(max(epoch + JAPAN_UTC_OFFSET, FALLBACK_EPOCH))[:6]
    partial = output + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.create_system = MSDOS_SYSTEM
            info.external_attr = FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=DEFLATE_LEVEL)
    os.replace(partial, output)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dll", required=True, help="the built CoraxToPalm.dll")
    parser.add_argument("--manual", required=True, help="the manual, UTF-8 with LF")
    parser.add_argument("--licence", required=True, help="the licence, UTF-8 with LF")
    parser.add_argument("--source-dir", required=True, help="the repository, for the commit time")
    parser.add_argument("--output", required=True, help="the archive to write")
    args = parser.parse_args()
    try:
        with open(args.dll, "rb") as f:
            dll = f.read()
        entries = [
            (DLL_NAME, dll),
            (MANUAL_NAME, windows_text(args.manual, "cp932")),
            (LICENCE_NAME, windows_text(args.licence, "cp932")),
        ]
        write_archive(args.output, entries, archive_epoch(args.source_dir))
    except (OSError, ValueError) as error:
        print("release_zip: %s" % error, file=sys.stderr)
        return 1
    print("release_zip: wrote %s" % args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
