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
class Fields {
 public:
  Fields() = default;
  Fields(const unsigned char* bytes, size_t size) : m_bytes(bytes), m_size(size) {}
  size_t Size() const { return m_size; }
  const unsigned char* Bytes() const { return m_bytes; }
  bool Has(size_t at, size_t count) const { return at <= m_size && count <= m_size - at; }
  uint16_t U16(size_t at) const {
    return static_cast<uint16_t>(m_bytes[at] | m_bytes[at + 1] << 8);
  }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  uint64_t U64(size_t at) const { return U32(at) | static_cast<uint64_t>(U32(at + 4)) << 32; }
  std::string_view Text(size_t at, size_t count) const {
    return {reinterpret_cast<const char*>(m_bytes) + at, count};
  }

 private:
  const unsigned char* m_bytes = nullptr;
  size_t m_size = 0;
};

// Where the central directory lies and how many entries it holds.
struct Directory {
  uint64_t entries = 0;
  uint64_t size = 0;
  uint64_t offset = 0;
};

// The bytes [offset, offset + size) of the archive; false when they lie beyond its end.
bool Slice(std::string_view archive, uint64_t offset, uint64_t size, Fields& into) {
  if (offset > archive.size() || size > archive.size() - offset) return false;
  into = Fields(reinterpret_cast<const unsigned char*>(archive.data()) + offset,
                static_cast<size_t>(size));
  return true;
}

// The ZIP64 end record that the locator before the end record points to, when there is one.
bool ReadZip64End(std::string_view archive, uint64_t endAt, Directory& found) {
  Fields locator;
  if (endAt < kZip64Locator.size ||
      !Slice(archive, endAt - kZip64Locator.size, kZip64Locator.size, locator) ||
      locator.U32(0) != kZip64Locator.signature) {
    return true;  // none: the plain end record holds
  }
  if (locator.U32(4) != 0 || locator.U32(16) > 1) return false;  // spread over several disks
  Fields end;
  if (!Slice(archive, locator.U64(8), kZip64EndOfDirectory.size, end)) return false;
  if (end.U32(0) != kZip64EndOfDirectory.signature || end.U32(16) != 0 || end.U32(20) != 0)
    return false;
  if (end.U64(24) != end.U64(32)) return false;
  found = {end.U64(32), end.U64(40), end.U64(48)};
  return true;
}

// Finds the end record (behind it only its comment) and from it the central directory.
bool FindDirectory(std::string_view archive, Directory& found) {
  if (archive.size() < kEndOfDirectory.size) return false;
  const uint64_t tail = std::min<uint64_t>(archive.size(), kEndOfDirectory.size + kMaxCommentSize);
  Fields fields;
  Slice(archive, archive.size() - tail, tail, fields);
  for (size_t at = fields.Size() - kEndOfDirectory.size + 1; at-- > 0;) {
    if (fields.U32(at) != kEndOfDirectory.signature) continue;
    if (at + kEndOfDirectory.size + fields.U16(at + 20) != fields.Size()) continue;  // not the end
    if (fields.U16(at + 4) != 0 || fields.U16(at + 6) != 0) return false;  // several disks
    if (fields.U16(at + 8) != fields.U16(at + 10)) return false;
    found = {fields.U16(at + 10), fields.U32(at + 12), fields.U32(at + 16)};
    return ReadZip64End(archive, archive.size() - tail + at, found);
  }
  return false;
}

// The 64-bit values that stand in the ZIP64 extra field for those of the header that read
// 0xFFFFFFFF, in the format's order.
bool ApplyZip64Extra(const Fields& extra, ZipEntry& entry, bool compressedFull, bool sizeFull,
                     bool offsetFull) {
  for (size_t at = 0; extra.Has(at, 4); at += 4 + extra.U16(at + 2)) {
    const size_t length = extra.U16(at + 2);
    if (!extra.Has(at + 4, length)) return false;
    if (extra.U16(at) != kZip64ExtraField) continue;
    size_t field = at + 4;
    const auto take = [&](bool wanted, uint64_t& value) {
      if (!wanted) return true;
      if (field + 8 > at + 4 + length) return false;
      value = extra.U64(field);
      field += 8;
      return true;
    };
    return take(sizeFull, entry.size) && take(compressedFull, entry.compressedSize) &&
           take(offsetFull, entry.localHeaderOffset);
  }
  return !compressedFull && !sizeFull && !offsetFull;
}

bool ReadEntries(const Fields& fields, uint64_t count, std::vector<ZipEntry>& entries) {
  size_t at = 0;
  for (uint64_t n = 0; n < count; ++n) {
    if (!fields.Has(at, kDirectoryHeader.size) || fields.U32(at) != kDirectoryHeader.signature)
      return false;
    const size_t nameSize = fields.U16(at + 28);
    const size_t extraSize = fields.U16(at + 30);
    const size_t commentSize = fields.U16(at + 32);
    const size_t nameAt = at + kDirectoryHeader.size;
    if (!fields.Has(nameAt, nameSize + extraSize + commentSize)) return false;
    ZipEntry entry;
    entry.flags = fields.U16(at + 8);
    entry.utf8Name = (entry.flags & kFlagUtf8Name) != 0;
    entry.method = fields.U16(at + 10);
    entry.crc32 = fields.U32(at + 16);
    entry.compressedSize = fields.U32(at + 20);
    entry.size = fields.U32(at + 24);
    entry.localHeaderOffset = fields.U32(at + 42);
    entry.name = fields.Text(nameAt, nameSize);
    const Fields extra(fields.Bytes() + nameAt + nameSize, extraSize);
    if (!ApplyZip64Extra(extra, entry, entry.compressedSize == kZip64Marker,
                         entry.size == kZip64Marker, entry.localHeaderOffset == kZip64Marker))
      return false;
    if (fields.U16(at + 34) != 0 && fields.U16(at + 34) != 0xFFFF) return false;  // another disk
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
  Fields local;
  if (!Slice(archive, entry.localHeaderOffset, kLocalHeader.size, local) ||
      local.U32(0) != kLocalHeader.signature)
    return false;
  const size_t nameSize = local.U16(26);
  Fields name;
  if (!Slice(archive, entry.localHeaderOffset + kLocalHeader.size, nameSize, name) ||
      name.Text(0, nameSize) != entry.name || local.U16(8) != entry.method)
    return false;
  const bool deferred = (local.U16(6) & kFlagDataDescriptor) != 0;
  if (!Agrees(local.U32(14), entry.crc32, deferred, false) ||
      !Agrees(local.U32(18), entry.compressedSize, deferred, true) ||
      !Agrees(local.U32(22), entry.size, deferred, true))
    return false;
  entry.dataOffset = entry.localHeaderOffset + kLocalHeader.size + nameSize + local.U16(28);
  return entry.dataOffset <= directoryAt && entry.compressedSize <= directoryAt - entry.dataOffset;
}

// Each entry's header and data take a stretch of the archive of their own.
bool StretchesApart(const std::vector<ZipEntry>& entries) {
  std::vector<std::pair<uint64_t, uint64_t>> stretches;
  for (const ZipEntry& entry : entries)
    stretches.emplace_back(entry.localHeaderOffset, entry.dataOffset + entry.compressedSize);
  std::sort(stretches.begin(), stretches.end());
  for (size_t n = 1; n < stretches.size(); ++n) {
    if (stretches[n].first < stretches[n - 1].second) return false;
  }
  return true;
}

// Counts, checksums and limits what comes out.
class CheckedOutput {
 public:
  CheckedOutput(std::string& out, uint64_t limit) : m_out(out), m_limit(limit) { m_out.clear(); }
  ZipProblem Put(const unsigned char* bytes, size_t size) {
    if (size > m_limit - std::min<uint64_t>(m_limit, m_out.size())) return ZipProblem::TooLarge;
    m_crc = crc32_z(m_crc, bytes, size);
    m_out.append(reinterpret_cast<const char*>(bytes), size);
    return ZipProblem::None;
  }
  ZipProblem Verdict(const ZipEntry& entry) const {
    if (m_out.size() != entry.size) return ZipProblem::Damaged;
    return m_crc == entry.crc32 ? ZipProblem::None : ZipProblem::CrcMismatch;
  }

 private:
  std::string& m_out;
  uint64_t m_limit;
  uLong m_crc = crc32_z(0, nullptr, 0);
};

// Raw deflate (no zlib header), as zip stores it.
ZipProblem Inflate(const Fields& data, CheckedOutput& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return ZipProblem::Damaged;
  std::vector<unsigned char> inflated(kPieceSize);
  size_t taken = 0;
  ZipProblem problem = ZipProblem::None;
  for (;;) {
    if (stream.avail_in == 0 && taken < data.Size()) {
      const size_t piece = std::min(data.Size() - taken, kPieceSize);
      stream.next_in = const_cast<unsigned char*>(data.Bytes()) + taken;
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
    problem = out.Put(inflated.data(), inflated.size() - stream.avail_out);
    if (problem != ZipProblem::None || status == Z_STREAM_END) break;
  }
  inflateEnd(&stream);
  return problem;
}

}  // namespace

ZipProblem ReadZipDirectory(std::string_view archive, std::vector<ZipEntry>& entries) {
  entries.clear();
  Directory directory;
  Fields bytes;
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
      entry.method == kMethodAesEncrypted) {
    return ZipProblem::Encrypted;
  }
  if (entry.method != kMethodStored && entry.method != kMethodDeflated)
    return ZipProblem::UnknownMethod;
  return ZipProblem::None;
}

ZipProblem ExtractZipEntry(std::string_view archive, const ZipEntry& entry, uint64_t limit,
                           std::string& out) {
  if (const ZipProblem problem = EntryProblem(entry); problem != ZipProblem::None) return problem;
  if (entry.size > limit) return ZipProblem::TooLarge;
  Fields data;
  if (!Slice(archive, entry.dataOffset, entry.compressedSize, data)) return ZipProblem::Damaged;
  CheckedOutput checked(out, limit);
  const ZipProblem problem = entry.method == kMethodStored ? checked.Put(data.Bytes(), data.Size())
                                                           : Inflate(data, checked);
  return problem != ZipProblem::None ? problem : checked.Verdict(entry);
}
