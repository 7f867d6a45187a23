#pragma once
// The scenario picker's rows, read from the game's scenario folder as the game itself sees it.
#include <string>
#include <vector>

// The rows for the game folder gamePath (ending in "\"): the two built-in scenarios, then one
// per "*.scn" file of its "scenario" folder in the folder's sorted order. For a game under a
// protected folder that Windows virtualises, that is the real folder and Windows' per-user copy of
// it together (scenarios that the player saved from the game's editor land in the copy), each
// name once; elsewhere, and under Wine, the real folder alone. A missing or
// unreadable folder adds no rows.
std::vector<std::string> ListScenarioRows(const std::string& gamePath);
