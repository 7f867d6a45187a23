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

std::string ReadWhole(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("cannot open " + path);
  LARGE_INTEGER size;
  GetFileSizeEx(file, &size);
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok || read != bytes.size()) Fail("cannot read " + path);
  return bytes;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::exit(1);
}
