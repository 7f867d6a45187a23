#!/usr/bin/env python3
"""Writes the test archives beside this script, as players get them from fan sites and as
broken or hostile downloads come: python3 tests/game/zips/make_zips.py. The outputs are
committed; the script says how each was made. Scenario bytes are made up here: any bytes do."""
import io
import os
import shutil
import struct
import subprocess
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
DATE = (2024, 5, 1, 12, 0, 0)


def scenario(name, size=3000):
    """Made-up scenario bytes: compressible, and different for each name."""
    seed = sum(name.encode())
    return bytes((seed + i * 7 + (i // 97)) % 251 for i in range(size))


def info(name, method):
    entry = zipfile.ZipInfo(name, DATE)
    entry.compress_type = method
    return entry


def pack(path, entries, force_zip64=False):
    """entries: (name, bytes or None for a folder, method)."""
    with zipfile.ZipFile(path, "w") as archive:
        for name, data, method in entries:
            if data is None:
                archive.writestr(info(name, zipfile.ZIP_STORED), b"")
            else:
                with archive.open(info(name, method), "w", force_zip64=force_zip64) as out:
                    out.write(data)


class Unseekable(io.RawIOBase):
    """A pipe, as a download written while it arrives: zipfile then writes data descriptors."""

    def __init__(self, target):
        self.target = target

    def writable(self):
        return True

    def write(self, data):
        self.target.write(data)
        return len(data)


def patch_all(data, signature, offset, value, size=2):
    """Sets a field in every local and central header (signature) of the archive."""
    out = bytearray(data)
    at = out.find(signature)
    while at >= 0:
        out[at + offset:at + offset + size] = value.to_bytes(size, "little")
        at = out.find(signature, at + 4)
    return bytes(out)


LOCAL = b"PK\x03\x04"
CENTRAL = b"PK\x01\x02"


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(data)


def main():
    deflated, stored = zipfile.ZIP_DEFLATED, zipfile.ZIP_STORED
    # A pack as fan sites offer it: a folder inside, a read-me, scenarios stored and deflated.
    players = os.path.join(HERE, "players.zip")
    pack(players, [
        ("Oasis Pack/", None, stored),
        ("Oasis Pack/readme.txt", b"Two maps for the menu.\r\n", deflated),
        ("Oasis Pack/Oasis.scn", scenario("Oasis"), deflated),
        ("Oasis Pack/maps/Dune.SCN", scenario("Dune", 1200), stored),
        ("Oasis Pack/preview.jpg", b"\xff\xd8\xff not a real picture", stored),
    ])
    # ZIP64 throughout: extra fields in every header and the ZIP64 end records, as tools write
    # them for archives over 4 GiB (forced here for a small one).
    limit = zipfile.ZIP64_LIMIT
    zipfile.ZIP64_LIMIT = 0
    pack(os.path.join(HERE, "zip64.zip"), [
        ("big/Glacier.scn", scenario("Glacier"), deflated),
        ("Steppe.scn", scenario("Steppe", 500), stored),
    ], force_zip64=True)
    zipfile.ZIP64_LIMIT = limit
    # Written as a stream: sizes and CRC-32 only in data descriptors after the data.
    stream = io.BytesIO()
    with zipfile.ZipFile(Unseekable(stream), "w") as archive:
        for name, method in (("Marsh.scn", deflated), ("extra/Fen.scn", stored)):
            with archive.open(info(name, method), "w") as out:
                out.write(scenario(os.path.splitext(os.path.basename(name))[0]))
    write("descriptors.zip", stream.getvalue())
    # Info-ZIP's zip, as Linux players pack a folder (extra time and owner fields).
    if shutil.which("zip"):
        with tempfile.TemporaryDirectory() as work:
            os.makedirs(os.path.join(work, "Canyon maps"))
            with open(os.path.join(work, "Canyon maps", "Canyon.scn"), "wb") as out:
                out.write(scenario("Canyon"))
            target = os.path.join(HERE, "infozip.zip")
            if os.path.exists(target):
                os.remove(target)
            subprocess.run(["zip", "-q", "-r", "-X", target, "Canyon maps"], cwd=work,
                           check=True)

    good = open(players, "rb").read()
    write("cut.zip", good[:len(good) * 2 // 3])
    write("not-a-zip.zip", b"<html>404 Not Found</html>\r\n")
    # The second scenario's CRC-32 off by one, in its local and central header alike: the first
    # is whole, and must not go in either.
    bad = bytearray(good)
    for signature, at in ((LOCAL, 14), (CENTRAL, 16)):
        pos = bad.find(signature + b"", 0)
        while pos >= 0:
            name_at = pos + (30 if signature == LOCAL else 46)
            if bad[name_at:name_at + 24] == b"Oasis Pack/maps/Dune.SCN":
                crc = struct.unpack_from("<I", bad, pos + at)[0]
                struct.pack_into("<I", bad, pos + at, crc ^ 1)
            pos = bad.find(signature, pos + 4)
    write("bad-crc.zip", bytes(bad))
    write("encrypted.zip", patch_all(patch_all(good, LOCAL, 6, 1), CENTRAL, 8, 1))
    write("bzip2.zip", patch_all(patch_all(good, LOCAL, 8, 12), CENTRAL, 10, 12))
    write("lzma.zip", patch_all(patch_all(good, LOCAL, 8, 14), CENTRAL, 10, 14))
    # Names that climb out of the folder they are unpacked into.
    pack(os.path.join(HERE, "climbing.zip"), [
        ("../../Escape.scn", scenario("Escape"), deflated),
        ("..\\Back.scn", scenario("Back"), stored),
        ("C:\\Windows\\Drive.scn", scenario("Drive"), stored),
        ("/root/Rooted.scn", scenario("Rooted"), deflated),
    ])


if __name__ == "__main__":
    main()
