#include "ui/frmMain.h"

#include <string>
#include <utility>

#include "core/GameFolderLayout.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "platform/window/MsgBox.h"
#include "platform/window/Resources.h"
#include "ui/HomePage.h"
#include "ui/frmSelectScn.h"
#include "ui/modHyperlink.h"
#include "ui/res/resource.h"

namespace {

// "read-only", "in use by another program" and the UTF-16 reason describe the file; the system's
// texts are sentences.
std::string ReasonSentence(const FileResult& failure) {
  std::string sentence = failure.reason;
  if (sentence == "read-only" || sentence == "in use by another program" ||
      sentence == kReasonUtf16Text) {
    sentence = "The file is " + sentence;
  }
  return sentence + ".";
}

// The file the failure is about, when it is not user.cfg itself (its temporary file).
std::string OtherFilePrefix(const FileResult& failure, const std::string& cfgFile) {
  return failure.file != cfgFile ? failure.file + ":\r\n" : "";
}

void ReportSaveFailure(const FileResult& failure) {
  MsgBox("The menus could not be saved to\r\n" + sCfgFile + "\r\n\r\n" +
             OtherFilePrefix(failure, sCfgFile) + ReasonSentence(failure) +
             "\r\n\r\nThe file was left unchanged. The change will be saved with the next one "
             "that succeeds.",
         kMsgBoxError, "Cannot save menus");
}

void ReportLoadFailure(const FileResult& failure, const std::string& cfgFile) {
  // A first start whose default file could not be made names user.cfg and why: the failure
  // itself may be about its temporary file.
  if (failure.IsWriting()) {
    MsgBox("The game's menu settings could not be written to\r\n" + cfgFile + "\r\n\r\n" +
               OtherFilePrefix(failure, cfgFile) + ReasonSentence(failure) +
               "\r\n\r\nNo menus are shown, and nothing was written.",
           kMsgBoxError, "Cannot create menus");
    return;
  }
  MsgBox("The game's menu settings could not be read from\r\n" + failure.file + "\r\n\r\n" +
             ReasonSentence(failure) +
             "\r\n\r\nNo menus are shown, and the file will not be changed.",
         kMsgBoxError, "Cannot read menus");
}

void ReportPerUserCopy() {
  MsgBox("The game's folder cannot be written without administrator rights, so the menus are now "
         "kept in this file of yours:\r\n" +
             sCfgFile +
             "\r\n\r\nThe game reads it in place of its own user.cfg whenever it runs without "
             "administrator rights, as it normally does.",
         kMsgBoxInformation, "Menus kept for this user");
}

}  // namespace

frmMain::frmMain(Form* splash, std::wstring gameFolderArgument)
    : Form({.caption = "Pelrith's Tessivane",
            .border = FormBorder::FixedSingle,
            .clientSize = kMainWindowFrame.client,
            .startUpPosition = StartUpPosition::CenterScreen}),
      m_splash(splash),
      m_gameFolderArgument(std::move(gameFolderArgument)) {
  SetIcon(LoadIconResource(IDI_TESSIVANE));
  for (Button* button : {&cmdAdd, &cmdEdit, &cmdDelete}) button->SetBackColor(kSandColor);
  lstMenus.SetBackColor(kSandColor);

  cmdAdd.OnClick = [this] { cmdAdd_Click(); };
  cmdEdit.OnClick = [this] { cmdEdit_Click(); };
  cmdDelete.OnClick = [this] { cmdDelete_Click(); };
  lstMenus.OnKeyUp = [this](int keyCode, int shift) { lstMenus_KeyUp(keyCode, shift); };
  lblHyperLink.OnClick = [this] { lblHyperLink_Click(); };
}

frmMain::~frmMain() = default;

frmSelectScn& frmMain::Picker() {
  if (!m_picker) m_picker = std::make_unique<frmSelectScn>();
  return *m_picker;
}

void frmMain::Form_Load() {
  InitMenus();
  // A window loaded again starts from what it finds now.
  m_menusLoaded = false;
  m_loadFailure.reset();
  m_lookup = GameLookupOutcome::Success;
  m_lookup = LookUpGamePath(m_gameFolderArgument, &m_folderNotHeld);
  if (m_lookup != GameLookupOutcome::Success) return;

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
  if (madePerUserCopy) ReportPerUserCopy();
  RefreshList();
}

void frmMain::Form_Activate() {
  bAutoSave = true;
  if (bOpenLinkOnShow) {
    bOpenLinkOnShow = false;
    OpenLink(std::string(kHomePageAddress));
  }
  if (m_splash) m_splash->Unload();
}

void frmMain::Form_Unload() {
  // Closed before its first activation (which unloads the splash) the program would otherwise go
  // on with the hidden splash as its last window.
  if (m_splash) m_splash->Unload();
}

void frmMain::RefreshList() {
  const int previousSelection = lstMenus.ListIndex();
  lstMenus.Clear();
  m_rows = BuildMenuRows(colMenus);
  for (const MenuRow& row : m_rows) lstMenus.AddItem(row.sText);

  const int rowCount = static_cast<int>(m_rows.size());
  const MenuButtonStates states = ButtonStatesForRows(rowCount);
  cmdAdd.SetEnabled(states.bAdd);
  cmdEdit.SetEnabled(states.bEdit);
  cmdDelete.SetEnabled(states.bDelete);
  lstMenus.SetListIndex(SelectionAfterRefresh(previousSelection, rowCount));

  if (bAutoSave) {
    bool madePerUserCopy = false;
    const FileResult saved = SaveMenus(&madePerUserCopy);
    if (!saved.ok) ReportSaveFailure(saved);
    if (madePerUserCopy) ReportPerUserCopy();
  }
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
  const std::string picked = PickScenario();
  if (picked.empty()) return;
  AddMenu(picked);
  RefreshList();
}

void frmMain::cmdEdit_Click() {
  if (RefuseChangeWithoutMenus()) return;
  const int selected = lstMenus.ListIndex();
  if (selected < 0 || selected >= static_cast<int>(m_rows.size())) return;
  const int slot = m_rows[selected].nSlot;
  const std::string picked = PickScenario();
  if (picked.empty()) return;
  EditMenu(slot, picked);
  RefreshList();
}

void frmMain::cmdDelete_Click() { lstMenus_KeyUp(VK_DELETE, 0); }

void frmMain::lstMenus_KeyUp(int keyCode, int /*shift*/) {
  if (keyCode != VK_DELETE) return;
  if (RefuseChangeWithoutMenus()) return;
  if (lstMenus.ListCount() < 2) {
    MsgBox("You must leave at least one menu.", kMsgBoxExclamation, "Cannot remove");
    return;
  }
  const int selected = lstMenus.ListIndex();
  if (selected < 0 || selected >= static_cast<int>(m_rows.size())) return;
  RemoveMenu(m_rows[selected].nSlot);
  RefreshList();
}

void frmMain::lblHyperLink_Click() { OpenLink(std::string(kHomePageAddress)); }
