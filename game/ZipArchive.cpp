#include "game/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <utility>

#include "platform/FileSystem.h"

namespace {

// The records of the format: the signature each starts with, and the size of its fixed part.
struct Record {
  uint32_t signature;
  size_t size;
};
constexpr Record kEndOfDirectory{0x06054b50, 22};
constexpr Record kZip64EndOfDirectory{0x06064b50, 56};
constexpr Record kZip64Locator{0x07064b50, 20};
constexpr Record kDirectoryHeader{0x02014b50, 46};
constexpr Record kLocalHeader{0x04034b50, 30};
constexpr size_t kMaxCommentSize = 0xFFFF;
constexpr uint16_t kZip64ExtraField = 0x0001;
constexpr uint32_t kZip64Marker = 0xFFFFFFFF;

constexpr uint16_t kFlagEncrypted = 1u << 0;
constexpr uint16_t kFlagDataDescriptor = 1u << 3;
constexpr uint16_t kFlagStrongEncryption = 1u << 6;
constexpr uint16_t kFlagUtf8Name = 1u << 11;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kMethodAesEncrypted = 99;

// Little-endian fields of a record.
uint16_t U16(std::string_view bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
}
uint32_t U32(std::string_view bytes, size_t at) {
  return U16(bytes, at) | static_cast<uint32_t>(U16(bytes, at + 2)) << 16;
}
uint64_t U64(std::string_view bytes, size_t at) {
  return U32(bytes, at) | static_cast<uint64_t>(U32(bytes, at + 4)) << 32;
}

// Whether the bytes [at, at + count) lie within `bytes`.
bool Has(std::string_view bytes, uint64_t at, uint64_t count) {
  return at <= bytes.size() && count <= bytes.size() - at;
}

// Where the central directory lies and how many entries it holds.
struct Directory {
  uint64_t entries = 0;
  uint64_t size = 0;
  uint64_t offset = 0;
};

// The bytes [offset, offset + size) of the archive; false when they lie beyond its end.
bool Slice(std::string_view archive, uint64_t offset, uint64_t size, std::string_view& into) {
  if (!Has(archive, offset, size)) return false;
  into = archive.substr(offset, size);
  return true;
}

// The ZIP64 end record that the locator before the end record points to, when there is one.
bool ReadZip64End(std::string_view archive, uint64_t endAt, Directory& found) {
  // Without a locator before it, the plain end record holds.
  if (endAt < kZip64Locator.size) return true;
  const std::string_view locator = archive.substr(endAt - kZip64Locator.size, kZip64Locator.size);
  if (U32(locator, 0) != kZip64Locator.signature) return true;
  if (U32(locator, 4) != 0 || U32(locator, 16) > 1) return false;  // spread over several disks
  std::string_view end;
  if (!Slice(archive, U64(locator, 8), kZip64EndOfDirectory.size, end)) return false;
  if (U32(end, 0) != kZip64EndOfDirectory.signature || U32(end, 16) != 0 || U32(end, 20) != 0)
    return false;
  if (U64(end, 24) != U64(end, 32)) return false;
  found = {U64(end, 32), U64(end, 40), U64(end, 48)};
  return true;
}

// Finds the end record (behind it only its comment) and from it the central directory.
bool FindDirectory(std::string_view archive, Directory& found) {
  if (archive.size() < kEndOfDirectory.size) return false;
  const uint64_t tail = std::min<uint64_t>(archive.size(), kEndOfDirectory.size + kMaxCommentSize);
  const std::string_view fields = archive.substr(archive.size() - tail);
  for (size_t at = fields.size() - kEndOfDirectory.size + 1; at-- > 0;) {
    if (U32(fields, at) != kEndOfDirectory.signature) continue;
    if (at + kEndOfDirectory.size + U16(fields, at + 20) != fields.size()) continue;  // not the end
    if (U16(fields, at + 4) != 0 || U16(fields, at + 6) != 0) return false;  // several disks
    if (U16(fields, at + 8) != U16(fields, at + 10)) return false;
    found = {U16(fields, at + 10), U32(fields, at + 12), U32(fields, at + 16)};
    return ReadZip64End(archive, archive.size() - tail + at, found);
  }
  return false;
}

// The 64-bit values that stand in the ZIP64 extra field for those of the header that read
// 0xFFFFFFFF, in the format's order.
bool ApplyZip64Extra(std::string_view extra, ZipEntry& entry, bool compressedFull, bool sizeFull,
                     bool offsetFull) {
  for (size_t at = 0; Has(extra, at, 4); at += 4 + U16(extra, at + 2)) {
    const size_t length = U16(extra, at + 2);
    if (!Has(extra, at + 4, length)) return false;
    if (U16(extra, at) != kZip64ExtraField) continue;
    size_t field = at + 4;
    const auto take = [&](bool wanted, uint64_t& value) {
      if (!wanted) return true;
      if (field + 8 > at + 4 + length) return false;
      value = U64(extra, field);
      field += 8;
      return true;
    };
    return take(sizeFull, entry.size) && take(compressedFull, entry.compressedSize) &&
           take(offsetFull, entry.localHeaderOffset);
  }
  return !compressedFull && !sizeFull && !offsetFull;
}

bool ReadEntries(std::string_view fields, uint64_t count, std::vector<ZipEntry>& entries) {
  size_t at = 0;
  for (uint64_t n = 0; n < count; ++n) {
    if (!Has(fields, at, kDirectoryHeader.size) || U32(fields, at) != kDirectoryHeader.signature)
      return false;
    const size_t nameSize = U16(fields, at + 28);
    const size_t extraSize = U16(fields, at + 30);
    const size_t commentSize = U16(fields, at + 32);
    const size_t nameAt = at + kDirectoryHeader.size;
    if (!Has(fields, nameAt, nameSize + extraSize + commentSize)) return false;
    ZipEntry entry;
    entry.flags = U16(fields, at + 8);
    entry.utf8Name = (entry.flags & kFlagUtf8Name) != 0;
    entry.method = U16(fields, at + 10);
    entry.crc32 = U32(fields, at + 16);
    entry.compressedSize = U32(fields, at + 20);
    entry.size = U32(fields, at + 24);
    entry.localHeaderOffset = U32(fields, at + 42);
    entry.name = fields.substr(nameAt, nameSize);
    const std::string_view extra = fields.substr(nameAt + nameSize, extraSize);
    if (!ApplyZip64Extra(extra, entry, entry.compressedSize == kZip64Marker,
                         entry.size == kZip64Marker, entry.localHeaderOffset == kZip64Marker))
      return false;
    if (U16(fields, at + 34) != 0 && U16(fields, at + 34) != 0xFFFF) return false;  // another disk
    entries.push_back(std::move(entry));
    at = nameAt + nameSize + extraSize + commentSize;
  }
  return true;
}

// A local field that says the same as the directory's: a size of 0xFFFFFFFF stands for the
// ZIP64 extra field's, and a data descriptor leaves CRC-32 and sizes to the bytes after the data
// (where writers put 0 or the real values in the header).
bool Agrees(uint32_t local, uint64_t central, bool deferred, bool zip64) {
  if (zip64 && local == kZip64Marker) return true;
  return local == central || (deferred && local == 0);
}

// Reads the entry's local header: it must name the entry as the directory does, and its data
// must lie within the archive before the directory. Sets the entry's data offset.
bool CheckLocalHeader(std::string_view archive, uint64_t directoryAt, ZipEntry& entry) {
  std::string_view local;
  if (!Slice(archive, entry.localHeaderOffset, kLocalHeader.size, local) ||
      U32(local, 0) != kLocalHeader.signature)
    return false;
  const size_t nameSize = U16(local, 26);
  std::string_view name;
  if (!Slice(archive, entry.localHeaderOffset + kLocalHeader.size, nameSize, name) ||
      name != entry.name || U16(local, 8) != entry.method)
    return false;
  const bool deferred = (U16(local, 6) & kFlagDataDescriptor) != 0;
  if (!Agrees(U32(local, 14), entry.crc32, deferred, false) ||
      !Agrees(U32(local, 18), entry.compressedSize, deferred, true) ||
      !Agrees(U32(local, 22), entry.size, deferred, true))
    return false;
  entry.dataOffset = entry.localHeaderOffset + kLocalHeader.size + nameSize + U16(local, 28);
  return entry.dataOffset <= directoryAt && entry.compressedSize <= directoryAt - entry.dataOffset;
}

// Each entry's header and data take a stretch of the archive of their own.
bool StretchesApart(const std::vector<ZipEntry>& entries) {
  std::vector<std::pair<uint64_t, uint64_t>> stretches;
  for (const ZipEntry& entry : entries)
    stretches.emplace_back(entry.localHeaderOffset, entry.dataOffset + entry.compressedSize);
  std::sort(stretches.begin(), stretches.end());
  return std::adjacent_find(stretches.begin(), stretches.end(), [](const auto& a, const auto& b) {
           return b.first < a.second;
         }) == stretches.end();
}

// Raw deflate (no zlib header), as zip stores it, appended to `out`; TooLarge as soon as more
// than `limit` bytes came out.
ZipProblem Inflate(std::string_view data, uint64_t limit, std::string& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return ZipProblem::Damaged;
  std::vector<unsigned char> inflated(kPieceSize);
  size_t taken = 0;
  ZipProblem problem = ZipProblem::None;
  for (;;) {
    if (stream.avail_in == 0 && taken < data.size()) {
      const size_t piece = std::min(data.size() - taken, kPieceSize);
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data())) + taken;
      stream.avail_in = static_cast<uInt>(piece);
      taken += piece;
    }
    stream.next_out = inflated.data();
    stream.avail_out = static_cast<uInt>(inflated.size());
    // No progress without more input (Z_BUF_ERROR) means the stream was cut off.
    const int status = inflate(&stream, Z_NO_FLUSH);
    if (status != Z_OK && status != Z_STREAM_END) {
      problem = ZipProblem::Damaged;
      break;
    }
    const size_t got = inflated.size() - stream.avail_out;
    if (got > limit - out.size()) {
      problem = ZipProblem::TooLarge;
      break;
    }
    out.append(reinterpret_cast<const char*>(inflated.data()), got);
    if (status == Z_STREAM_END) break;
  }
  inflateEnd(&stream);
  return problem;
}

}  // namespace

ZipProblem ReadZipDirectory(std::string_view archive, std::vector<ZipEntry>& entries) {
  entries.clear();
  Directory directory;
  std::string_view bytes;
  // Each entry takes at least its fixed header: a count beyond that is a lie.
  if (!FindDirectory(archive, directory) ||
      !Slice(archive, directory.offset, directory.size, bytes) ||
      directory.entries > directory.size / kDirectoryHeader.size ||
      !ReadEntries(bytes, directory.entries, entries) ||
      !std::all_of(
          entries.begin(), entries.end(),
          [&](ZipEntry& entry) { return CheckLocalHeader(archive, directory.offset, entry); }) ||
      !StretchesApart(entries)) {
    entries.clear();
    return ZipProblem::Damaged;
  }
  return ZipProblem::None;
}

ZipProblem EntryProblem(const ZipEntry& entry) {
  if ((entry.flags & (kFlagEncrypted | kFlagStrongEncryption)) != 0 ||
      entry.method == kMethodAesEncrypted)
    return ZipProblem::Encrypted;
  if (entry.method != kMethodStored && entry.method != kMethodDeflated)
    return ZipProblem::UnknownMethod;
  return ZipProblem::None;
}

ZipProblem ExtractZipEntry(std::string_view archive, const ZipEntry& entry, uint64_t limit,
                           std::string& out) {
  if (const ZipProblem problem = EntryProblem(entry); problem != ZipProblem::None) return problem;
  if (entry.size > limit) return ZipProblem::TooLarge;
  std::string_view data;
  if (!Slice(archive, entry.dataOffset, entry.compressedSize, data)) return ZipProblem::Damaged;
  // What comes out is limited, counted and checksummed.
  out.clear();
  if (entry.method == kMethodStored) {
    if (data.size() > limit) return ZipProblem::TooLarge;
    out = data;
  } else if (const ZipProblem problem = Inflate(data, limit, out); problem != ZipProblem::None) {
    return problem;
  }
  if (out.size() != entry.size) return ZipProblem::Damaged;
  const uLong crc = crc32_z(0, reinterpret_cast<const Bytef*>(out.data()), out.size());
  return crc == entry.crc32 ? ZipProblem::None : ZipProblem::CrcMismatch;
}
