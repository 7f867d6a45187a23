#pragma once
// A passive picture of a form: a bitmap of design pixels drawn at a fixed place, scaled to the
// window's DPI, above the form's own picture and below every control, taking no input (a click
// on it is a click on the form). The form draws it, so it needs no window and always stays under
// the child windows.
#include <windows.h>

#include "platform/window/Form.h"

class Picture : public FormPart {
 public:
  // The bitmap stays its caller's and must outlive its use here.
  Picture(Form& form, TwipsPoint position, HBITMAP bitmap = nullptr);
  ~Picture() override;

 private:
  void DrawBackground(HDC dc) const override;

  TwipsPoint m_position;
  HBITMAP m_bitmap;
};
