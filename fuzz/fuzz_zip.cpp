// Arbitrary bytes as a downloaded zip archive: reading its directory and extracting every entry
// never crash, never read outside the archive, and never hand out more than the limit; an entry
// extracted without a problem gave exactly the size that the directory claims.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
  const ZipReader read = [&](uint64_t offset, void* into, size_t count) {
    Require(offset <= size && count <= size - offset, "read inside the archive");
    std::memcpy(into, data + offset, count);
    return true;
  };
  std::vector<ZipEntry> entries;
  if (ReadZipDirectory(read, size, entries) != ZipProblem::None) {
    Require(entries.empty(), "no entries from a damaged directory");
    return 0;
  }
  for (const ZipEntry& entry : entries) {
    uint64_t written = 0;
    const ZipProblem problem =
        ExtractZipEntry(read, size, entry, kLimit, [&](const char*, size_t count) {
          written += count;
          return true;
        });
    Require(written <= kLimit, "the limit holds");
    if (problem == ZipProblem::None) Require(written == entry.size, "the size claimed came out");
  }
  return 0;
}
