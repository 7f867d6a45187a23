#pragma once
// Files dropped on a form's window, from Explorer, a Linux file manager under Wine, a zip folder
// opened in Explorer or a mail. Two ways in, both raising the form's Form_DropFiles with the
// files' paths:
// - the shell's file list (WM_DROPFILES, DragAcceptFiles), also let through to an elevated
//   program from a non-elevated Explorer;
// - an OLE drop target (RegisterDragDrop) that takes the shell's file list (CF_HDROP) and file
//   contents without a path (CFSTR_FILEDESCRIPTORW with CFSTR_FILECONTENTS, as a stream or
//   global memory). Those are written to files of a temporary folder first, which are removed
//   when the event has returned; the contents of one drop take at most the limit that the
//   caller gives, and each file no more than the size its descriptor gives.
// The pointer shows copy over the window; a disabled window (a modal dialog or a message box is
// up) takes no drop. The event runs from the window's message queue, after the drag source has
// been let go. The OLE target needs OLE on the window's thread (OleInitialize at start-up).
// Files that another start of the program hands over (FileHandOver.h) are taken as a drop too;
// those that come while the window is disabled wait until it is enabled again.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DroppedFile.h"
#include "platform/window/Form.h"

class FileDropTarget : public FormPart {
 public:
  // Takes drops on the form's window whenever it is loaded. Windows does not let OLE drops from a
  // program without administrator rights reach an elevated one: elevated, only the shell's file
  // list is taken. `limit`: the bytes that the file contents of one drop may take.
  FileDropTarget(Form& form, uint64_t limit);
  ~FileDropTarget() override;

  // From now until the window is destroyed, takes the files that starts of the program for this
  // game folder hand over.
  void TakeHandedFiles(const std::string& folder);

 private:
  class OleTarget;
  void Create(int id) override;
  void Destroyed() override;
  bool OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void Deliver(std::vector<DroppedFile> files, std::wstring spoolFolder);
  void DeliverHandedLater();

  uint64_t m_limit;
  OleTarget* m_ole = nullptr;
  bool m_delivering = false;
  std::vector<DroppedFile> m_pending;
  std::wstring m_pendingSpool;
  std::wstring m_handOverIdentity;  // of the game folder whose handed files the window takes
  std::vector<DroppedFile> m_handed;
};
