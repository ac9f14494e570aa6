#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs: small valid files of each kind, so
that fuzzing starts past the headers. Run it again after a format change:
    python3 tests/fuzz/seeds/make_seeds.py
"""
import os
import struct
import zlib

here = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    os.makedirs(os.path.join(here, target), exist_ok=True)
    with open(os.path.join(here, target, name), "wb") as f:
        f.write(data)


def counted(text):
    return struct.pack("<i", len(text)) + text


def index(app, folder, post, obsolete, files):
    out = b"\0\0\0\0" + app + b"\0" + b"\0" + folder + b"\0" + post + b"\0"
    out += struct.pack("<i", len(obsolete)) + b"".join(counted(n) for n in obsolete)
    out += struct.pack("<i", len(files))
    for name, flag in files:
        out += counted(name) + struct.pack("<i", flag)
    return out


write("fuzz_package_index", "sample",
      index(b"App.exe", b"Kestrel App", b"Post.exe", [b"old.dll"],
            [(b"App.exe", 1), (b"bin\\x.dll", 0), (b"%SystemRoot%\\sys.dll", 1)]))
write("fuzz_package_index", "western",
      index(b"Caf\xe9.exe", b"Kestrel\\Gr\xfc\xdfe", b"", [], [(b"docs\\\xdc" b"bung.txt", 1)]))
write("fuzz_package_index", "empty", index(b"", b"", b"", [], []))


def identity(version, publisher):
    body = b"PKIDENT1" + counted(version) + counted(publisher)
    return body + struct.pack("<i", len(body) + 4)


write("fuzz_package_index", "identity",
      index(b"App.exe", b"Kestrel App", b"", [], [(b"App.exe", 1)])
      + identity(b"1.2.3.4", b"Kestrel Software"))

signature = b"Kestrel\0\0\0\1\0\0\0\1"
items = [b"C:\\Kestrel\\App.exe", b"%REG_CURRENT_USER%Software\\Kestrel\\",
         b"C:\\Kestrel\\"]
write("fuzz_install_record", "sample",
      signature + counted(b"C:\\Kestrel") + counted(b"") + b"".join(counted(i) for i in items)
      + struct.pack("<i", -1))

text = b"Read me first.\r\n" * 8
write("fuzz_inflate", "text", struct.pack("<i", len(text)) + zlib.compress(text))
write("fuzz_inflate", "empty", struct.pack("<i", 0) + zlib.compress(b""))

# The first byte: bit 0 the folder-name rule, bit 1 Shift JIS lead bytes.
for name, data in [("entry", b"\0bin\\x.dll"), ("system", b"\0%SystemRoot%\\x.dll"),
                   ("climb", b"\0..\\..\\x.txt"), ("folder", b"\1Kestrel\\Notes 2.5"),
                   ("double-byte", b"\2\x95\x5c\\\x95\x5c.txt"), ("device", b"\0docs\\con.txt")]:
    write("fuzz_name_rule", name, data)

# Paths: the first byte is where the text splits into a path and a base.
for name, first, second in [
        ("slash-climb", b"C:\\Apps\\Demo\\x/../../../users/root/Documents/precious.txt",
         b"C:\\Apps\\Demo"),
        ("verbatim", b"\\\\?\\C:\\Apps\\Q", b"C:\\Apps"),
        ("dot-dot", b"C:\\Apps\\x\\..\\..\\Apps\\R", b"C:\\Apps"),
        ("trailing-dot", b"C:\\Apps\\S.", b"C:\\"),
        ("share", b"//srv/share/App/a", b"\\\\srv\\share"),
        ("device", b"C:\\Apps\\com1.txt", b"\\\\.\\C:")]:
    write("fuzz_canonical_path", name, bytes([len(first)]) + first + second)
