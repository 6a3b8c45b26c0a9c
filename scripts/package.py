#!/usr/bin/env python3
"""Writes the Windows download: one zip holding the folder zestawy-VERSION/.

    python3 scripts/package.py VERSION BUILD_WINDOWS_DIR OUT_ZIP

The folder holds zestawy.exe, zestawy-cli.exe, the three history files,
CZYTAJ.txt (the Polish user guide of README.md in Windows-1250 with CR LF, for
Notepad) and README-dane.txt (where the histories come from).

Names are stored as Windows-1250 bytes, which a Polish Windows reads, with
the UTF-8 name in an Info-ZIP Unicode Path field beside them for the tools
that read that (unzip, 7-Zip). The same inputs give the same bytes: entries
in a fixed order, one fixed time stamp, no other extra fields.
"""
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
HISTORIES = ["Multi Multi wyniki losowań.txt", "Mini Lotto wyniki losowań.txt",
             "Lotto wyniki losowań.txt"]
# 1 January 2020, 00:00, in the DOS format of zip entries.
DOS_TIME, DOS_DATE = 0, ((2020 - 1980) << 9) | (1 << 5) | 1


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def guide_in_polish():
    """The Polish user part of README.md: its title up to building and tests."""
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    part = readme[:readme.index("### Budowanie i testy")]
    # Pictures and the link to the English part lead nowhere in a text file.
    lines = [line for line in part.split("\n")
             if not line.startswith("![") and not line.startswith("*English below")]
    text = "\n".join(lines).replace("→", "->").rstrip() + "\n"
    return crlf(text).encode("cp1250")


def unicode_path_field(raw_name, utf8_name):
    body = struct.pack("<BI", 1, zlib.crc32(raw_name)) + utf8_name
    return struct.pack("<HH", 0x7075, len(body)) + body


def write_zip(out, entries):
    """entries: (name, bytes or None for a folder) in order."""
    data, central = bytearray(), bytearray()
    for name, content in entries:
        raw, utf8 = name.encode("cp1250"), name.encode("utf-8")
        extra = unicode_path_field(raw, utf8) if raw != utf8 else b""
        folder = content is None
        content = content or b""
        packed = b"" if folder else zlib.compress(content, 9)[2:-4]  # raw deflate
        method = 0 if folder else 8
        crc = zlib.crc32(content)
        offset = len(data)
        data += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, method, DOS_TIME, DOS_DATE, crc,
                            len(packed), len(content), len(raw), len(extra))
        data += raw + extra + packed
        attributes = 0x10 if folder else 0x20  # MS-DOS directory / archive
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, method, DOS_TIME,
                               DOS_DATE, crc, len(packed), len(content), len(raw), len(extra),
                               0, 0, 0, attributes, offset)
        central += raw + extra
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central),
                      len(data), 0)
    out.write_bytes(bytes(data + central + end))


def main():
    version, build, out = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3])
    top = f"zestawy-{version}/"
    entries = [(top, None)]
    for exe in ["zestawy.exe", "zestawy-cli.exe"]:
        entries.append((top + exe, (build / exe).read_bytes()))
    for history in HISTORIES:
        entries.append((top + history, (ROOT / "data" / history).read_bytes()))
    entries.append((top + "CZYTAJ.txt", guide_in_polish()))
    attribution = (ROOT / "data" / "README.md").read_text(encoding="utf-8")
    entries.append((top + "README-dane.txt", crlf(attribution).encode("cp1250")))
    out.parent.mkdir(parents=True, exist_ok=True)
    write_zip(out, entries)
    print(out)


if __name__ == "__main__":
    main()
