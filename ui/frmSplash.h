#pragma once
// The splash window, the program's start-up window: a picture for four seconds or until a click,
// then the hand-over to the main window. A click on its link does the same and has the main
// window open the home page once it is up.
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/Form.h"
#include "platform/window/GdiHandles.h"
#include "platform/window/Timer.h"
#include "ui/LinkLabel.h"
#include "ui/frmMain.h"

class frmSplash : public Form {
 public:
  // The game folder given on the command line, if any, goes to the main window, and so do the
  // files given there, which it takes as dropped on it.
  explicit frmSplash(std::wstring gameFolderArgument = L"",
                     std::vector<std::wstring> droppedFiles = {});

  // How long the splash shows before the timer hands over, in milliseconds.
  static constexpr int kTimerInterval = 4000;

  // The main window once the hand-over has created it; nullptr before.
  frmMain* MainWindow() const { return m_main.get(); }
  // Why the main window could not be made or loaded; the hand-over then unloads the splash.
  std::exception_ptr StartUpFailure() const { return m_startUpFailure; }

 private:
  void Form_Click() override;
  void timTimer_Timer();
  void lblHyperLink_Click();

  UniqueBitmap m_picture;
  Timer timTimer{*this, kTimerInterval, true};
  // Between the plinth's meander and the picture's gold frame, whose inner edge it ends at: the
  // whole address is clear of both at every DPI.
  LinkLabel lblHyperLink{*this, {2055, 2700, 2385, 255}, 0, RGB(192, 192, 192)};  // light grey
  std::wstring m_gameFolderArgument;
  std::vector<std::wstring> m_droppedFiles;
  std::unique_ptr<frmMain> m_main;
  std::exception_ptr m_startUpFailure;
};
