#pragma once
// A dropped file, as Windows hands it over: named in UTF-16.
#include <string>

// Where it can be read, and how the player knows it: its path, or, for file contents without one,
// the name its source gave it ("maps\Reef.scn").
struct DroppedFile {
  std::wstring path;
  std::wstring name;
  bool tooLarge = false;  // contents beyond what the drop may take: nothing at `path`
};
