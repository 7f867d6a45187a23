// Arbitrary bytes as a downloaded zip archive: reading its directory and extracting every entry
// never crash, never read outside the archive, and never hand out more than the limit; an entry
// extracted without a problem gave exactly the size that the directory claims.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "game/ZipArchive.h"

namespace {

// Small, so that a bomb among the inputs stops early.
constexpr uint64_t kLimit = 1 << 20;

void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view archive(reinterpret_cast<const char*>(data), size);
  std::vector<ZipEntry> entries;
  if (ReadZipDirectory(archive, entries) != ZipProblem::None) {
    Require(entries.empty(), "no entries from a damaged directory");
    return 0;
  }
  std::string out;
  for (const ZipEntry& entry : entries) {
    Require(entry.dataOffset <= size && entry.compressedSize <= size - entry.dataOffset,
            "data inside the archive");
    const ZipProblem problem = ExtractZipEntry(archive, entry, kLimit, out);
    Require(out.size() <= kLimit, "the limit holds");
    if (problem == ZipProblem::None) Require(out.size() == entry.size, "the size claimed came out");
  }
  return 0;
}
