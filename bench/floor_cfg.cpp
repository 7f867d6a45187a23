// The floors of loading and saving user.cfg: the work that no reader or atomic writer of the file
// can avoid. Loading reads the file whole; saving reads it whole, writes it to the temporary file,
// flushes that to disk and moves it onto the file.
//   floor_cfg <user.cfg> <runs>
#include <string>

#include "bench/BenchTiming.h"

namespace {

void WriteAndReplace(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".tmp";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot create " + temp);
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size() && FlushFileBuffers(file);
  CloseHandle(file);
  if (!ok) Fail("cannot write " + temp);
  if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    Fail("cannot replace " + path);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = RunsArgument(argc, argv, 2, "floor_cfg <user.cfg> <runs>");
  const std::string path = argv[1];

  const auto load = Repeat(runs, [&] {
    const double start = NowMs();
    ReadWhole(path);  // the bytes are dropped again inside the time, as the reader drops its own
    return NowMs() - start;
  });
  const auto save = Repeat(runs, [&] {
    const double start = NowMs();
    WriteAndReplace(path, ReadWhole(path));
    return NowMs() - start;
  });

  PrintSamples("load-floor", load);
  PrintSamples("save-floor", save);
  return 0;
}
