#!/usr/bin/env python3
"""Writes the Windows download: one zip holding the folder zestawy-VERSION/.

    python3 scripts/package.py VERSION BUILD_WINDOWS_DIR OUT_ZIP

The folder holds zestawy.exe, zestawy-cli.exe, the three history files,
CZYTAJ.txt (the Polish player's guide of README.md as plain text in Windows-1250
with CR LF, for Notepad) and README-dane.txt (where the histories come from, in
Polish and then in English).

Names are stored as UTF-8, and every name that is not plain ASCII has the
language-encoding flag (bit 11) set in both its headers, so that Windows'
"Extract all", 7-Zip and unzip all read "losowań" as it is. Without the flag
Windows reads the bytes in the OEM code page (852 in Poland) and gets the
name wrong. The entries say they were made on Unix, as they are: unzip 6.0
reads the names of entries made on MS-DOS in the OEM code page even when the
flag says UTF-8. So their attributes hold both the MS-DOS bits, for Windows,
and the Unix mode, which unzip takes from entries made on Unix. The same
inputs give the same bytes: entries in a fixed order, one fixed time stamp,
no extra fields.
"""
import re
import struct
import sys
import zlib
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
HISTORIES = ["Multi Multi wyniki losowań.txt", "Mini Lotto wyniki losowań.txt",
             "Lotto wyniki losowań.txt"]
# 1 January 2020, 00:00, in the DOS format of zip entries.
DOS_TIME, DOS_DATE = 0, ((2020 - 1980) << 9) | (1 << 5) | 1
UTF8_NAME = 0x0800  # general-purpose bit 11: the entry's name is UTF-8
MADE_BY = (3 << 8) | 20  # zip 2.0 on Unix


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def plain(markdown):
    """Markdown as plain text for Notepad: no marks, headings as lines of their own."""
    out = []
    for line in markdown.split("\n"):
        if line.startswith("![") or line.startswith("*English below"):
            continue  # pictures and the link to the English part lead nowhere
        heading = re.match(r"(#+) (.*)", line)
        if heading:
            title = heading.group(2)
            line = title.upper() if len(heading.group(1)) <= 2 else title + "\n" + "-" * len(title)
        line = re.sub(r"\[([^]]+)\]\([^)]+\)", r"\1", line)
        out.append(line.replace("`", "").replace("→", "->"))
    return re.sub(r"\*\*(.+?)\*\*", r"\1", "\n".join(out), flags=re.S)


def guide_in_polish():
    """The Polish player's guide of README.md (its title up to building and tests), as plain
    text: without the paragraph on building the tool on Linux."""
    readme = (ROOT / "README.md").read_text(encoding="utf-8")
    part = readme[:readme.index("### Budowanie i testy")]
    part = part[:part.index("W Linuksie")] + part[part.index("## Przewodnik"):]
    part = part.replace(" (robi go `bash scripts/package.sh`, niżej)", "")
    return crlf(plain(part).rstrip() + "\n").encode("cp1250")


def data_note():
    """Where the histories come from: the Polish note, then the English original."""
    polish = (ROOT / "docs" / "README-dane.txt").read_text(encoding="utf-8")
    english = (ROOT / "data" / "README.md").read_text(encoding="utf-8")
    return crlf(polish + "\n" + english).encode("cp1250")


def write_zip(out, entries):
    """entries: (name, bytes or None for a folder) in order."""
    data, central = bytearray(), bytearray()
    for name, content in entries:
        raw = name.encode("utf-8")
        flags = 0 if name.isascii() else UTF8_NAME
        folder = content is None
        content = content or b""
        packed = b"" if folder else zlib.compress(content, 9)[2:-4]  # raw deflate
        method = 0 if folder else 8
        crc = zlib.crc32(content)
        offset = len(data)
        data += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, DOS_TIME, DOS_DATE,
                            crc, len(packed), len(content), len(raw), 0)
        data += raw + packed
        # drwxr-xr-x and MS-DOS directory, or -rw-r--r-- and MS-DOS archive
        attributes = (0o40755 << 16) | 0x10 if folder else (0o100644 << 16) | 0x20
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, MADE_BY, 20, flags, method,
                               DOS_TIME, DOS_DATE, crc, len(packed), len(content), len(raw), 0,
                               0, 0, 0, attributes, offset)
        central += raw
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
    entries.append((top + "README-dane.txt", data_note()))
    out.parent.mkdir(parents=True, exist_ok=True)
    write_zip(out, entries)
    print(out)


if __name__ == "__main__":
    main()
