// The drop target on a form of the test's own: the shell's file list decoded into the callback
// (names the ANSI code page cannot hold included) while the window takes input, the OLE target
// registered except where Windows keeps Explorer's OLE drops from an elevated tool, and long work
// leaving the windows drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Virtualisation.h"
#include "platform/window/FileDrop.h"
#include "tests/support/FormTestSupport.h"
#include "tests/support/OleDropSupport.h"

using namespace test_support;

namespace {

class FileDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    form.Show();
    DrainMessages();
  }
  void TearDown() override {
    drops.Detach();
    form.Unload();
    DrainMessages();
    SetRunningUnderWineForTests(std::nullopt);
    OleUninitialize();
  }
  void Attach() {
    drops.Attach(form.Hwnd(), [this](const std::vector<DroppedFile>& files) {
      for (const DroppedFile& file : files) delivered.push_back(file.path + L"|" + file.name);
    });
  }
  RecordingForm form;
  FileDropTarget drops;
  std::vector<std::wstring> delivered;
};

TEST_F(FileDrop, TheShellsFileListReachesTheCallbackWhileTheWindowTakesInput) {
  Attach();
  const std::vector<std::wstring> paths = {L"C:\\dl\\Oasis.scn", L"C:\\dl\\\u03A9mega.zip"};
  for (const bool enabled : {true, false}) {
    delivered.clear();
    EnableWindow(form.Hwnd(), enabled);
    SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(FileList(paths)), 0);
    const std::vector<std::wstring> expected = {L"C:\\dl\\Oasis.scn|C:\\dl\\Oasis.scn",
                                                L"C:\\dl\\\u03A9mega.zip|C:\\dl\\\u03A9mega.zip"};
    EXPECT_EQ(delivered, enabled ? expected : std::vector<std::wstring>{}) << enabled;
  }
  EnableWindow(form.Hwnd(), TRUE);
  // Destroyed with the window: the form's own procedure comes back and nothing is delivered.
  form.Unload();
  delivered.clear();
  form.Show();
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(FileList(paths)), 0);
  EXPECT_TRUE(delivered.empty());
}

TEST_F(FileDrop, OleDropsExceptWhereWindowsKeepsThemFromAnElevatedTool) {
  // Wine says every program is elevated, but keeps nothing from it; Windows with UAC's split
  // token passes only the shell's file list, and only to a window without an OLE target.
  for (const bool underWine : {true, false}) {
    SetRunningUnderWineForTests(underWine);
    Attach();
    class Target : public IDropTarget {
     public:
      HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = this;
        return S_OK;
      }
      ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
      ULONG STDMETHODCALLTYPE Release() override { return 1; }
      HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override {
        return S_OK;
      }
      HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return S_OK; }
      HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
      HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override { return S_OK; }
    } other;
    const HRESULT second = RegisterDragDrop(form.Hwnd(), &other);
    if (second == S_OK) RevokeDragDrop(form.Hwnd());
    EXPECT_EQ(second == DRAGDROP_E_ALREADYREGISTERED, underWine) << underWine;
    EXPECT_TRUE(GetWindowLongPtrA(form.Hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) << underWine;
    drops.Detach();
  }
}

TEST_F(FileDrop, LongWorkLeavesTheWindowsDrawnAndShowsTheBusyPointer) {
  const HCURSOR before = GetCursor();
  {
    BusyPointer busy;
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    InvalidateRect(form.Hwnd(), nullptr, TRUE);
    KeepWindowsDrawn();
    EXPECT_FALSE(GetUpdateRect(form.Hwnd(), nullptr, FALSE));
  }
  EXPECT_EQ(GetCursor(), before);
}

}  // namespace
