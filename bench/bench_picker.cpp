// Times the opening of the scenario picker: from its load until its list is complete, for the
// game folder given (its scenario folder holds the files). The picker object is made once, as
// the main window makes it once, and each run loads and unloads it.
//   bench_picker <game folder ending in \> <runs> <expected files>
#include <cstdlib>
#include <string>

#include "bench/BenchTiming.h"
#include "core/modMain.h"
#include "ui/frmSelectScn.h"

int main(int argc, char** argv) {
  const char* usage = "bench_picker <game folder> <runs> <expected files>";
  const int runs = RunsArgument(argc, argv, 2, usage);
  sGamePath = argv[1];
  const long expectedRows = std::atol(argc > 3 ? argv[3] : "0") + 2;  // and the two built-ins

  frmSelectScn picker;
  const auto samples = Repeat(runs, [&] {
    const double start = NowMs();
    picker.Load();
    const double elapsed = NowMs() - start;

    HWND list = FindWindowExA(picker.Hwnd(), nullptr, "ListBox", nullptr);
    const LRESULT rows = list ? SendMessageA(list, LB_GETCOUNT, 0, 0) : -1;
    if (rows != expectedRows) {
      Fail("the picker lists " + std::to_string(rows) + " rows, not " +
           std::to_string(expectedRows));
    }
    picker.Unload();
    PumpMessages();
    return elapsed;
  });
  PrintSamples("picker", samples);
  return 0;
}
