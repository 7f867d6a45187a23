#!/usr/bin/env python3
"""Writes the test archives beside this script, as players get them from fan sites and as
broken or hostile downloads come: python3 tests/game/zips/make_zips.py. The outputs are
committed; the script says how each was made. Scenario bytes are made up here: any bytes do."""
import io
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

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


def local_header(name, data, method, crc, size, flags=0):
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0, crc, len(data),
                       size, len(name), 0) + name


def central_header(name, data, method, crc, size, offset):
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, method, 0, 0, crc,
                       len(data), size, len(name), 0, 0, 0, 0, 0, offset) + name


def end_record(count, directory, offset):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, len(directory), offset, 0)


def raw_zip(locals_, centrals):
    """An archive of these local parts (header and data) and central headers, as given."""
    body = b"".join(locals_)
    directory = b"".join(centrals)
    return body + directory + end_record(len(centrals), directory, len(body))


def deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return packer.compress(data) + packer.flush()


def hostile():
    """Archives made to unpack to far more than they hold, or that lie about their entries."""
    # Twelve names in the directory, all pointing at one deflated stream of zeros (the attack
    # takes 200 MiB; 1 MiB shows the shape).
    zeros = bytes(1 << 20)
    data = deflate(zeros)
    crc = zlib.crc32(zeros)
    first = b"Zero 1.scn"
    write("shared-stream.zip", raw_zip(
        [local_header(first, data, 8, crc, len(zeros)) + data],
        [central_header(b"Zero %d.scn" % n, data, 8, crc, len(zeros), 0)
         for n in range(1, 13)]))
    # Two entries whose stretches overlap: the first's stored data holds the second's header
    # and data, so that its bytes are counted twice.
    inner_bytes = scenario("Inner")
    inner = local_header(b"Inner.scn", inner_bytes, 0, zlib.crc32(inner_bytes),
                         len(inner_bytes)) + inner_bytes
    outer_name = b"Outer.scn"
    outer_at = 0
    inner_at = 30 + len(outer_name)
    outer = local_header(outer_name, inner, 0, zlib.crc32(inner), len(inner))
    write("overlapping.zip", raw_zip(
        [outer + inner],
        [central_header(outer_name, inner, 0, zlib.crc32(inner), len(inner), outer_at),
         central_header(b"Inner.scn", inner_bytes, 0, zlib.crc32(inner_bytes),
                        len(inner_bytes), inner_at)]))
    # The local header names the entry otherwise than the directory does.
    good = scenario("Named")
    write("local-header-mismatch.zip", raw_zip(
        [local_header(b"Other.scn", good, 0, zlib.crc32(good), len(good)) + good],
        [central_header(b"Named.scn", good, 0, zlib.crc32(good), len(good), 0)]))
    # The entry's data said to run on past the directory and the archive's end.
    far = scenario("Far")
    part = local_header(b"Far.scn", far, 0, zlib.crc32(far), len(far)) + far
    body = part[:22] + struct.pack("<II", len(far) + 500, len(far) + 500) + part[30:]
    directory = central_header(b"Far.scn", far, 0, zlib.crc32(far), len(far), 0)
    directory = directory[:20] + struct.pack("<II", len(far) + 500, len(far) + 500) + directory[28:]
    write("outside-archive.zip", body + directory + end_record(1, directory, len(body)))


def large(folder):
    """Archives too large to keep in git, made by the build: 3,000 scenarios, and 300 whose
    names user.cfg cannot hold (a control character in each)."""
    os.makedirs(folder, exist_ok=True)
    for name, names in (("many-scenarios.zip", ["S%04d.scn" % n for n in range(3000)]),
                        ("bad-names.zip", ["Bad\x01%03d.scn" % n for n in range(300)])):
        with zipfile.ZipFile(os.path.join(folder, name + ".part"), "w") as archive:
            for entry in names:
                archive.writestr(info(entry, zipfile.ZIP_STORED), entry.encode())
        os.replace(os.path.join(folder, name + ".part"), os.path.join(folder, name))


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
    if sys.argv[1:2] == ["--large"]:
        large(sys.argv[2])
    else:
        main()
        hostile()
