#pragma once
// The test archives of tests/game/zips, made by make_zips.py there, and the made-up scenario
// bytes it puts into them.
#include <string>

namespace test_support {

// The bytes make_zips.py writes for the scenario of this name.
inline std::string ZipScenario(const std::string& name, size_t size = 3000) {
  unsigned seed = 0;
  for (unsigned char c : name) seed += c;
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((seed + i * 7 + i / 97) % 251);
  return bytes;
}

// Where an archive lies (TESS_TEST_ZIPS: the folder, set by the build).
inline std::string ZipFixture(const std::string& name) {
  return std::string(TESS_TEST_ZIPS) + "/" + name;
}

}  // namespace test_support
