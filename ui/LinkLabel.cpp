#include "ui/LinkLabel.h"

#include <string>

#include "platform/window/Resources.h"
#include "ui/HomePage.h"
#include "ui/res/resource.h"

LinkLabel::LinkLabel(Form& form, TwipsRect place, int tabIndex, COLORREF textColor)
    : Label(form, place, std::string(kHomePageAddress), tabIndex),
      m_hand(LoadCursorResource(IDC_LINK_HAND)) {
  SetFont({.face = "MS Sans Serif", .points = 9.75, .underline = true, .latinOnly = true});
  SetForeColor(textColor);
  SetMouseCursor(m_hand.Get());
}
