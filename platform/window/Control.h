#pragma once
// The base of the controls that are child windows of a form. A control object belongs to its form
// object for the whole run and registers itself with it; its window exists while the form is
// loaded, and the form destroys it with its own. A control keeps its properties (place, caption,
// colours, font, enabled state): its window is made from them at every load, and a change while
// loaded goes to the window at once. What only the window holds (a list's rows and selection)
// ends with it.
#include <windows.h>

#include <string>

#include "platform/window/Form.h"

class Control : public FormPart {
 public:
  HWND Hwnd() const { return m_hwnd; }

 protected:
  // Controls without a tab stop (labels) still have a tab index: it orders their creation.
  Control(Form& form, TwipsRect place, int tabIndex);
  ~Control() override;

  // Makes the control's window at its place on the loaded form.
  void CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                   int id);
  // Routes the window's own messages through OnSubclassMessage until the window is destroyed.
  // Only for what reaches the control's window and not its form's: keys, the mouse on the
  // control, the dialog manager's questions (WM_GETDLGCODE).
  void Subclass();
  // The window class's own handling of a message.
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

  // The notifications that the form's window gets from this control.
  virtual void OnCommand(WORD /*code*/) {}
  virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
  virtual HCURSOR MouseCursor() const { return nullptr; }
  // The control moves to its place at the form's new DPI and takes the form's new font.
  void ApplyDpi() override;
  // A message of the subclassed window; return CallOriginal(...) for what is not handled.
  virtual LRESULT OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOriginal(message, wParam, lParam);
  }

  HWND m_hwnd = nullptr;
  TwipsRect m_place;

 private:
  bool OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Destroyed() override;
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();
  WNDPROC m_originalProc = nullptr;
};
