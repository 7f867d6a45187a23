#pragma once
// Moving the attract-mode slots between the slot table colMenus and the game's startup\user.cfg.
// Neither procedure shows a message: each returns the outcome, and the main window reports a
// failure to the user.
//
// For a game under Program Files (or the Windows folder) the file is the one the game reads when
// it runs without administrator rights, as it normally does: Windows' per-user copy of it
// (platform/VirtualStore.h) when there is one, else the real file. When the real file's folder
// refuses a new file, the procedures make the per-user copy and keep working on it.
#include <string_view>

#include "platform/FileSystem.h"

// Why a file that exists is not read: the game reads only ANSI text.
inline constexpr std::string_view kReasonUtf16Text =
    "Unicode (UTF-16) text, which the game does not read";

// Reads sGamePath + "startup\user.cfg" (or its per-user copy) into the slot table, first writing
// the default file when there is none. Enables the built-in menus (and sets bAutoSave, so the
// next refresh saves them) when slot 0 is not in use. On failure nothing is written, the table
// stays empty and sCfgFile stays empty, so that no later save can overwrite a file that was never
// read. *madePerUserCopy tells whether this call made the per-user copy that sCfgFile now names.
FileResult LoadMenus(bool* madePerUserCopy = nullptr);

// Rewrites sCfgFile: every other line as it stands in the file now, then the ten attract-mode
// lines of the table. A failed save leaves the file exactly as it was; a file that another program
// removed is written anew. *madePerUserCopy as for LoadMenus.
FileResult SaveMenus(bool* madePerUserCopy = nullptr);
