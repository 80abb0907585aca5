#!/usr/bin/env python3
"""Writes a release zip that is the same byte for byte on every build of one commit.

make_zip.py OUT.zip EPOCH FILE...   (files go in in the order given, flat, under their own names)

Fixed for every entry: the time stamp (EPOCH, as UTC), the attributes, the compression, the
order. Names outside ASCII are stored in code page 936 without the UTF-8 flag, as Chinese
Windows' own compressed folders (Windows 7 included) expect them, and again in UTF-8 in an
Info-ZIP Unicode Path field, which 7-Zip, WinRAR and unzip read on any system.
"""
import os
import struct
import sys
import time
import zipfile
import zlib


class LegacyNameInfo(zipfile.ZipInfo):
    def _encodeFilenameFlags(self):
        try:
            return self.filename.encode("ascii"), self.flag_bits
        except UnicodeEncodeError:
            return self.filename.encode("cp936"), self.flag_bits & ~0x800


def unicode_path_field(name):
    legacy = name.encode("cp936")
    if legacy == name.encode("utf-8"):
        return b""
    body = struct.pack("<BI", 1, zlib.crc32(legacy)) + name.encode("utf-8")
    return struct.pack("<HH", 0x7075, len(body)) + body


def main():
    out, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip time stamps start in 1980
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w") as archive:
        for path in files:
            name = os.path.basename(path)
            info = LegacyNameInfo(name, date_time=stamp)
            info.create_system = 0          # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20       # FILE_ATTRIBUTE_ARCHIVE
            info.compress_type = zipfile.ZIP_DEFLATED
            info.extra = unicode_path_field(name)
            with open(path, "rb") as source:
                archive.writestr(info, source.read(), compresslevel=9)
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
