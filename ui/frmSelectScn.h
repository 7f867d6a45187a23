#pragma once
// The scenario picker: a modal dialog listing the game's two built-in menu scenarios and the
// scenario files of its scenario folder. OK hands the selected name back in sPickedScenario;
// Cancel leaves it as the caller set it (""). The window is destroyed whenever it closes, so
// every opening lists the folder afresh.
#include "platform/window/Button.h"
#include "platform/window/Form.h"
#include "platform/window/ListBox.h"
#include "ui/DecorativeLook.h"

class frmSelectScn : public Form {
 public:
  frmSelectScn();

 private:
  void Form_Load() override;
  void FillScenarioList();
  void cmdDone_Click();
  void cmdCancel_Click();

  DecorativeLook m_look{*this, kPickerFrame};
  ListBox lstScn{*this, {270, 300, 3255, 3180}, 1};
  Button cmdDone{*this, {2550, 3540, 975, 375}, "OK", 2};
  Button cmdCancel{*this, {1530, 3540, 975, 375}, "Cancel", 3};
};
