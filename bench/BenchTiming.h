#pragma once
// What the benchmark programs and their floor programs share: the clock, repeated runs, reading a
// file, and the lines through which scripts/bench.sh collects the results.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

// Milliseconds from the performance counter, from an arbitrary start.
double NowMs();

// Runs the body once to warm up (first calls load code and fill caches), then `runs` times. The
// body times its own part and returns it in milliseconds, so that set-up and clean-up stay out.
template <typename Body>
std::vector<double> Repeat(int runs, Body&& body) {
  body();
  std::vector<double> samples;
  samples.reserve(runs);
  for (int i = 0; i < runs; ++i) samples.push_back(body());
  return samples;
}

// One result line for bench.sh: "<name> <value> <value> ...". bench.sh takes the median.
void PrintSamples(const std::string& name, const std::vector<double>& samples);

// Handles the messages waiting for this thread's windows (the clean-up between two runs).
void PumpMessages();

// The number of runs asked for in argv[index]; without a positive one, the usage and exit status 2.
int RunsArgument(int argc, char** argv, int index, const char* usage);

// The file's bytes; ends the program when it cannot be read.
std::string ReadWhole(const std::string& path);

// Ends the program with a message when a run did not do what it had to.
[[noreturn]] void Fail(const std::string& what);
