#include "ui/LinkLabel.h"

#include <string>

#include "ui/ProgramIdentity.h"
#include "ui/res/resource.h"

LinkLabel::LinkLabel(Form& form, TwipsRect place, int tabIndex, COLORREF textColor)
    : Label(form, place, std::string(kHomePageAddress), tabIndex) {
  SetFont({.face = "MS Sans Serif", .points = 9.75, .underline = true, .latinOnly = true});
  SetForeColor(textColor);
  SetMouseCursorResource(IDC_LINK_HAND);
}
