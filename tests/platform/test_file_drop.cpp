// The drop target on a form of the test's own: the shell's file list decoded into the callback
// (names the ANSI code page cannot hold included) while the window takes input, the OLE target
// registered except where Windows keeps Explorer's OLE drops from an elevated tool, and long work
// leaving the windows drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Virtualisation.h"
#include "platform/window/FileDrop.h"
#include "platform/window/FileHandOver.h"
#include "tests/support/FormTestSupport.h"
#include "tests/support/OleDropSupport.h"
#include "tests/support/TempGameFolder.h"

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

// Another start of the program hands its files to the window open on its game folder, however it
// names that folder; a window that a picker or box has disabled takes them once it is enabled
// again, as one drop.
TEST_F(FileDrop, HandedFilesAreTakenForTheWindowsOwnFolderWhenItIsEnabled) {
  TempFolder game, other;
  Attach();
  drops.TakeHandedFiles(game.Path());
  const std::vector<std::wstring> files = {L"C:\\dl\\Reef.scn", L"C:\\dl\\\u03A9mega.zip"};
  const std::vector<std::wstring> taken = {L"C:\\dl\\Reef.scn|C:\\dl\\Reef.scn",
                                           L"C:\\dl\\\u03A9mega.zip|C:\\dl\\\u03A9mega.zip"};
  std::string upperCase = game.Path();
  CharUpperBuffA(upperCase.data(), static_cast<DWORD>(upperCase.size()));
  for (const std::string& named : {game.Path(), upperCase + "\\", game.Path() + "\\.\\"}) {
    delivered.clear();
    EXPECT_TRUE(FileHandOver().HandToOpenWindow(named, files)) << named;
    DrainMessages();
    EXPECT_EQ(delivered, taken) << named;
  }
  EXPECT_FALSE(FileHandOver().HandToOpenWindow(other.Path(), files)) << "another game's";

  delivered.clear();
  EnableWindow(form.Hwnd(), FALSE);
  EXPECT_TRUE(FileHandOver().HandToOpenWindow(game.Path(), {files[0]}));
  EXPECT_TRUE(FileHandOver().HandToOpenWindow(game.Path(), {files[1]}));
  DrainMessages();
  EXPECT_TRUE(delivered.empty()) << "taken while disabled";
  EnableWindow(form.Hwnd(), TRUE);
  DrainMessages();
  EXPECT_EQ(delivered, taken) << "once enabled";

  drops.Detach();
  EXPECT_FALSE(FileHandOver().HandToOpenWindow(game.Path(), files)) << "detached";
}

// Any program may send the window a WM_COPYDATA: only a hand-over for its folder, in time and
// whole, is taken; anything else is refused without a crash.
TEST_F(FileDrop, HandOverMessagesThatAreNotWholeAreRefused) {
  TempFolder game, other;
  Attach();
  drops.TakeHandedFiles(game.Path());
  const auto message = [](ULONG_PTR tag, ULONGLONG takeBefore, const std::wstring& text,
                          size_t cut = 0) {
    std::string bytes(sizeof takeBefore + text.size() * sizeof(wchar_t), '\0');
    std::memcpy(bytes.data(), &takeBefore, sizeof takeBefore);
    std::memcpy(bytes.data() + sizeof takeBefore, text.data(), text.size() * sizeof(wchar_t));
    bytes.resize(bytes.size() - cut);
    return std::make_pair(tag, bytes);
  };
  const ULONGLONG later = GetTickCount64() + 60000;
  const std::wstring identity = FolderIdentity(game.Path()) + L'\0';
  ASSERT_NE(identity.size(), 1u);
  const ULONG_PTR tag = 0x54455353;
  const std::wstring file = std::wstring(L"C:\\dl\\Reef.scn") + L'\0';
  const struct {
    const char* what;
    std::pair<ULONG_PTR, std::string> sent;
    bool taken;
  } cases[] = {
      {"whole", message(tag, later, identity + file), true},
      {"another tag", message(tag + 1, later, identity + file), false},
      {"expired", message(tag, GetTickCount64() - 1, identity + file), false},
      {"another folder", message(tag, later, FolderIdentity(other.Path()) + L'\0' + file), false},
      {"no file", message(tag, later, identity), false},
      {"an empty file", message(tag, later, identity + file + L'\0'), false},
      {"no final NUL", message(tag, later, identity + file, 2), false},
      {"half a character", message(tag, later, identity + file, 1), false},
      {"no time", message(tag, later, L"", 4), false},
      {"nothing", message(tag, later, L"", 8), false},
  };
  for (const auto& c : cases) {
    delivered.clear();
    std::string bytes = c.sent.second;
    COPYDATASTRUCT data{c.sent.first, static_cast<DWORD>(bytes.size()),
                        bytes.empty() ? nullptr : bytes.data()};
    EXPECT_EQ(SendMessageW(form.Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)),
              c.taken ? TRUE : FALSE)
        << c.what;
    DrainMessages();
    EXPECT_EQ(delivered.size(), c.taken ? 1u : 0u) << c.what;
  }
}

}  // namespace
