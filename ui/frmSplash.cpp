#include "ui/frmSplash.h"

#include <utility>

#include "core/modMain.h"
#include "platform/window/Resources.h"
#include "ui/res/resource.h"

frmSplash::frmSplash(std::wstring gameFolderArgument, std::vector<std::wstring> droppedFiles)
    : Form({.caption = "",
            .border = FormBorder::FixedDialogNoCaption,
            .clientSize = {4500, 3000},
            .startUpPosition = StartUpPosition::CenterScreen,
            .showInTaskbar = false}),
      m_picture(LoadJpegResource(IDR_SPLASH_JPEG)),
      m_gameFolderArgument(std::move(gameFolderArgument)),
      m_droppedFiles(std::move(droppedFiles)) {
  SetPicture(m_picture.Get());
  SetIcon(IDI_TESSIVANE);
  timTimer.OnTimer = [this] { timTimer_Timer(); };
  lblHyperLink.OnClick = [this] { lblHyperLink_Click(); };
}

void frmSplash::timTimer_Timer() {
  // Once only, whatever arrives meanwhile: the main window's load may show a message box, whose
  // loop still delivers the timer's tick and clicks on this window to us.
  if (m_main || m_startUpFailure) return;
  timTimer.SetEnabled(false);
  try {
    m_main = std::make_unique<frmMain>(this, m_gameFolderArgument, std::move(m_droppedFiles));
    m_main->Show();
  } catch (...) {
    // Without its main window the program cannot go on: the splash goes too, which ends the
    // message loop, and the start-up reports why.
    m_startUpFailure = std::current_exception();
    Unload();
    return;
  }
  Hide();
}

void frmSplash::Form_Click() { timTimer_Timer(); }

void frmSplash::lblHyperLink_Click() {
  Form_Click();
  bOpenLinkOnShow = true;
}
