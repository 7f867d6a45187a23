#pragma once
// Every sentence the player reads in a message box, with its title and icon: the failures of the
// installation lookup, of loading and saving user.cfg, the refused removal, the per-user copy,
// and what an exception became at start-up.
#include <exception>
#include <string>
#include <vector>

#include "core/modFileOperation.h"
#include "game/modGameLookup.h"
#include "game/modScenarioInstall.h"

// The error box of a failed lookup, built from the current sGamePath, or from folderNotHeld when
// the lookup gave one (a folder the ANSI code page cannot hold); nothing for Success.
void ShowGameLookupMessage(GameLookupOutcome outcome, const std::wstring& folderNotHeld = L"");

// Where no game was found: what the main window's list says instead of menus.
std::vector<std::string> NoGameFolderRows();
// The title of the folder chooser that Add opens then.
std::wstring ChooseGameFolderTitle();
// A folder chosen or dropped as the game's that holds no startup folder.
void ReportNotAGameFolder(const std::wstring& folder);
// The game folder chosen (sGamePath): how to have it found at every start.
void ReportGameFolderChosen();

// The one line that Windows shows at a log-off or shut-down while a change cannot be saved.
std::string EndSessionBlockReason(const FileResult& failure);

// A save that failed: the file was left unchanged, the change waits for the next save.
void ReportSaveFailure(const FileResult& failure);
// At close, a change that still cannot be saved: true when the player wants another try.
bool AskToTrySavingAgain(const FileResult& failure);
// The menus could not be read from, or a first default file not written to, cfgFile.
void ReportLoadFailure(const FileResult& failure, const std::string& cfgFile);
// The menus are now kept in the per-user copy (sCfgFile) instead of the game folder's file.
void ReportPerUserCopy();
// Another program changed the menus after the player's last change failed to save.
void ReportDroppedChange();
// A Delete refused because it would leave the list empty.
void ReportLastMenuKept();

// Dropped scenarios. All that one drop refused, in one box: at most a dozen named, and how many
// more.
void ReportRefused(const std::vector<Refusal>& refused);
// A scenario of that name with other bytes is there: IDYES replaces it, IDNO keeps both, IDCANCEL
// leaves the dropped one out.
int AskToReplaceScenario(const std::string& name);
// All ten menus were in use: these scenarios went in without a menu (at most a dozen named).
void ReportNoMenuFor(const std::vector<std::string>& names);
// The one line that Windows shows at a log-off or shut-down while scenarios are being added.
std::string ImportBlockReason();

// The error box for an exception that ended the start-up. (One that leaves an event procedure
// is reported by the message loops, with the same text: ExceptionText.)
void ReportStartUpFailure(std::exception_ptr error);
