#include "bench/BenchTiming.h"

#include <cstdlib>

double NowMs() {
  static const double ticksPerMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerMs;
}

void PrintSamples(const std::string& name, const std::vector<double>& samples) {
  std::printf("%s", name.c_str());
  for (double sample : samples) std::printf(" %.3f", sample);
  std::printf("\n");
  std::fflush(stdout);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int RunsArgument(int argc, char** argv, int index, const char* usage) {
  const int runs = argc > index ? std::atoi(argv[index]) : 0;
  if (runs < 1) {
    std::fprintf(stderr, "usage: %s\n", usage);
    std::exit(2);
  }
  return runs;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::exit(1);
}
