#include "game/ZipArchive.h"

#include <zlib.h>

#include <algorithm>
#include <array>

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

constexpr uint16_t kFlagEncrypted = 1u << 0;
constexpr uint16_t kFlagStrongEncryption = 1u << 6;
constexpr uint16_t kFlagUtf8Name = 1u << 11;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kMethodAesEncrypted = 99;

constexpr size_t kPieceSize = 64 * 1024;

// Little-endian fields of a record read into memory.
class Fields {
 public:
  Fields(const unsigned char* bytes, size_t size) : m_bytes(bytes), m_size(size) {}
  bool Has(size_t at, size_t count) const { return at <= m_size && count <= m_size - at; }
  uint16_t U16(size_t at) const {
    return static_cast<uint16_t>(m_bytes[at] | m_bytes[at + 1] << 8);
  }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  uint64_t U64(size_t at) const { return U32(at) | static_cast<uint64_t>(U32(at + 4)) << 32; }

 private:
  const unsigned char* m_bytes;
  size_t m_size;
};

// Where the central directory lies and how many entries it holds.
struct Directory {
  uint64_t entries = 0;
  uint64_t size = 0;
  uint64_t offset = 0;
};

bool ReadBytes(const ZipReader& read, uint64_t archiveSize, uint64_t offset, size_t size,
               std::vector<unsigned char>& into) {
  if (offset > archiveSize || size > archiveSize - offset) return false;
  into.resize(size);
  return size == 0 || read(offset, into.data(), size);
}

// The ZIP64 end record that the locator before the end record points to, when there is one.
bool ReadZip64End(const ZipReader& read, uint64_t archiveSize, uint64_t endAt, Directory& found) {
  if (endAt < kZip64Locator.size) return true;
  std::vector<unsigned char> bytes;
  if (!ReadBytes(read, archiveSize, endAt - kZip64Locator.size, kZip64Locator.size, bytes))
    return false;
  const Fields locator(bytes.data(), bytes.size());
  if (locator.U32(0) != kZip64Locator.signature) return true;    // none: the plain end record holds
  if (locator.U32(4) != 0 || locator.U32(16) > 1) return false;  // spread over several disks
  if (!ReadBytes(read, archiveSize, locator.U64(8), kZip64EndOfDirectory.size, bytes)) return false;
  const Fields end(bytes.data(), bytes.size());
  if (end.U32(0) != kZip64EndOfDirectory.signature || end.U32(16) != 0 || end.U32(20) != 0)
    return false;
  if (end.U64(24) != end.U64(32)) return false;
  found = {end.U64(32), end.U64(40), end.U64(48)};
  return true;
}

// Finds the end record (behind it only its comment) and from it the central directory.
bool FindDirectory(const ZipReader& read, uint64_t archiveSize, Directory& found) {
  if (archiveSize < kEndOfDirectory.size) return false;
  const uint64_t tail = std::min<uint64_t>(archiveSize, kEndOfDirectory.size + kMaxCommentSize);
  std::vector<unsigned char> bytes;
  if (!ReadBytes(read, archiveSize, archiveSize - tail, static_cast<size_t>(tail), bytes))
    return false;
  const Fields fields(bytes.data(), bytes.size());
  for (size_t at = bytes.size() - kEndOfDirectory.size + 1; at-- > 0;) {
    if (fields.U32(at) != kEndOfDirectory.signature) continue;
    if (at + kEndOfDirectory.size + fields.U16(at + 20) != bytes.size()) continue;  // not the end
    if (fields.U16(at + 4) != 0 || fields.U16(at + 6) != 0) return false;           // several disks
    if (fields.U16(at + 8) != fields.U16(at + 10)) return false;
    found = {fields.U16(at + 10), fields.U32(at + 12), fields.U32(at + 16)};
    return ReadZip64End(read, archiveSize, archiveSize - tail + at, found);
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

bool ReadEntries(const std::vector<unsigned char>& bytes, uint64_t count,
                 std::vector<ZipEntry>& entries) {
  const Fields fields(bytes.data(), bytes.size());
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
    entry.name.assign(reinterpret_cast<const char*>(bytes.data()) + nameAt, nameSize);
    const Fields extra(bytes.data() + nameAt + nameSize, extraSize);
    if (!ApplyZip64Extra(extra, entry, entry.compressedSize == 0xFFFFFFFF, entry.size == 0xFFFFFFFF,
                         entry.localHeaderOffset == 0xFFFFFFFF))
      return false;
    if (fields.U16(at + 34) != 0 && fields.U16(at + 34) != 0xFFFF) return false;  // another disk
    entries.push_back(std::move(entry));
    at = nameAt + nameSize + extraSize + commentSize;
  }
  return true;
}

// Where the entry's data starts: behind its local header, whose name and extra field may differ
// in length from those of the directory.
bool DataOffset(const ZipReader& read, uint64_t archiveSize, const ZipEntry& entry,
                uint64_t& dataAt) {
  std::vector<unsigned char> bytes;
  if (!ReadBytes(read, archiveSize, entry.localHeaderOffset, kLocalHeader.size, bytes))
    return false;
  const Fields local(bytes.data(), bytes.size());
  if (local.U32(0) != kLocalHeader.signature) return false;
  dataAt = entry.localHeaderOffset + kLocalHeader.size + local.U16(26) + local.U16(28);
  return dataAt <= archiveSize && entry.compressedSize <= archiveSize - dataAt;
}

// Pieces of the entry's stored bytes, in order.
class DataPieces {
 public:
  DataPieces(const ZipReader& read, uint64_t at, uint64_t size)
      : m_read(read), m_at(at), m_left(size) {}
  uint64_t Left() const { return m_left; }
  // The next piece (empty at the end); false when it cannot be read.
  bool Next(std::vector<unsigned char>& piece) {
    piece.resize(static_cast<size_t>(std::min<uint64_t>(m_left, kPieceSize)));
    if (!piece.empty() && !m_read(m_at, piece.data(), piece.size())) return false;
    m_at += piece.size();
    m_left -= piece.size();
    return true;
  }

 private:
  const ZipReader& m_read;
  uint64_t m_at;
  uint64_t m_left;
};

// Counts, checksums and limits what goes to the sink.
class CheckedSink {
 public:
  CheckedSink(const ZipSink& sink, uint64_t limit) : m_sink(sink), m_limit(limit) {}
  ZipProblem Put(const unsigned char* bytes, size_t size) {
    if (size > m_limit - std::min(m_limit, m_written)) return ZipProblem::TooLarge;
    m_written += size;
    m_crc = crc32_z(m_crc, bytes, size);
    if (size > 0 && !m_sink(reinterpret_cast<const char*>(bytes), size))
      return ZipProblem::WriteFailed;
    return ZipProblem::None;
  }
  ZipProblem Verdict(const ZipEntry& entry) const {
    if (m_written != entry.size) return ZipProblem::Damaged;
    return m_crc == entry.crc32 ? ZipProblem::None : ZipProblem::CrcMismatch;
  }

 private:
  const ZipSink& m_sink;
  uint64_t m_limit;
  uint64_t m_written = 0;
  uLong m_crc = crc32_z(0, nullptr, 0);
};

ZipProblem CopyStored(DataPieces& pieces, CheckedSink& out) {
  std::vector<unsigned char> piece;
  while (pieces.Left() > 0) {
    if (!pieces.Next(piece)) return ZipProblem::Damaged;
    if (const ZipProblem problem = out.Put(piece.data(), piece.size()); problem != ZipProblem::None)
      return problem;
  }
  return ZipProblem::None;
}

// Raw deflate (no zlib header), as zip stores it.
ZipProblem Inflate(DataPieces& pieces, CheckedSink& out) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return ZipProblem::Damaged;
  std::vector<unsigned char> piece;
  std::vector<unsigned char> inflated(kPieceSize);
  ZipProblem problem = ZipProblem::None;
  for (;;) {
    if (stream.avail_in == 0 && pieces.Left() > 0) {
      if (!pieces.Next(piece)) {
        problem = ZipProblem::Damaged;
        break;
      }
      stream.next_in = piece.data();
      stream.avail_in = static_cast<uInt>(piece.size());
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

ZipProblem ReadZipDirectory(const ZipReader& read, uint64_t archiveSize,
                            std::vector<ZipEntry>& entries) {
  entries.clear();
  Directory directory;
  if (!FindDirectory(read, archiveSize, directory)) return ZipProblem::Damaged;
  // Each entry takes at least its fixed header: a count beyond that is a lie.
  if (directory.offset > archiveSize || directory.size > archiveSize - directory.offset ||
      directory.entries > directory.size / kDirectoryHeader.size) {
    return ZipProblem::Damaged;
  }
  std::vector<unsigned char> bytes;
  if (!ReadBytes(read, archiveSize, directory.offset, static_cast<size_t>(directory.size), bytes))
    return ZipProblem::Damaged;
  if (!ReadEntries(bytes, directory.entries, entries)) {
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

ZipProblem ExtractZipEntry(const ZipReader& read, uint64_t archiveSize, const ZipEntry& entry,
                           uint64_t limit, const ZipSink& sink) {
  if (const ZipProblem problem = EntryProblem(entry); problem != ZipProblem::None) return problem;
  if (entry.size > limit) return ZipProblem::TooLarge;
  uint64_t dataAt = 0;
  if (!DataOffset(read, archiveSize, entry, dataAt)) return ZipProblem::Damaged;
  DataPieces pieces(read, dataAt, entry.compressedSize);
  CheckedSink out(sink, limit);
  const ZipProblem problem =
      entry.method == kMethodStored ? CopyStored(pieces, out) : Inflate(pieces, out);
  return problem != ZipProblem::None ? problem : out.Verdict(entry);
}
