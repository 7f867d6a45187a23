#include "ui/frmMain.h"

#include <string>
#include <utility>

#include "core/GameFolderLayout.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "game/ScenarioImport.h"
#include "platform/window/Resources.h"
#include "platform/window/ShutdownReason.h"
#include "ui/PlayerMessages.h"
#include "ui/ProgramIdentity.h"
#include "ui/ScenarioDrop.h"
#include "ui/frmSelectScn.h"
#include "ui/modHyperlink.h"
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
  WireArrangement();
}

frmMain::~frmMain() = default;

frmSelectScn& frmMain::Picker() {
  if (!m_picker) m_picker = std::make_unique<frmSelectScn>();
  return *m_picker;
}

void frmMain::Form_Load() {
  m_drops.Attach(Hwnd(), kLargestScenario,
                 [this](const std::vector<DroppedFile>& files) { TakeDroppedFiles(files); });
  InitMenus();
  // A window loaded again starts from what it finds now.
  m_menusLoaded = false;
  m_loadFailure.reset();
  m_history = MenuHistory();
  m_lookup = LookUpGamePath(m_gameFolderArgument, &m_folderNotHeld);
  if (m_lookup != GameLookupOutcome::Success) {
    ShowGameLookupMessage(m_lookup, m_folderNotHeld);
    return;
  }

  bool madePerUserCopy = false;
  FileResult loaded = LoadMenus(&madePerUserCopy);
  if (!loaded.ok) {
    // Nothing was read, so nothing may be written: the window stays empty, as after a failed
    // lookup, rather than offering menus that would replace the user's own.
    m_loadFailure = loaded;
    ReportLoadFailure(loaded, sGamePath + std::string(kUserCfgInGameFolder));
    return;
  }
  m_menusLoaded = true;
  m_history.Reset(colMenus);
  if (madePerUserCopy) ReportPerUserCopy();
  RefreshList();
}

void frmMain::Form_Activate() {
  bAutoSave = true;
  if (bOpenLinkOnShow) {
    bOpenLinkOnShow = false;
    OpenLink(Hwnd(), std::string(kHomePageAddress));
  }
  if (m_splash) m_splash->Unload();
  CatchUpWithFile();
  if (!m_droppedFiles.empty()) {
    std::vector<DroppedFile> files;
    for (std::wstring& path : std::exchange(m_droppedFiles, {})) files.push_back({path, path});
    TakeDroppedFiles(files);
  }
}

void frmMain::Form_Reactivate() { CatchUpWithFile(); }

void frmMain::Form_QueryUnload(bool& /*cancel*/) {
  // Every change was saved when it was made, unless that save failed: try once more, and when it
  // still fails, let the player choose between another try and losing the change.
  if (!m_menusLoaded || !HasUnsavedChange()) return;
  for (;;) {
    if (CatchUpWithFile()) return;  // the file was changed elsewhere, and wins; said
    bool madePerUserCopy = false;
    const FileResult saved = SaveMenus(&madePerUserCopy);
    if (saved.ok) {
      if (madePerUserCopy) ReportPerUserCopy();
      return;
    }
    if (saved.kind == FailureKind::ChangedElsewhere) continue;
    if (!AskToTrySavingAgain(saved)) return;
  }
}

void frmMain::Form_QueryEndSession(bool& cancel) {
  // A log-off or shut-down: a change whose save failed is saved now. When it still cannot be, the
  // session is asked to wait, with the reason Windows shows the player; no box, since Windows is
  // waiting for the answer (a per-user copy made now goes unsaid; the game reads it all the same).
  // Lines that another program wrote meanwhile win over the change, as at close.
  if (!m_menusLoaded || !HasUnsavedChange()) return;
  std::string reason;
  if (!CatchUpWithFile(true)) {
    const FileResult saved = SaveMenus();
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
  const MenusReread reread = RereadMenusIfChanged();
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
  bool madePerUserCopy = false;
  const FileResult saved = SaveMenus(&madePerUserCopy);
  // Slots that another program set meanwhile are not overwritten: the list shows them instead.
  if (!saved.ok && saved.kind == FailureKind::ChangedElsewhere && CatchUpWithFile()) return;
  if (!saved.ok) ReportSaveFailure(saved);
  if (madePerUserCopy) ReportPerUserCopy();
}

void frmMain::ShowRows(bool keepSelectedSlot) {
  const int previousSelection = lstMenus.ListIndex();
  const bool hadRow = previousSelection >= 0 && previousSelection < static_cast<int>(m_rows.size());
  const int previousSlot = hadRow ? m_rows[previousSelection].nSlot : -1;
  lstMenus.Clear();
  m_rows = BuildMenuRows(colMenus);
  for (const MenuRow& row : m_rows) lstMenus.AddItem(row.sText);

  const int rowCount = static_cast<int>(m_rows.size());
  const MenuButtonStates states = ButtonStatesForRows(rowCount);
  cmdAdd.SetEnabled(states.bAdd);
  cmdEdit.SetEnabled(states.bEdit);
  cmdDelete.SetEnabled(states.bDelete);
  int selection = SelectionAfterRefresh(previousSelection, rowCount);
  // Read again from the file, the rows may have moved: the slot that was selected stays so.
  for (int row = 0; keepSelectedSlot && row < rowCount; ++row) {
    if (m_rows[row].nSlot == previousSlot) selection = row;
  }
  lstMenus.SetListIndex(selection);
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
  const int selected = lstMenus.ListIndex();
  if (selected < 0 || selected >= static_cast<int>(m_rows.size())) return;
  const int slot = m_rows[selected].nSlot;
  const std::string picked = PickScenario();
  if (picked.empty()) return;
  // Another program may have removed the slot while the picker was open: the list shows it gone.
  CatchUpWithFile();
  const clsGameMenu* menu = colMenus.Slot(slot);
  if (!menu || !menu->bEnabled()) return;
  EditMenu(slot, picked);
  RefreshList();
}

void frmMain::cmdDelete_Click() { lstMenus_KeyUp(VK_DELETE, 0); }

void frmMain::lstMenus_KeyUp(int keyCode, int /*shift*/) {
  if (keyCode != VK_DELETE) return;
  if (RefuseChangeWithoutMenus()) return;
  CatchUpWithFile();
  if (lstMenus.ListCount() < 2) {
    ReportLastMenuKept();
    return;
  }
  const int selected = lstMenus.ListIndex();
  if (selected < 0 || selected >= static_cast<int>(m_rows.size())) return;
  RemoveMenu(m_rows[selected].nSlot);
  RefreshList();
}

void frmMain::lblHyperLink_Click() { OpenLink(Hwnd(), std::string(kHomePageAddress)); }

void frmMain::TakeDroppedFiles(const std::vector<DroppedFile>& files) {
  if (m_picker && m_picker->IsLoaded()) return;
  if (RefuseChangeWithoutMenus()) return;
  AddDroppedMenus(ImportDroppedScenarios(files));
}

void frmMain::AddDroppedMenus(const std::vector<std::string>& names) {
  CatchUpWithFile();
  std::vector<std::string> withoutMenu;
  for (const std::string& name : names) {
    if (BuildMenuRows(colMenus).size() < kMenuSlotCount) {
      AddMenu(name);
    } else {
      withoutMenu.push_back(name);
    }
  }
  if (withoutMenu.size() < names.size()) RefreshList();
  if (!withoutMenu.empty()) ReportNoMenuFor(withoutMenu);
}
