#pragma once
// The main window: the enabled attract-mode slots as a list, one row per slot, with Add, Edit and
// Delete, and the home-page link. Every change is written to the game's user.cfg at once.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/MenuHistory.h"
#include "core/MenuRows.h"
#include "game/ScenarioImport.h"
#include "game/modGameLookup.h"
#include "platform/FileSystem.h"
#include "platform/window/Button.h"
#include "platform/window/FileDrop.h"
#include "platform/window/Form.h"
#include "platform/window/ListBox.h"
#include "ui/DecorativeLook.h"
#include "ui/LinkLabel.h"
#include "ui/frmSelectScn.h"

class frmMain : public Form {
 public:
  // The splash window, when there is one, is unloaded at every activation of this window. A game
  // folder given on the command line is used instead of the registered one; files given there
  // are taken as dropped on the window once it has been shown.
  explicit frmMain(Form* splash = nullptr, std::wstring gameFolderArgument = L"",
                   std::vector<std::wstring> droppedFiles = {});

  // Rebuilds the list from the slot table, sets the buttons, keeps the selection, and saves
  // user.cfg once saving is switched on.
  void RefreshList();

  // The picker, for the tests that drive it from inside its modal loop.
  frmSelectScn& Picker();

  // Files dropped on the window: the scenarios among them are copied into the game's scenario
  // folder and become menus (game/modScenarioInstall.h). Where no game was found, a dropped
  // folder is taken as the game's folder.
  void TakeDroppedFiles(const std::vector<DroppedFile>& files);

 private:
  void Form_Load() override;
  void Form_Activate() override;
  void Form_Reactivate() override;
  void Form_QueryUnload(bool& cancel) override;
  void Form_QueryEndSession(bool& cancel) override;
  void Form_EndSession(bool ending) override;
  void Form_Unload() override;
  void Form_DropFiles(const std::vector<DroppedFile>& files) override { TakeDroppedFiles(files); }
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdDelete_Click();
  void lstMenus_KeyUp(int keyCode, int shift);
  void lblHyperLink_Click();

  // Arranging the show and taking changes back (frmMainArrange.cpp).
  bool Form_KeyDown(int keyCode, int shift) override;
  void lstMenus_KeyDown(int keyCode, int shift);
  void lstMenus_ContextMenu(POINT at);
  // Moves the menu of one row to another row's place, the rows between shifting by one, and
  // saves; the selection follows it.
  void MoveRowMenu(int fromRow, int toRow);
  // Goes one change back (or forward again) in this window's history, and saves.
  void StepHistory(bool back);

  // Looks for the game (in m_gameFolderArgument, when one is given) and reads its menus, saying
  // why they cannot be read; where no game is found, the list says how to choose its folder
  // instead. False when no game was found (not yet said).
  bool LoadGame();
  // A folder the player chose as the game's: loaded as one given on the command line, and the
  // player told how to have it found at every start; refused with a box when it is no game
  // folder, the window staying as it was. True when the menus were read.
  bool TakeGameFolder(const std::wstring& folder);

  // Rebuilds the list from the slot table and sets the buttons and the selection; saves nothing.
  // keepSelectedSlot: the row of the slot that was selected is selected again, wherever it now is.
  void ShowRows(bool keepSelectedSlot);
  // Saves user.cfg, and says so when the save made the per-user copy.
  FileResult Save();
  // When another program changed the menus in user.cfg, reads them again and shows them (and says
  // so, unless `quietly`, when a change that could not be saved gave way to them). True when it
  // read them again.
  bool CatchUpWithFile(bool quietly = false);

  // The slot that the selected row shows; -1 when no row is selected.
  int SelectedSlot() const;
  // Opens the picker modally with nothing picked; returns what the user picked ("" for nothing).
  std::string PickScenario();
  // Refuses a change when there is no user.cfg to work on (the game folder was not found, the
  // file could not be read, or the load has not ended): shows the reason again and returns true,
  // so that no change is made that could not be saved.
  bool RefuseChangeWithoutMenus();

  DecorativeLook m_look{*this, kMainWindowFrame};
  Button cmdAdd{*this, {240, 240, 975, 375}, "Add", 0};
  Button cmdEdit{*this, {1260, 240, 975, 375}, "Edit", 1};
  Button cmdDelete{*this, {3300, 240, 975, 375}, "Delete", 2};
  ListBox lstMenus{*this, {240, 660, 4035, 2205}, 3};
  // Dark grey. 7 pixels (105 twips) further left than when the address was http://: the https
  // address, one character longer, would reach 4 pixels into the frame's right band (x = 288);
  // here it ends 3 pixels before the band, as the old one did. The place ends at the band: a face
  // wider than MS Sans Serif is made smaller rather than reach into it.
  LinkLabel lblHyperLink{*this, {1995, 2880, 2325, 255}, 4, RGB(64, 64, 64)};

  Form* m_splash;
  std::wstring m_gameFolderArgument;
  std::wstring m_folderNotHeld;  // the game folder, when the ANSI code page cannot hold its name
  std::unique_ptr<frmSelectScn> m_picker;
  FileDropTarget m_drops{*this, kDropBytes};
  std::vector<std::wstring> m_droppedFiles;  // from the command line, until the first activation
  std::vector<MenuRow> m_rows;               // the slot that each row of lstMenus shows
  MenuHistory m_history;                     // the changes made here since the menus were read
  GameLookupOutcome m_lookup = GameLookupOutcome::Success;
  std::optional<FileResult> m_loadFailure;
  bool m_menusLoaded = false;  // user.cfg was read: changes can be made and saved
  bool m_importing = false;    // a drop is being taken: a close waits for it, a log-off is held
  bool m_closeAfterImport = false;
};
