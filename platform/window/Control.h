#pragma once
// The base of the controls that are child windows of a form. A control object belongs to its form
// object for the whole run and registers itself with it; its window exists while the form is
// loaded, and the form destroys it with its own. A control keeps its properties (place, caption,
// colours, font, enabled state): its window is made from them at every load, and a change while
// loaded goes to the window at once. What only the window holds (a list's rows and selection)
// ends with it.
#include <windows.h>

#include <string>

#include "platform/window/Twips.h"

class Form;

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND Hwnd() const { return m_hwnd; }
  bool IsLoaded() const { return m_hwnd != nullptr; }
  int TabIndex() const { return m_tabIndex; }

 protected:
  // Controls without a tab stop (labels) still have a tab index: it orders their creation.
  Control(Form& form, TwipsRect place, int tabIndex);
  virtual ~Control();

  // Makes the control's window at its place on the loaded form.
  HWND CreateChild(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                   int id);
  // Routes the window's own messages through OnSubclassMessage until the window is destroyed.
  void Subclass();
  // The window class's own handling of a message.
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  // A message from the program to its own control that the subclass has nothing to add to, such
  // as one row of many being added: straight to the window class, past the subclass.
  LRESULT SendDirect(UINT message, WPARAM wParam, LPARAM lParam);

  // Called by the form.
  virtual void Create(int id) = 0;
  virtual void OnCommand(WORD /*code*/) {}
  virtual void OnDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
  virtual HCURSOR MouseCursor() const { return nullptr; }
  // The form is laid out at another DPI now: the control moves to its place there and takes the
  // form's new font.
  virtual void ApplyDpi();
  // A message of the subclassed window; return CallOriginal(...) for what is not handled.
  virtual LRESULT OnSubclassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallOriginal(message, wParam, lParam);
  }

  Form& m_form;
  HWND m_hwnd = nullptr;
  TwipsRect m_place;
  int m_tabIndex;

 private:
  friend class Form;
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();
  void Detached();
  WNDPROC m_originalProc = nullptr;
};
