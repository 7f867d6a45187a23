#pragma once
// Reading the files of a zip archive, as scenarios are downloaded from fan sites: the archive's
// central directory (its table of entries at the end, ZIP64 included), checked against each
// entry's local header, then one entry at a time, stored or deflated, with its CRC-32 checked.
// The archive is held whole in memory. Pure: builds natively too.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ZipEntry {
  std::string name;       // as stored: bytes, folders separated by "/" (some tools write "\")
  bool utf8Name = false;  // the name is UTF-8 (flag bit 11); else the DOS (OEM) code page's
  uint16_t flags = 0;
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint32_t crc32 = 0;
  uint64_t compressedSize = 0;
  uint64_t size = 0;  // once inflated
  uint64_t localHeaderOffset = 0;
  uint64_t dataOffset = 0;  // behind the local header
};

enum class ZipProblem {
  None,
  Damaged,        // not a zip, cut off, or a directory or header that does not hold together
  Encrypted,      // the entry is encrypted
  UnknownMethod,  // compressed otherwise than stored or deflated
  CrcMismatch,    // the bytes are not those the archive says it holds
  TooLarge,       // larger than the limit once inflated
};

// The entries of the archive, in directory order. An archive is Damaged, and `entries` left
// empty, when an entry's local header disagrees with the directory (name, method, and sizes and
// CRC-32 where they are not left to a data descriptor), or when an entry's header and data lie
// outside the archive or overlap another's: one stream of data under many names is a way to make
// a small archive unpack to far more than it holds.
ZipProblem ReadZipDirectory(std::string_view archive, std::vector<ZipEntry>& entries);

// Whether the entry can be extracted at all (encryption, method), without reading it.
ZipProblem EntryProblem(const ZipEntry& entry);

// The entry's bytes, inflated, into `out`. Stops as soon as more than `limit` bytes came out
// (TooLarge), whatever the directory claims; checks the size and the CRC-32 at the end.
ZipProblem ExtractZipEntry(std::string_view archive, const ZipEntry& entry, uint64_t limit,
                           std::string& out);
