#pragma once
// A label: one caption in its own font and colour on a transparent background (the form's
// picture shows through), with an optional mouse cursor of its own and a click event. The caption
// is one line, never wrapped: where the font actually chosen is wider than designed (another face
// stands in for a missing one, or the display's DPI rounds it up), it is made smaller until the
// caption fits the label's width (down to 6 points; a face that is still too wide is cut there).
// The label's window is as wide as its text, so that only a click on the text is a click.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/window/Control.h"
#include "platform/window/Fonts.h"
#include "platform/window/GdiHandles.h"

class Label : public Control {
 public:
  Label(Form& form, TwipsRect place, std::string caption, int tabIndex);

  // Without a font of its own the label uses its form's default font.
  void SetFont(const FontDesign& font);
  // Without a colour of its own the text has the system's button text colour.
  void SetForeColor(COLORREF color);
  // The program's CURSOR resource while the mouse is over the label, at the size for the window's
  // DPI; the label owns it. Throws WindowError when the resource is missing.
  void SetMouseCursorResource(int id);

  std::function<void()> OnClick;

 private:
  void Create(int id) override;
  void OnCommand(WORD code) override;
  void OnDrawItem(const DRAWITEMSTRUCT& item) override;
  HCURSOR MouseCursor() const override { return m_cursor.Get(); }
  void ApplyDpi() override;
  void MakeFontAndCursor();
  // Makes the font smaller while the caption is wider than the label's place, and the window the
  // text's size (no wider than the place).
  void FitCaption();

  static constexpr double kPointsStep = 0.75;  // a pixel at 96 DPI
  static constexpr double kSmallestPoints = 6;

  std::string m_caption;
  std::optional<FontDesign> m_fontDesign;
  UniqueFont m_font;
  int m_cursorResource = 0;
  UniqueCursor m_cursor;
  std::optional<COLORREF> m_foreColor;
};
