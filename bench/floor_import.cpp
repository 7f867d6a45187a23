// The floor of importing a zip of scenarios: the work that no importer can avoid. Reads the
// archive whole, walks its entries by their local headers (the archive is the benchmark's own,
// written with the sizes there), inflates each with zlib, checks its CRC-32 and writes it with
// WriteFile under its last name in the folder. Timed from outside, by bench_launch, from its start
// to its end.
//   floor_import <zip> <folder>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "bench/BenchTiming.h"

namespace {

uint32_t Field(const std::string& bytes, size_t at, size_t size) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, size);
  return value;
}

void WriteNew(const std::string& path, const char* bytes, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  const BOOL ok = file != INVALID_HANDLE_VALUE &&
                  WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) &&
                  written == size;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!ok) Fail("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) Fail("usage: floor_import <zip> <folder>");
  const std::string zip = ReadWhole(argv[1]);
  std::string out;
  for (size_t at = 0; at + 30 <= zip.size() && Field(zip, at, 4) == 0x04034b50;) {
    const uint32_t method = Field(zip, at + 8, 2), crc = Field(zip, at + 14, 4),
                   packed = Field(zip, at + 18, 4), size = Field(zip, at + 22, 4);
    const size_t nameLength = Field(zip, at + 26, 2), extra = Field(zip, at + 28, 2);
    const std::string name = zip.substr(at + 30, nameLength);
    const char* data = zip.data() + at + 30 + nameLength + extra;
    at += 30 + nameLength + extra + packed;
    if (name.empty() || name.back() == '/') continue;
    out.resize(size);
    if (method == Z_DEFLATED) {
      z_stream stream{};
      stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
      stream.avail_in = packed;
      stream.next_out = reinterpret_cast<Bytef*>(out.data());
      stream.avail_out = size;
      const bool ok = inflateInit2(&stream, -MAX_WBITS) == Z_OK &&
                      inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.total_out == size;
      inflateEnd(&stream);
      if (!ok) Fail("cannot inflate " + name);
    } else {
      out.assign(data, size);
    }
    if (crc32(0, reinterpret_cast<const Bytef*>(out.data()), size) != crc) Fail("CRC of " + name);
    WriteNew(std::string(argv[2]) + "\\" + name.substr(name.find_last_of('/') + 1), out.data(),
             out.size());
  }
  return 0;
}
