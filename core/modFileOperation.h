#pragma once
// Moving the attract-mode slots between the slot table colMenus and the game's startup\user.cfg.
// Neither procedure shows a message: each returns the outcome, and the main window reports a
// failure to the user.
//
// For a game under Program Files (or the Windows folder) the file is the one the game reads when
// it runs without administrator rights, as it normally does: Windows' per-user copy of it
// (platform/VirtualStore.h) when there is one, else the real file, wherever Windows really keeps
// such copies for the game. Which of the two it is, is decided again at every load, look and save:
// a per-user copy that appeared meanwhile (the game, or another copy of the tool, made it) is read
// and used from then on. When the real file's folder refuses the save there, the procedures make
// the per-user copy, never over one that appeared meanwhile.
//
// The attract-mode lines are the player's, whoever wrote them last: another copy of the tool or a
// text editor may change them while the tool runs. The procedures remember the lines they last
// read or wrote, and a save never replaces lines that the tool has not seen: it holds the file's
// lock (platform/FileReplacement.h) from its check for such changes until its bytes are in place.
#include <string>

#include "platform/FileSystem.h"

// What RereadMenusIfChanged found.
struct MenusReread {
  bool reread = false;          // the table now holds the file's attract-mode lines
  bool droppedUnsaved = false;  // a change that no save could write yet was given up for them
};

// Forgets what the procedures below remember for the whole run (the game folder of the last load,
// what the tool last read from or wrote to user.cfg, a change waiting for a save). For the tests,
// which cannot do without it: each of them starts as a new run would.
void ForgetMenusFile();

// Reads sGamePath + "startup\user.cfg" (or its per-user copy) into the slot table, first writing
// the default file when there is none. Enables the built-in menus (and sets bAutoSave, so the
// next refresh saves them) when slot 0 is not in use. On failure the slot table and sCfgFile are
// left as they were: from InitMenus and the program's start, ten disabled slots and no file, so
// that no later save can overwrite a file that was never read. Only a missing file is written (the
// default file, before the read that may still fail); an existing one never is.
// *madePerUserCopy tells whether this call made the per-user copy that sCfgFile now names.
FileResult LoadMenus(bool* madePerUserCopy = nullptr);

// Rewrites sCfgFile: every other line as it stands in the file now, then the ten attract-mode
// lines of the table. A failed save leaves the file exactly as it was; a file that another program
// removed is written anew. A file whose attract-mode lines another program changed since they were
// last read or written is not written (FailureKind::ChangedElsewhere): RereadMenusIfChanged then
// brings the table up to date. *madePerUserCopy as for LoadMenus.
FileResult SaveMenus(bool* madePerUserCopy = nullptr);

// When the attract-mode lines of sCfgFile (or of the per-user copy that appeared in its place)
// differ from those last read or written, reads the slot table again from that file, as at start-up
// but without the default menus and without writing. Cheap when nothing changed: the file's size
// and last-write time tell. A file that was removed, or that cannot be read now, leaves the table
// as it is (the next save writes or reports it).
MenusReread RereadMenusIfChanged();

// A change of the table that no save has written yet (the last save failed).
bool HasUnsavedChange();

// Where Windows keeps the per-user copy of this file or folder of the game in gameFolder, which
// the game reads in its place once it exists: the path, whether or not the copy is there yet; ""
// for a path outside the protected folders, and wherever Windows virtualises nothing for the game.
std::string PerUserCopyOf(const std::string& gameFolder, const std::string& path);
