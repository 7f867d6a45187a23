#!/usr/bin/env python3
"""Writes the seed inputs of the fuzzers that no tool makes as they are wanted:
python3 fuzz/make_corpus.py. The outputs in fuzz/corpus/<fuzzer> are committed beside the
hand-made ones; scripts/fuzz.sh also seeds the zip fuzzer with the test archives of
tests/game/zips (ZIP64, data descriptors, folders, Info-ZIP's extra fields).

Zip: the hostile shapes of downloads, written header by header, since no zip tool makes them.
user.cfg: the encodings and line ends that editors leave."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DOS_TIME, DOS_DATE = 0x6000, 0x58A1  # 12:00, 1 May 2024


def local(name, data, method=0, usize=None, crc=None):
    """A local header followed by the data (already compressed when method is 8)."""
    return struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, method, DOS_TIME, DOS_DATE,
                       crc or 0, len(data), usize if usize is not None else len(data),
                       len(name), 0) + name + data


def central(name, offset, csize, usize, crc, method=0):
    return struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, method, DOS_TIME,
                       DOS_DATE, crc, csize, usize, len(name), 0, 0, 0, 0, 0, offset) + name


def archive(body, entries):
    """body: the bytes before the directory; entries: central records."""
    directory = b"".join(entries)
    return body + directory + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries),
                                          len(entries), len(directory), len(body), 0)


def deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15)
    return packer.compress(data) + packer.flush()


def scenario(name, size=300):
    seed = sum(name)
    return bytes((seed + i * 7 + (i // 97)) % 251 for i in range(size))


def zips():
    shapes = {}
    # Twelve names, one deflate stream of zeros: written twelve times over if nobody notices.
    zeros = bytes(64 * 1024)
    packed = deflate(zeros)
    crc = zlib.crc32(zeros)
    body = local(b"Zero0.scn", packed, 8, len(zeros), crc)
    shapes["shared-stream.zip"] = archive(body, [
        central(b"Zero%d.scn" % n, 0, len(packed), len(zeros), crc, 8) for n in range(12)])
    # The second entry's header and data lie inside the first entry's data.
    inner = local(b"Inner.scn", scenario(b"Inner"), 0, crc=zlib.crc32(scenario(b"Inner")))
    outer_data = inner + scenario(b"Outer", 100)
    body = local(b"Outer.scn", outer_data, 0, crc=zlib.crc32(outer_data))
    shapes["overlapping.zip"] = archive(body, [
        central(b"Outer.scn", 0, len(outer_data), len(outer_data), zlib.crc32(outer_data)),
        central(b"Inner.scn", 30 + 9, len(scenario(b"Inner")), len(scenario(b"Inner")),
                zlib.crc32(scenario(b"Inner")))])
    # The local header says other sizes, another method and another name than the directory.
    data = scenario(b"Told")
    body = local(b"Other.scn", deflate(data), 8, len(data) * 4, zlib.crc32(data))
    shapes["local-disagrees.zip"] = archive(body, [
        central(b"Told.scn", 0, len(data), len(data), zlib.crc32(data), 0)])
    # Data said to start past the end, and data running into the directory and beyond.
    data = scenario(b"Far")
    body = local(b"Far.scn", data, 0, crc=zlib.crc32(data))
    shapes["outside.zip"] = archive(body, [
        central(b"Far.scn", 1 << 30, len(data), len(data), zlib.crc32(data)),
        central(b"Long.scn", 0, len(data) + 5000, len(data) + 5000, zlib.crc32(data))])
    # More scenarios than one drop brings in, each empty.
    body, entries = b"", []
    for n in range(1001):
        name = b"%04d.scn" % n
        entries.append(central(name, len(body), 0, 0, 0))
        body += local(name, b"")
    shapes["many-entries.zip"] = archive(body, entries)
    return shapes


def user_cfgs():
    text = ("+showFPS\r\nattractMode-scenario-0 ~AoM_pgs_Water\r\n"
            "-attractMode-scenario-1\r\nattractMode-scenario-2 Harbour At Dusk\r\n")
    return {
        "utf-16-le.cfg": b"\xff\xfe" + text.encode("utf-16-le"),
        "utf-16-be.cfg": b"\xfe\xff" + text.encode("utf-16-be"),
        "utf-16-no-mark.cfg": text.encode("utf-16-le"),
        "byte-order-mark-lf.cfg": b"\xef\xbb\xbf" + text.replace("\r\n", "\n").encode(),
        "lone-cr.cfg": text.replace("\r\n", "\r").encode(),
        # Shift-JIS names whose second byte is that of a backslash, and a name with a tab.
        "code-page-932.cfg": b"attractMode-scenario-3 \x95\x5c\x8e\xa6\r\n"
                             b"attractMode-scenario-4 a\tb\r\n",
        "every-slot-twice.cfg": "".join(
            "attractMode-scenario-%d Map%d\r\n-attractMode-scenario-%d\r\n" % (n, n, n)
            for n in range(10)).encode(),
        "no-final-line-end.cfg": text.rstrip("\r\n").encode(),
    }


def main():
    for folder, files in (("zip", zips()), ("user_cfg", user_cfgs())):
        for name, data in files.items():
            with open(os.path.join(HERE, "corpus", folder, name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
