#include "ui/frmSplash.h"

#include "core/modMain.h"
#include "platform/Resources.h"
#include "ui/frmMain.h"
#include "ui/res/resource.h"

frmSplash::frmSplash()
    : Form({.caption = "",
            .border = FormBorder::FixedDialogNoCaption,
            .clientSize = {4500, 3000},
            .startUpPosition = StartUpPosition::CenterScreen,
            .showInTaskbar = false}),
      m_picture(LoadJpegResource(IDR_SPLASH_JPEG)) {
  SetPicture(m_picture.Get());
  SetIcon(LoadIconResource(IDI_TESSIVANE));
  timTimer.OnTimer = [this] { timTimer_Timer(); };
  lblHyperLink.OnClick = [this] { lblHyperLink_Click(); };
}

frmSplash::~frmSplash() = default;

void frmSplash::timTimer_Timer() {
  // Off first: no second hand-over can start, not even while a message box of the main window's
  // load runs its own loop.
  timTimer.SetEnabled(false);
  if (!m_main) m_main = std::make_unique<frmMain>(this);
  m_main->Show();
  Hide();
}

void frmSplash::Form_Click() { timTimer_Timer(); }

void frmSplash::lblHyperLink_Click() {
  Form_Click();
  bOpenLinkOnShow = true;
}
