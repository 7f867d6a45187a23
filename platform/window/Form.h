#pragma once
// Forms: the program's top-level windows. A form is an object for the whole run; its window and
// controls exist only while it is loaded. A form class derives from Form, declares its controls as
// members (each control registers itself with the form it is given) and overrides the event
// procedures it handles:
//
//   class frmExample : public Form {
//    public:
//     frmExample() : Form({.caption = "Example", .clientSize = {4515, 3375}}) {
//       cmdGo.OnClick = [this] { cmdGo_Click(); };
//     }
//    private:
//     void Form_Load() override;
//     void cmdGo_Click();
//     Button cmdGo{*this, {240, 240, 975, 375}, "Go", 0};
//   };
//
// Controls are created in the order of their tab index. Loading creates the window hidden and
// runs Form_Load; showing a form that is not loaded loads it first. Form_Activate runs through
// the message queue each time the form becomes the program's active form, so it always runs after
// the procedure that showed the form has returned. When no form is loaded any more, the message
// loop ends (PostQuitMessage).
//
// Load, Show and ShowModal throw WindowError when the window or a control cannot be made, and
// pass on what Form_Load throws (the form is then not loaded). An exception that leaves any other
// event procedure goes no further: it is reported with ReportEventError.
//
// Every message of the form's window comes through the form's own window procedure: what concerns
// a control, a timer or the drop target is handed to that part of the form (FormPart).
#include <windows.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/Fonts.h"
#include "platform/window/GdiHandles.h"
#include "platform/window/Resources.h"
#include "platform/window/Twips.h"

class Form;
struct DroppedFile;

// The shift state of key events: the sum of the modifier keys held.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;

// The modifier keys held as the current message was sent (GetKeyState's high bit).
inline int CurrentShiftState() {
  return (GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) |
         (GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) | (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

// Runs the program's message loop until no form is loaded any more; returns the exit code.
int RunMessageLoop();
// Handles one message as the message loops do: the form's Form_KeyDown first, keyboard
// navigation (Tab between controls) for the forms' windows, then translation and dispatch.
void DispatchFormMessage(MSG& msg);
// Paints the thread's windows that wait to be drawn, so that long work leaves them drawn.
void KeepWindowsDrawn();

// A part of a form that lives as long as the form object: a control, a timer, the drop target. It
// joins its form when made and leaves it when destroyed; the form tells it when its window is made,
// laid out again and destroyed, and hands it the window's messages.
class FormPart {
 public:
  FormPart(const FormPart&) = delete;
  FormPart& operator=(const FormPart&) = delete;

 protected:
  // Parts are made in the order of their tab index, which for a control is also its tab order.
  explicit FormPart(Form& form, int tabIndex = 0);
  virtual ~FormPart();

  // The form's window was made: the part makes what it needs on it; `id` is its own.
  virtual void Create(int /*id*/) {}
  // The form's window is being destroyed (it still exists): what was made on it goes with it.
  virtual void Destroyed() {}
  // The form is laid out at another DPI now.
  virtual void ApplyDpi() {}
  // A message of the form's window, offered to each part in turn before the form handles it;
  // true with its result when this part has handled it.
  virtual bool OnFormMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                             LRESULT& /*result*/) {
    return false;
  }
  // Raises the form's Form_DropFiles.
  void RaiseDropFiles(const std::vector<DroppedFile>& files);

  Form& m_form;

 private:
  friend class Form;
  int m_tabIndex;
};

enum class FormBorder {
  FixedSingle,           // title bar with icon, caption, minimise and close buttons; no maximise
  FixedSingleNoCaption,  // a 1-pixel line and no title bar, so it cannot be moved
  FixedDialogNoCaption,  // a raised 3-pixel dialog frame and no title bar
};

enum class StartUpPosition { CenterScreen, CenterOwner };

// A picture that shows something (the splash's) stays in high-contrast mode; a decoration (a
// textured background) gives way to the system's window colour there.
enum class PictureKind { Content, Decoration };

// Every member has a default, so a form names only what it sets: {.caption = "...", ...}.
struct FormDesign {
  std::string caption{};
  FormBorder border = FormBorder::FixedSingle;
  TwipsSize clientSize{};
  StartUpPosition startUpPosition = StartUpPosition::CenterScreen;
  bool showInTaskbar = true;  // false: no taskbar button even without an owner
};

class Form {
 public:
  explicit Form(FormDesign design);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  // Destroys the window if it is still loaded; no event procedure runs then.
  virtual ~Form();

  // Creates the window (hidden) and its controls, then runs Form_Load. Does nothing when loaded.
  void Load();
  // Loads if needed, makes the window visible and active, and returns at once.
  void Show();
  // Loads if needed (the owner, or else the active window, owns the dialog), shows the form and
  // returns when it has been unloaded. Meanwhile the program's other visible windows are disabled,
  // so only this form takes input; afterwards the ones disabled here are enabled again and the
  // owner is active again. A WM_QUIT that arrives meanwhile unloads the form and is posted again.
  void ShowModal(Form* owner = nullptr);
  // Makes the window invisible; the form stays loaded.
  void Hide() { ShowWindow(m_hwnd, SW_HIDE); }
  // Destroys the window and its controls. Does nothing when the form is not loaded.
  void Unload();

  bool IsLoaded() const { return m_hwnd != nullptr; }
  const FormDesign& Design() const { return m_design; }
  bool IsVisible() const { return IsWindowVisible(m_hwnd); }
  HWND Hwnd() const { return m_hwnd; }

  // The picture drawn from the top-left corner of the client area at the display's scale, clipped
  // by it. The bitmap stays its caller's and must outlive its use here; nullptr removes it.
  void SetPicture(HBITMAP picture, PictureKind kind = PictureKind::Content);
  // Whether the picture is drawn now (there is one, and it is not a decoration in high contrast).
  bool PictureShown() const;
  // A bitmap of design pixels drawn with its top-left corner at `at`, scaled to the window's DPI,
  // above the form's picture and below every control, taking no input (a click on it is a click
  // on the form). The form draws it, so it needs no window and always stays under the child
  // windows. The bitmap stays its caller's and must outlive the form's use of it.
  void AddPicture(TwipsPoint at, HBITMAP bitmap);
  // The ICON resource of the title bar and taskbar button, taken at the sizes of the window's DPI.
  void SetIcon(int iconId);

  // How many forms are loaded in the whole program.
  static int LoadedFormCount();

  // The DPI that the window is laid out at: its screen's (96 before it is first loaded).
  int Dpi() const { return m_dpi; }
  // A place in twips as pixels at the window's DPI.
  PixelRect Pixels(const TwipsRect& place) const { return ToPixels(place, m_dpi); }

  // For the controls of this form.
  HFONT DefaultFont() const { return m_font.Get(); }
  // A solid brush of this colour, made once and owned by the form.
  HBRUSH BrushFor(COLORREF color);
  // Draws what lies under the child windows in the rectangle `area` (client coordinates) into
  // `dc`, whose origin is that rectangle's top-left corner: the button face, the picture and the
  // pictures above it. Transparent controls draw their own background with it.
  void PaintBackground(HDC dc, const RECT& area);

 protected:
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_Click() {}
  // Raised through the queue as well when the form becomes active again after a window of another
  // program, or a message box, was: something may have changed elsewhere meanwhile.
  virtual void Form_Reactivate() {}
  // The user asks to close the window (its close button, Alt+F4); setting cancel keeps it open.
  // Unload called by the program itself does not ask.
  virtual void Form_QueryUnload(bool& /*cancel*/) {}
  // The window is about to be destroyed by Unload (also when the user closes it).
  virtual void Form_Unload() {}
  // The user logs off or Windows shuts down (WM_QUERYENDSESSION): setting cancel asks Windows to
  // wait. Windows waits for the answer, so no message box may be shown here.
  virtual void Form_QueryEndSession(bool& /*cancel*/) {}
  // The session ends after all (ending) or goes on after a window asked it to wait.
  virtual void Form_EndSession(bool /*ending*/) {}
  // A key pressed in the window, whichever of its controls has the focus, before that control
  // sees it; true when the form used it and the control must not get it.
  virtual bool Form_KeyDown(int /*keyCode*/, int /*shift*/) { return false; }
  // Files dropped on the window or handed over to it (FileDrop.h).
  virtual void Form_DropFiles(const std::vector<DroppedFile>& /*files*/) {}

 private:
  friend class FormPart;
  friend void DispatchFormMessage(MSG& msg);

  // Posted on activation, so that Form_Activate runs after the procedure that showed the form.
  // In WM_APP's range: WM_USER's belongs to the dialog manager (DM_GETDEFID), whose
  // IsDialogMessage our loops call.
  static constexpr UINT kActivateMessage = WM_APP + 1;
  // Posted when the active form becomes active again after another program's window or a message
  // box.
  static constexpr UINT kReactivateMessage = WM_APP + 2;

  static ATOM WindowClass();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Create(HWND owner);
  void Paint(HDC dc);
  void DrawBackdrop(HDC dc, const RECT& area);
  // Where a bitmap of design pixels (made for 96 DPI) with its top-left corner at `at` is drawn.
  RECT PictureRect(TwipsPoint at, HBITMAP bitmap) const;
  // Draws the bitmap at that place, scaled once for this DPI (ScaleBitmap) and owned by the form.
  void DrawPicture(HDC dc, TwipsPoint at, HBITMAP bitmap);
  // Lays the window out again at `dpi`: size, fonts, controls, pictures. `suggested` is where
  // Windows proposes to put the window (WM_DPICHANGED), or nullptr to keep its top-left corner.
  void ApplyDpi(int dpi, const RECT* suggested);
  RECT WindowRectAt(int dpi) const;
  void ApplyIcon();
  void OnActivate(WPARAM wParam);
  void RestoreFocus();
  void OnDestroyed();
  void EndModal();

  FormDesign m_design;
  HWND m_hwnd = nullptr;
  HBITMAP m_picture = nullptr;
  PictureKind m_pictureKind = PictureKind::Content;
  int m_dpi = kDesignDpi;
  std::vector<std::pair<HBITMAP, UniqueBitmap>> m_scaled;  // the pictures at m_dpi
  int m_iconId = 0;
  WindowIcons m_icons;
  UniqueFont m_font;
  std::vector<std::pair<COLORREF, UniqueBrush>> m_brushes;
  std::vector<FormPart*> m_parts;
  std::vector<std::pair<TwipsPoint, HBITMAP>> m_pictures;
  HWND m_focusChild = nullptr;    // the control that had the focus when the form was left
  bool m_leftButtonDown = false;  // a click is a press and a release on the form itself
  bool m_modal = false;
  std::vector<HWND> m_disabledWindows;
};
