// Times LoadMenus and SaveMenus on the user.cfg of the game folder given. Its attract-mode lines
// enable slot 0, so loading puts in no default menus and writes nothing.
//   bench_cfg <game folder ending in \> <runs>
#include "bench/BenchTiming.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"

namespace {

void Check(const FileResult& result, const char* what) {
  if (!result.ok)
    Fail(std::string(what) + " failed: " + result.file + ": error " + std::to_string(result.error));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = RunsArgument(argc, argv, 2, "bench_cfg <game folder> <runs>");
  sGamePath = argv[1];

  const auto load = Repeat(runs, [] {
    InitMenus();
    const double start = NowMs();
    const FileResult loaded = LoadMenus();
    const double elapsed = NowMs() - start;
    Check(loaded, "LoadMenus");
    if (bAutoSave) Fail("the user.cfg of the benchmark must enable slot 0");
    return elapsed;
  });

  const auto save = Repeat(runs, [] {
    const double start = NowMs();
    const FileResult saved = SaveMenus();
    const double elapsed = NowMs() - start;
    Check(saved, "SaveMenus");
    return elapsed;
  });

  PrintSamples("load", load);
  PrintSamples("save", save);
  return 0;
}
