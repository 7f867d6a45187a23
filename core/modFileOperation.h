#pragma once
// Moving the attract-mode slots between the slot table colMenus and the game's startup\user.cfg.
// Neither procedure shows a message: each returns the outcome, and the main window reports a
// failure to the user.
#include "platform/FileSystem.h"

// Reads sGamePath + "startup\user.cfg" into the slot table, first writing the default file when
// there is none. Enables the built-in menus (and sets bAutoSave, so the next refresh saves them)
// when slot 0 is not in use. On failure nothing is written, the table stays empty and sCfgFile
// stays empty, so that no later save can overwrite a file that was never read.
FileResult LoadMenus();

// Rewrites sCfgFile: every other line as it stands in the file now, then the ten attract-mode
// lines of the table. A failed save leaves the file exactly as it was; a file that another program
// removed is written anew.
FileResult SaveMenus();
