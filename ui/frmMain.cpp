#include "ui/frmMain.h"

#include <algorithm>
#include <utility>

#include "core/GameFolderLayout.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "game/modScenarioInstall.h"
#include "platform/modHyperlink.h"
#include "platform/window/BusyPointer.h"
#include "platform/window/FolderChooser.h"
#include "platform/window/ShutdownReason.h"
#include "ui/PlayerMessages.h"
#include "ui/ProgramIdentity.h"
#include "ui/res/resource.h"

frmMain::frmMain(Form* splash, std::wstring gameFolderArgument,
                 std::vector<std::wstring> droppedFiles)
    : Form({.caption = std::string(kProgramCaption),
            .border = FormBorder::FixedSingle,
            .clientSize = kMainWindowFrame.client,
            .startUpPosition = StartUpPosition::CenterScreen}),
      m_splash(splash),
      m_gameFolderArgument(std::move(gameFolderArgument)),
      m_droppedFiles(std::move(droppedFiles)) {
  SetIcon(IDI_TESSIVANE);
  for (Button* button : {&cmdAdd, &cmdEdit, &cmdDelete}) button->SetBackColor(kSandColor);
  lstMenus.SetBackColor(kSandColor);

  cmdAdd.OnClick = [this] { cmdAdd_Click(); };
  cmdEdit.OnClick = [this] { cmdEdit_Click(); };
  cmdDelete.OnClick = [this] { cmdDelete_Click(); };
  lstMenus.OnKeyUp = [this](int keyCode, int shift) { lstMenus_KeyUp(keyCode, shift); };
  lblHyperLink.OnClick = [this] { lblHyperLink_Click(); };
  lstMenus.OnKeyDown = [this](int keyCode, int shift) { lstMenus_KeyDown(keyCode, shift); };
  lstMenus.OnContextMenu = [this](POINT at) { lstMenus_ContextMenu(at); };
  lstMenus.OnDragRow = [this](int fromRow, int toRow) { MoveRowMenu(fromRow, toRow); };
}

frmSelectScn& frmMain::Picker() {
  if (!m_picker) m_picker = std::make_unique<frmSelectScn>();
  return *m_picker;
}

void frmMain::Form_Load() {
  if (!LoadGame()) ShowGameLookupMessage(m_lookup, m_folderNotHeld);
}

bool frmMain::LoadGame() {
  InitMenus();
  lstMenus.Clear();
  // A window loaded again starts from what it finds now.
  m_menusLoaded = false;
  m_loadFailure.reset();
  m_history = MenuHistory();
  m_lookup = WhileBusy([&] { return LookUpGamePath(m_gameFolderArgument, &m_folderNotHeld); });
  if (m_lookup != GameLookupOutcome::Success) {
    for (const std::string& row : NoGameFolderRows()) lstMenus.AddItem(row);
    return false;
  }

  bool madePerUserCopy = false;
  const FileResult loaded = WhileBusy([&] { return LoadMenus(&madePerUserCopy); });
  if (!loaded.ok) {
    // Nothing was read, so nothing may be written: the window stays empty, as after a failed
    // lookup, rather than offering menus that would replace the user's own.
    m_loadFailure = loaded;
    ReportLoadFailure(loaded, sGamePath + std::string(kUserCfgInGameFolder));
    return true;
  }
  m_menusLoaded = true;
  m_history.Reset(colMenus);
  if (madePerUserCopy) ReportPerUserCopy();
  ShowRows(false);
  return true;
}

bool frmMain::TakeGameFolder(const std::wstring& folder) {
  std::wstring previous = std::exchange(m_gameFolderArgument, folder);
  if (LoadGame()) {
    if (!m_menusLoaded) return false;
    m_drops.TakeHandedFiles(sGamePath);  // from now on, as a window that found its game
    ReportGameFolderChosen();
    return true;
  }
  // Refused: the window stays as it was, and says what it wants.
  const std::wstring notHeld = m_folderNotHeld;
  m_gameFolderArgument = std::move(previous);
  LoadGame();
  if (notHeld.empty()) {
    ReportNotAGameFolder(folder);
  } else {
    ShowGameLookupMessage(GameLookupOutcome::NoStartupFolder, notHeld);
  }
  return false;
}

void frmMain::Form_Activate() {
  bAutoSave = true;
  // From now on, starts with files for this game hand them here.
  if (m_lookup == GameLookupOutcome::Success) m_drops.TakeHandedFiles(sGamePath);
  if (bOpenLinkOnShow) {
    bOpenLinkOnShow = false;
    OpenLink(Hwnd(), std::string(kHomePageAddress));
  }
  if (m_splash) m_splash->Unload();
  CatchUpWithFile();
  if (!m_droppedFiles.empty()) {
    KeepWindowsDrawn();  // the window is seen whole before the files' questions and boxes
    std::vector<DroppedFile> files;
    for (std::wstring& path : std::exchange(m_droppedFiles, {})) files.push_back({path, path});
    TakeDroppedFiles(files);
  }
}

void frmMain::Form_Reactivate() { CatchUpWithFile(); }

void frmMain::Form_QueryUnload(bool& cancel) {
  // Asked to close from inside a drop's box: the drop ends first, then the window closes.
  if (m_importing) {
    cancel = m_closeAfterImport = true;
    return;
  }
  // Every change was saved when it was made, unless that save failed: try once more, and when it
  // still fails, let the player choose between another try and losing the change.
  if (!m_menusLoaded || !HasUnsavedChange()) return;
  for (;;) {
    if (CatchUpWithFile()) return;  // the file was changed elsewhere, and wins; said
    const FileResult saved = Save();
    if (saved.ok) return;
    if (saved.kind == FailureKind::ChangedElsewhere) continue;
    if (!AskToTrySavingAgain(saved)) return;
  }
}

void frmMain::Form_QueryEndSession(bool& cancel) {
  // A log-off or shut-down: a change whose save failed is saved now. When it still cannot be, the
  // session is asked to wait, with the reason Windows shows the player; no box, since Windows is
  // waiting for the answer (a per-user copy made now goes unsaid; the game reads it all the same).
  // Scenarios being added hold it too, until each is written whole or left out.
  if (m_importing) {
    cancel = true;
    SetShutdownBlockReason(*this, ImportBlockReason());
    return;
  }
  // Lines that another program wrote meanwhile win over the change, as at close.
  if (!m_menusLoaded || !HasUnsavedChange()) return;
  std::string reason;
  if (!CatchUpWithFile(true)) {
    const FileResult saved = WhileBusy([] { return SaveMenus(); });
    if (!saved.ok && !(saved.kind == FailureKind::ChangedElsewhere && CatchUpWithFile(true)))
      reason = EndSessionBlockReason(saved);
  }
  cancel = !reason.empty();
  SetShutdownBlockReason(*this, reason);
}

void frmMain::Form_EndSession(bool ending) {
  // The session goes on: the change waits for the next save, as after any failed one.
  if (!ending) SetShutdownBlockReason(*this, "");
}

bool frmMain::CatchUpWithFile(bool quietly) {
  if (!m_menusLoaded) return false;
  const MenusReread reread = WhileBusy([] { return RereadMenusIfChanged(); });
  if (!reread.reread) return false;
  m_history.Reset(colMenus);  // what another program wrote is not taken back
  ShowRows(true);
  if (reread.droppedUnsaved && !quietly) ReportDroppedChange();
  return true;
}

void frmMain::Form_Unload() {
  // Closed before its first activation (which unloads the splash) the program would otherwise go
  // on with the hidden splash as its last window.
  if (m_splash) m_splash->Unload();
}

void frmMain::RefreshList() {
  m_history.Record(colMenus);
  ShowRows(false);
  if (!bAutoSave) return;
  const FileResult saved = Save();
  // Slots that another program set meanwhile are not overwritten: the list shows them instead.
  if (!saved.ok && !(saved.kind == FailureKind::ChangedElsewhere && CatchUpWithFile()))
    ReportSaveFailure(saved);
}

FileResult frmMain::Save() {
  bool madePerUserCopy = false;
  const FileResult saved = WhileBusy([&] { return SaveMenus(&madePerUserCopy); });
  if (madePerUserCopy) ReportPerUserCopy();
  return saved;
}

void frmMain::ShowRows(bool keepSelectedSlot) {
  const int previousSelection = lstMenus.ListIndex();
  const int previousSlot = SelectedSlot();
  lstMenus.Clear();
  m_rows = BuildMenuRows(colMenus);
  for (const MenuRow& row : m_rows) lstMenus.AddItem(row.sText);

  const int rowCount = static_cast<int>(m_rows.size());
  cmdAdd.SetEnabled(rowCount < kMenuSlotCount);
  cmdEdit.SetEnabled(rowCount > 0);
  cmdDelete.SetEnabled(rowCount > 0);  // one row: Delete stays pressable and says why it refuses
  int selection = SelectionAfterRefresh(previousSelection, rowCount);
  // Read again from the file, the rows may have moved: the slot that was selected stays so.
  for (int row = 0; keepSelectedSlot && row < rowCount; ++row) {
    if (m_rows[row].nSlot == previousSlot) selection = row;
  }
  lstMenus.SetListIndex(selection);
}

int frmMain::SelectedSlot() const {
  const int selected = lstMenus.ListIndex();
  return selected >= 0 && selected < static_cast<int>(m_rows.size()) ? m_rows[selected].nSlot : -1;
}

std::string frmMain::PickScenario() {
  sPickedScenario = "";
  Picker().ShowModal(this);
  return sPickedScenario;
}

bool frmMain::RefuseChangeWithoutMenus() {
  if (m_menusLoaded) return false;
  // Before the load has ended (its message box still up) there is nothing to say yet, and
  // nothing may change either.
  if (m_lookup != GameLookupOutcome::Success) {
    ShowGameLookupMessage(m_lookup, m_folderNotHeld);
  } else if (m_loadFailure) {
    ReportLoadFailure(*m_loadFailure, sGamePath + std::string(kUserCfgInGameFolder));
  }
  return true;
}

void frmMain::cmdAdd_Click() {
  // Where no game was found, Add lets the player show where it is.
  if (!m_menusLoaded && m_lookup != GameLookupOutcome::Success) {
    if (const auto folder = ChooseFolder(Hwnd(), ChooseGameFolderTitle())) TakeGameFolder(*folder);
    return;
  }
  if (RefuseChangeWithoutMenus()) return;
  CatchUpWithFile();
  const std::string picked = PickScenario();
  if (picked.empty()) return;
  CatchUpWithFile();  // the picker may have stood open for a while
  AddMenu(picked);
  RefreshList();
}

void frmMain::cmdEdit_Click() {
  if (RefuseChangeWithoutMenus()) return;
  CatchUpWithFile();
  const int slot = SelectedSlot();
  if (slot < 0) return;
  const std::string picked = PickScenario();
  if (picked.empty()) return;
  // Another program may have removed the slot while the picker was open: the list shows it gone.
  CatchUpWithFile();
  if (!colMenus.Slot(slot)->bEnabled()) return;
  EditMenu(slot, picked);
  RefreshList();
}

void frmMain::cmdDelete_Click() { lstMenus_KeyUp(VK_DELETE, 0); }

void frmMain::lstMenus_KeyUp(int keyCode, int /*shift*/) {
  if (keyCode != VK_DELETE) return;
  if (RefuseChangeWithoutMenus()) return;
  CatchUpWithFile();
  if (lstMenus.ListCount() < 2) return ReportLastMenuKept();
  const int slot = SelectedSlot();
  if (slot < 0) return;
  RemoveMenu(slot);
  RefreshList();
}

void frmMain::lblHyperLink_Click() { OpenLink(Hwnd(), std::string(kHomePageAddress)); }

void frmMain::TakeDroppedFiles(const std::vector<DroppedFile>& files) {
  if (m_picker && m_picker->IsLoaded()) return;
  // Where no game was found, a folder dropped on the window is taken as the game's; the files
  // dropped with it then come in, as with a game folder and files on the command line.
  if (!m_menusLoaded && m_lookup != GameLookupOutcome::Success) {
    const auto folder = std::find_if(files.begin(), files.end(), [](const DroppedFile& file) {
      return GetPathKind(file.path) == PathKind::Folder;
    });
    if (folder != files.end()) {
      std::vector<DroppedFile> others(files.begin(), folder);
      others.insert(others.end(), folder + 1, files.end());
      if (TakeGameFolder(folder->path) && !others.empty()) TakeDroppedFiles(others);
      return;
    }
  }
  if (RefuseChangeWithoutMenus()) return;
  std::vector<std::string> names;
  {
    BusyPointer busy;
    // Cleared however the import ends: a failure that escapes it must not leave a close waiting
    // for good, nor the log-off held.
    struct Importing {
      frmMain& form;
      explicit Importing(frmMain& f) : form(f) { form.m_importing = true; }
      ~Importing() {
        form.m_importing = false;
        SetShutdownBlockReason(form, "");
      }
    } importing(*this);
    names = ImportScenarios(
        files,
        [](const std::string& name) {
          const int answer = AskToReplaceScenario(name);
          BusyPointer::Show();  // the box put the arrow back
          return answer == IDYES  ? ReplaceAnswer::Replace
                 : answer == IDNO ? ReplaceAnswer::KeepBoth
                                  : ReplaceAnswer::LeaveOut;
        },
        &ReportRefused);
  }
  // The scenarios as menus, each as Add makes one, then one save: as many as there are free
  // slots, in order; those that got none are named in a box.
  CatchUpWithFile();
  const size_t added = std::min(names.size(), kMenuSlotCount - BuildMenuRows(colMenus).size());
  for (size_t n = 0; n < added; ++n) AddMenu(names[n]);
  if (added > 0) RefreshList();
  if (added < names.size()) ReportNoMenuFor({names.begin() + added, names.end()});
  if (std::exchange(m_closeAfterImport, false)) PostMessageA(Hwnd(), WM_CLOSE, 0, 0);
}
