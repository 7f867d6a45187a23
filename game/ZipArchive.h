#pragma once
// Reading the files of a zip archive, as scenarios are downloaded from fan sites: the archive's
// central directory (its table of entries at the end, ZIP64 included), then one entry at a time,
// stored or deflated, streamed out in pieces with its CRC-32 checked. Nothing is held whole in
// memory: the archive is read through a function that reads at an offset, and an entry's bytes
// go to a function that takes them in pieces. Pure: builds natively too.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Reads `size` bytes at `offset` of the archive into `into`; false when they cannot all be read.
using ZipReader = std::function<bool(uint64_t offset, void* into, size_t size)>;
// Takes the next piece of an entry's bytes; false stops the extraction (ZipProblem::WriteFailed).
using ZipSink = std::function<bool(const char* bytes, size_t size)>;

struct ZipEntry {
  std::string name;       // as stored: bytes, folders separated by "/" (some tools write "\")
  bool utf8Name = false;  // the name is UTF-8 (flag bit 11); else the DOS (OEM) code page's
  uint16_t flags = 0;
  uint16_t method = 0;  // 0 stored, 8 deflated
  uint32_t crc32 = 0;
  uint64_t compressedSize = 0;
  uint64_t size = 0;  // once inflated
  uint64_t localHeaderOffset = 0;

  bool IsFolder() const { return !name.empty() && (name.back() == '/' || name.back() == '\\'); }
};

enum class ZipProblem {
  None,
  Damaged,        // not a zip, cut off, or a directory or header that does not hold together
  Encrypted,      // the entry is encrypted
  UnknownMethod,  // compressed otherwise than stored or deflated
  CrcMismatch,    // the bytes are not those the archive says it holds
  TooLarge,       // larger than the limit once inflated
  WriteFailed,    // the sink refused a piece
};

// The entries of the archive of `archiveSize` bytes, in directory order. Anything but None leaves
// `entries` empty.
ZipProblem ReadZipDirectory(const ZipReader& read, uint64_t archiveSize,
                            std::vector<ZipEntry>& entries);

// Whether the entry can be extracted at all (encryption, method), without reading it.
ZipProblem EntryProblem(const ZipEntry& entry);

// Streams the entry's bytes, inflated, to `sink`. Stops as soon as more than `limit` bytes came
// out (TooLarge), whatever the directory claims; checks the size and the CRC-32 at the end.
ZipProblem ExtractZipEntry(const ZipReader& read, uint64_t archiveSize, const ZipEntry& entry,
                           uint64_t limit, const ZipSink& sink);
