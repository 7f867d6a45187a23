#pragma once
// The rows that the scenario picker offers: the scenario names a menu slot can be given.
#include <string>
#include <vector>

// Builds the rows from the names of the files of the game's scenario folder, as the folder
// listing yields them (file names with their extension, only the "*.scn" files, in listing
// order): first the game's two built-in menu scenarios, then one row per file, named without its
// four-character extension, in the order given. A file whose name is a built-in's in any letter
// case adds no row, so each built-in is offered once and spelled as the game spells it (the names
// are read as characters of codePage, the ANSI code page they are written in). A name
// holding a control character is left out, because it would break user.cfg into extra lines;
// so is a name too short to carry the extension. The names are taken by value: a caller done with
// them moves them in, and the rows reuse their storage.
std::vector<std::string> BuildScenarioRows(std::vector<std::string> fileNames, unsigned codePage);
