#pragma once
// What becomes of files dropped on the main window or named on the command line: each scenario
// file, each scenario of a zip archive (from any folder inside it) and each scenario directly in
// a dropped folder is copied into the game's scenario folder; what is refused or fails is said in
// a box, and the others go on. sGamePath must be the game folder.
#include <string>
#include <vector>

#include "platform/window/FileDrop.h"

// The names of the scenarios that went in (copied, or already there with the same bytes), in the
// order dropped and, inside an archive, in the archive's order.
// The boxes name each file as the player knows it (DroppedFile::name).
std::vector<std::string> ImportDroppedScenarios(const std::vector<DroppedFile>& files);
