// Zip archives as players download them and as broken or hostile ones come, read with the tool's
// own directory reader and zlib. The archives of tests/game/zips/ are made by make_zips.py there.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "game/ScenarioImport.h"
#include "game/ZipArchive.h"
#include "platform/PathText.h"
#include "tests/support/ZipFixtures.h"

namespace {

using test_support::ZipFixture;
using test_support::ZipScenario;

std::string Fixture(const std::string& name) {
  std::ifstream in(ZipFixture(name), std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Extracted {
  ZipProblem problem;
  std::string bytes;
};

Extracted Extract(const std::string& archive, const ZipEntry& entry, uint64_t limit = kDropBytes) {
  Extracted out;
  out.problem = ExtractZipEntry(archive, entry, limit, out.bytes);
  return out;
}

TEST(ZipArchive, ArchivesAsPlayersGetThemGiveEveryEntryByteForByte) {
  struct Case {
    const char* archive;
    std::vector<std::string> names;
    std::vector<size_t> sizes;
  };
  const Case cases[] = {
      {"players.zip",
       {"Oasis Pack/", "Oasis Pack/readme.txt", "Oasis Pack/Oasis.scn", "Oasis Pack/maps/Dune.SCN",
        "Oasis Pack/preview.jpg"},
       {0, 24, 3000, 1200, 22}},
      {"zip64.zip", {"big/Glacier.scn", "Steppe.scn"}, {3000, 500}},
      {"descriptors.zip", {"Marsh.scn", "extra/Fen.scn"}, {3000, 3000}},
      {"infozip.zip", {"Canyon maps/", "Canyon maps/Canyon.scn"}, {0, 3000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive);
    const std::string archive = Fixture(c.archive);
    std::vector<ZipEntry> entries;
    ASSERT_EQ(ReadZipDirectory(archive, entries), ZipProblem::None);
    ASSERT_EQ(entries.size(), c.names.size());
    for (size_t n = 0; n < entries.size(); ++n) {
      EXPECT_EQ(entries[n].name, c.names[n]);
      const Extracted out = Extract(archive, entries[n]);
      EXPECT_EQ(out.problem, ZipProblem::None) << c.names[n];
      EXPECT_EQ(out.bytes.size(), c.sizes[n]);
      const std::wstring name(c.names[n].begin(), c.names[n].end());
      if (IsScenarioFileName(name)) {
        const std::wstring base = ScenarioBaseName(LastNamePart(name));
        EXPECT_TRUE(out.bytes == ZipScenario(std::string(base.begin(), base.end()), c.sizes[n]));
      }
    }
  }
}

TEST(ZipArchive, BrokenArchivesAreRefusedWithWhatIsWrong) {
  struct Case {
    const char* archive;
    ZipProblem directory;  // reading the directory
    ZipProblem scenario;   // extracting a scenario, when the directory reads
    size_t entry = 2;      // which: Oasis.scn, or 3, Dune.SCN
  };
  const Case cases[] = {
      {"cut.zip", ZipProblem::Damaged, ZipProblem::None},
      {"not-a-zip.zip", ZipProblem::Damaged, ZipProblem::None},
      {"bad-crc.zip", ZipProblem::None, ZipProblem::CrcMismatch, 3},
      {"encrypted.zip", ZipProblem::None, ZipProblem::Encrypted},
      {"bzip2.zip", ZipProblem::None, ZipProblem::UnknownMethod},
      {"lzma.zip", ZipProblem::None, ZipProblem::UnknownMethod},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.archive);
    const std::string archive = Fixture(c.archive);
    std::vector<ZipEntry> entries;
    ASSERT_EQ(ReadZipDirectory(archive, entries), c.directory);
    if (c.directory != ZipProblem::None) {
      EXPECT_TRUE(entries.empty());
      continue;
    }
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(Extract(archive, entries[c.entry]).problem, c.scenario);
    EXPECT_EQ(EntryProblem(entries[c.entry]),
              c.scenario == ZipProblem::CrcMismatch ? ZipProblem::None : c.scenario);
  }
}

// Archives that would unpack to more than they hold, or whose headers tell two stories: damaged
// as a whole, before anything is inflated. Variants of a good archive change one field of a
// local header (offsets into players.zip: its third entry, Oasis.scn, deflated).
TEST(ZipArchive, HostileArchivesAreDamagedAsAWhole) {
  const std::string players = Fixture("players.zip");
  std::vector<ZipEntry> entries;
  ASSERT_EQ(ReadZipDirectory(players, entries), ZipProblem::None);
  const size_t oasis = static_cast<size_t>(entries[2].localHeaderOffset);
  const auto patched = [&](size_t at, unsigned char value) {
    std::string archive = players;
    archive[oasis + at] = static_cast<char>(value);
    return archive;
  };
  // The directory lists Oasis.scn twice: its bytes would come out twice.
  const std::string repeated = [&] {
    size_t at = players.find("PK\x01\x02");
    for (int n = 0; n < 2; ++n) at = players.find("PK\x01\x02", at + 4);
    const size_t next = players.find("PK\x01\x02", at + 4);
    const std::string copy = players.substr(at, next - at);
    std::string archive = players.substr(0, next) + copy + players.substr(next);
    const size_t end = archive.size() - 22;
    for (size_t count : {end + 8, end + 10}) ++archive[count];
    uint32_t size = 0;
    std::memcpy(&size, archive.data() + end + 12, 4);  // little-endian, as the machine
    size += static_cast<uint32_t>(copy.size());
    std::memcpy(archive.data() + end + 12, &size, 4);
    return archive;
  }();
  struct Case {
    const char* what;
    std::string archive;
  };
  const Case cases[] = {
      {"twelve names, one stream", Fixture("shared-stream.zip")},
      {"one entry's data holds another", Fixture("overlapping.zip")},
      {"the local header names another file", Fixture("local-header-mismatch.zip")},
      {"the data runs past the directory", Fixture("outside-archive.zip")},
      {"the local method differs", patched(8, 0)},
      {"the local CRC-32 differs", patched(14, players[oasis + 14] ^ 1)},
      {"the local compressed size differs", patched(18, players[oasis + 18] ^ 1)},
      {"the local size differs", patched(22, players[oasis + 22] ^ 1)},
      {"one entry listed twice", repeated},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ReadZipDirectory(c.archive, entries), ZipProblem::Damaged);
    EXPECT_TRUE(entries.empty());
  }
}

TEST(ZipArchive, NoCutOffArchiveReadsAsWhole) {
  const std::string whole = Fixture("players.zip");
  for (size_t length = 0; length < whole.size(); ++length) {
    const std::string cut = whole.substr(0, length);
    std::vector<ZipEntry> entries;
    ASSERT_EQ(ReadZipDirectory(cut, entries), ZipProblem::Damaged) << length;
  }
  // Cut inside an entry's data, with the directory whole: that entry alone is damaged.
  std::string holed = whole;
  std::vector<ZipEntry> entries;
  ASSERT_EQ(ReadZipDirectory(holed, entries), ZipProblem::None);
  ZipEntry beyond = entries[2];
  beyond.dataOffset = holed.size() - 10;
  EXPECT_EQ(Extract(holed, beyond).problem, ZipProblem::Damaged);
}

// One deflated entry of `size` zero bytes in an archive of its own, its directory claiming
// `claimed` bytes.
std::string ZeroBomb(uint64_t size, uint32_t claimed) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
  const std::vector<unsigned char> zeros(1 << 20, 0);
  std::string data;
  std::vector<unsigned char> out(1 << 16);
  for (uint64_t left = size; left > 0 || stream.avail_in > 0;) {
    if (stream.avail_in == 0) {
      const size_t piece = left < zeros.size() ? static_cast<size_t>(left) : zeros.size();
      stream.next_in = const_cast<unsigned char*>(zeros.data());
      stream.avail_in = static_cast<uInt>(piece);
      left -= piece;
    }
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_NO_FLUSH);
    data.append(reinterpret_cast<char*>(out.data()), out.size() - stream.avail_out);
  }
  int status = Z_OK;
  while (status != Z_STREAM_END) {
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    status = deflate(&stream, Z_FINISH);
    data.append(reinterpret_cast<char*>(out.data()), out.size() - stream.avail_out);
  }
  deflateEnd(&stream);

  const auto u16 = [](std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8 & 0xFF);
  };
  const auto u32 = [&](std::string& s, uint32_t v) {
    u16(s, v & 0xFFFF);
    u16(s, v >> 16);
  };
  const std::string name = "Bomb.scn";
  std::string zip;
  u32(zip, 0x04034b50);
  for (unsigned v : {20u, 0u, 8u, 0u, 0u}) u16(zip, v);
  for (uint32_t v : {0u, static_cast<uint32_t>(data.size()), claimed}) u32(zip, v);
  u16(zip, static_cast<unsigned>(name.size()));
  u16(zip, 0);
  zip += name + data;
  const uint32_t directoryAt = static_cast<uint32_t>(zip.size());
  u32(zip, 0x02014b50);
  for (unsigned v : {20u, 20u, 0u, 8u, 0u, 0u}) u16(zip, v);
  for (uint32_t v : {0u, static_cast<uint32_t>(data.size()), claimed}) u32(zip, v);
  for (unsigned v : {static_cast<unsigned>(name.size()), 0u, 0u, 0u, 0u}) u16(zip, v);
  u32(zip, 0);
  u32(zip, 0);
  zip += name;
  const uint32_t directorySize = static_cast<uint32_t>(zip.size()) - directoryAt;
  u32(zip, 0x06054b50);
  for (unsigned v : {0u, 0u, 1u, 1u}) u16(zip, v);
  u32(zip, directorySize);
  u32(zip, directoryAt);
  u16(zip, 0);
  return zip;
}

TEST(ZipArchive, InflationStopsAtTheLimitWhateverTheDirectoryClaims) {
  const uint64_t overLimit = kDropBytes + (1 << 20);
  struct Case {
    const char* what;
    uint32_t claimed;
  };
  const Case cases[] = {
      {"a directory that tells the truth is refused before inflating", 0},
      {"a directory that claims little is stopped at the limit", 1000},
  };
  const std::string bomb = ZeroBomb(overLimit, 0);
  EXPECT_LT(bomb.size(), 400u * 1024);  // small on disk
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<ZipEntry> entries;
    ASSERT_EQ(ReadZipDirectory(bomb, entries), ZipProblem::None);
    ASSERT_EQ(entries.size(), 1u);
    entries[0].size = c.claimed ? c.claimed : overLimit;
    std::string out;
    EXPECT_EQ(ExtractZipEntry(bomb, entries[0], kDropBytes, out), ZipProblem::TooLarge);
    EXPECT_LE(out.size(), kDropBytes);
  }
}

}  // namespace
