#pragma once
// A push button in the graphical style: drawn by the program in its back colour, with raised,
// pressed, focused and disabled looks. It is never a default button: Enter presses it only while
// it has the focus, and Escape does not press it.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/window/Control.h"

class Button : public Control {
 public:
  Button(Form& form, TwipsRect place, std::string caption, int tabIndex);

  void SetEnabled(bool enabled);
  // The face colour; none: the system's button face, as in high-contrast mode.
  void SetBackColor(COLORREF color);

  std::function<void()> OnClick;

 private:
  void Create(int id) override;
  void OnCommand(WORD code) override;
  void OnDrawItem(const DRAWITEMSTRUCT& item) override;
  LRESULT OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Press();

  std::string m_caption;
  bool m_enabled = true;
  std::optional<COLORREF> m_backColor;
};
