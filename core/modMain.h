#pragma once
// The process-wide values that the windows and the user.cfg code share for the whole run.
#include <string>

#include "core/MenuCollection.h"

extern MenuCollection colMenus;      // the ten attract-mode slots
extern std::string sGamePath;        // the game folder, ending in "\" once found
extern std::string sCfgFile;         // full path of startup\user.cfg, empty until it was read
extern std::string sPickedScenario;  // the picker's answer; "" means nothing was picked
extern bool bAutoSave;               // while set, every refresh of the main list saves user.cfg
extern bool bOpenLinkOnShow;         // the splash's link was clicked: open the home page on show
