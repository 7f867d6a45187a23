#pragma once
// The home-page link of the main window and the splash: the address itself, underlined in
// MS Sans Serif 9.75 pt on a transparent background, with a pointing hand over it.
#include <windows.h>

#include "platform/window/Label.h"

class LinkLabel : public Label {
 public:
  LinkLabel(Form& form, TwipsRect place, int tabIndex, COLORREF textColor);
};
