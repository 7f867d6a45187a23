#include "ui/frmSelectScn.h"

#include <string>

#include "core/modMain.h"
#include "game/modScenarioFolder.h"

frmSelectScn::frmSelectScn()
    : Form({.caption = "",
            .border = FormBorder::FixedSingleNoCaption,
            .clientSize = kPickerFrame.client,
            .startUpPosition = StartUpPosition::CenterOwner}) {
  lstScn.SetBackColor(kSandColor);
  for (Button* button : {&cmdDone, &cmdCancel}) button->SetBackColor(kSandColor);
  cmdDone.OnClick = [this] { cmdDone_Click(); };
  cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmSelectScn::Form_Load() { FillScenarioList(); }

void frmSelectScn::FillScenarioList() {
  // A scenario folder that is missing or cannot be read lists no files: the built-in scenarios
  // are offered all the same.
  for (const std::string& row : ListScenarioRows(sGamePath)) lstScn.AddItem(row);
  lstScn.SetListIndex(0);
}

void frmSelectScn::cmdDone_Click() {
  // The list never loses its selection; without one there is no name to hand back.
  const int selected = lstScn.ListIndex();
  if (selected >= 0) sPickedScenario = lstScn.List(selected);
  Unload();
}

void frmSelectScn::cmdCancel_Click() { Unload(); }
