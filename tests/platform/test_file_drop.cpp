// The drop target on a form of the test's own: the shell's file list decoded into the form's
// Form_DropFiles (names the ANSI code page cannot hold included) while the window takes input, the
// OLE target registered except where Windows keeps Explorer's OLE drops from an elevated tool, file
// contents of a source that cannot be trusted taken only within their sizes and the drop's limit,
// and long work leaving the windows drawn.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/AnsiText.h"

#include "platform/VirtualStore.h"
#include "platform/window/BusyPointer.h"
#include "platform/window/FileDrop.h"
#include "platform/window/FileHandOver.h"
#include "tests/support/FormTestSupport.h"
#include "tests/support/OleDropSupport.h"
#include "tests/support/TempGameFolder.h"

using namespace test_support;

namespace {

// A form that takes drops as the main window does, with file contents of at most 100 bytes a drop.
class DropForm : public RecordingForm {
 public:
  FileDropTarget drops{*this, 100};
  std::function<void(const std::vector<DroppedFile>&)> onDrop;

 protected:
  void Form_DropFiles(const std::vector<DroppedFile>& files) override { onDrop(files); }
};

class FileDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    form.onDrop = [this](const std::vector<DroppedFile>& files) {
      for (const DroppedFile& file : files) delivered.push_back(file.path + L"|" + file.name);
    };
    form.Show();
    DrainMessages();
  }
  void TearDown() override {
    form.Unload();
    DrainMessages();
    SetRunningUnderWineForTests(std::nullopt);
    OleUninitialize();
  }
  DropForm form;
  std::vector<std::wstring> delivered;
};

TEST_F(FileDrop, TheShellsFileListReachesTheFormWhileTheWindowTakesInput) {
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
  // Loaded again, the window takes drops again.
  form.Unload();
  delivered.clear();
  form.Show();
  SendMessageW(form.Hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(FileList(paths)), 0);
  EXPECT_EQ(delivered.size(), 2u);
}

TEST_F(FileDrop, OleDropsExceptWhereWindowsKeepsThemFromAnElevatedTool) {
  // Wine says every program is elevated, but keeps nothing from it; Windows with UAC's split
  // token passes only the shell's file list, and only to a window without an OLE target.
  form.Unload();
  for (const bool underWine : {true, false}) {
    SetRunningUnderWineForTests(underWine);
    form.Show();
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
    form.Unload();
  }
}

// File contents as a source that cannot be trusted hands them out: its descriptors and contents
// exactly as given, however much they disagree.
struct Untrusted {
  std::wstring name;  // up to the whole array, then without a NUL
  std::optional<uint64_t> size;
  std::string bytes;
  // More memory after the bytes, as GlobalSize may give, or a stream going on after them.
  std::string after = "";
};
class UntrustedContents : public TestData {
 public:
  UntrustedContents(Kind kind, std::vector<Untrusted> items, std::optional<UINT> claimed = {})
      : TestData(kind, {}), m_kind(kind), m_items(std::move(items)), m_claimed(claimed) {}
  std::vector<LONG> asked;  // the files whose contents were asked for

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    *medium = {};
    medium->tymed = TYMED_HGLOBAL;
    if (format->cfFormat == Format(L"FileGroupDescriptorW")) {
      std::vector<char> group(offsetof(FILEGROUPDESCRIPTORW, fgd) +
                              m_items.size() * sizeof(FILEDESCRIPTORW));
      auto* descriptors = reinterpret_cast<FILEGROUPDESCRIPTORW*>(group.data());
      descriptors->cItems = m_claimed.value_or(static_cast<UINT>(m_items.size()));
      for (size_t n = 0; n < m_items.size(); ++n) {
        FILEDESCRIPTORW& file = descriptors->fgd[n];
        const Untrusted& item = m_items[n];
        std::memcpy(file.cFileName, item.name.data(),
                    std::min<size_t>(item.name.size(), MAX_PATH) * sizeof(wchar_t));
        file.dwFlags = item.size ? FD_FILESIZE : 0;
        file.nFileSizeLow = static_cast<DWORD>(item.size.value_or(0));
        file.nFileSizeHigh = static_cast<DWORD>(item.size.value_or(0) >> 32);
      }
      medium->hGlobal = GlobalOf(group.data(), group.size());
      return S_OK;
    }
    asked.push_back(format->lindex);
    const std::string memory = m_items[format->lindex].bytes + m_items[format->lindex].after;
    medium->hGlobal = GlobalOf(memory.data(), memory.size());
    if (m_kind == Kind::ContentsAsStreams) {
      medium->tymed = TYMED_ISTREAM;
      CreateStreamOnHGlobal(std::exchange(medium->hGlobal, nullptr), TRUE, &medium->pstm);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    const bool ok = format->cfFormat == Format(L"FileGroupDescriptorW") ||
                    (format->cfFormat == Format(L"FileContents") && format->lindex >= 0 &&
                     static_cast<size_t>(format->lindex) < m_items.size());
    return ok ? S_OK : DV_E_FORMATETC;
  }

 private:
  static CLIPFORMAT Format(const wchar_t* name) {
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
  }
  Kind m_kind;
  std::vector<Untrusted> m_items;
  std::optional<UINT> m_claimed;
};

// Dropped file contents reach the callback as files holding exactly the bytes their descriptors
// give, within the limit the window was given for one drop: memory beyond the size is not
// written; contents that disagree with their size are not taken; contents beyond the limit are
// marked too large (a size beyond it is not even asked for), and once one went beyond it the drop
// takes nothing more; descriptors beyond the memory that holds them, and names beyond their array,
// are not read.
TEST_F(FileDrop, FileContentsAreTakenWithinTheirSizesAndTheDropsLimit) {
  using Kind = TestData::Kind;
  const std::wstring longName = std::wstring(MAX_PATH - 9, L'x') + L"\\Reef.scn";
  struct Case {
    const char* what;
    UntrustedContents data;
    std::vector<std::string> delivered;  // name|bytes, or |none when no file, |too large
    std::vector<LONG> asked;
  };
  Case cases[] = {
      {"memory larger than the file, sizes given or not",
       UntrustedContents(Kind::ContentsInMemory,
                         {{L"maps\\Reef.scn", 4, "reef", "trailing"}, {L"Dune.scn", {}, "dune"}}),
       {"maps\\Reef.scn|reef", "Dune.scn|dune"},
       {0, 1}},
      {"streams that agree with their sizes, or have none",
       UntrustedContents(Kind::ContentsAsStreams,
                         {{L"Reef.scn", 4, "reef"}, {L"Dune.scn", {}, "dune"}}),
       {"Reef.scn|reef", "Dune.scn|dune"},
       {0, 1}},
      {"a stream longer than its size, one shorter, then one that agrees",
       UntrustedContents(Kind::ContentsAsStreams, {{L"Long.scn", 4, "reef", "more"},
                                                   {L"Short.scn", 10, "reef"},
                                                   {L"Fine.scn", 4, "fine"}}),
       {"Long.scn|none", "Short.scn|none", "Fine.scn|fine"},
       {0, 1, 2}},
      {"memory smaller than its size",
       UntrustedContents(Kind::ContentsInMemory, {{L"Short.scn", 10, "reef", ""}}),
       {"Short.scn|none"},
       {0}},
      {"a size beyond the limit, then one within it",
       UntrustedContents(Kind::ContentsInMemory,
                         {{L"Huge.scn", uint64_t{1} << 40, ""}, {L"Small.scn", 4, "tiny"}}),
       {"Huge.scn|too large", "Small.scn|too large"},
       {}},
      {"no size, a stream going beyond the limit",
       UntrustedContents(Kind::ContentsAsStreams,
                         {{L"Endless.scn", {}, std::string(101, 'e')}, {L"Small.scn", 4, "tiny"}}),
       {"Endless.scn|too large", "Small.scn|too large"},
       {0}},
      {"within the limit each, beyond it together",
       UntrustedContents(Kind::ContentsInMemory, {{L"A.scn", 60, std::string(60, 'a')},
                                                  {L"B.scn", {}, std::string(60, 'b')}}),
       {"A.scn|" + std::string(60, 'a'), "B.scn|too large"},
       {0, 1}},
      {"more descriptors claimed than the memory holds",
       UntrustedContents(Kind::ContentsInMemory, {{L"Reef.scn", 4, "reef"}}, 1000),
       {"Reef.scn|reef"},
       {0}},
      {"a name filling its whole array, without a NUL",
       UntrustedContents(Kind::ContentsInMemory,
                         {{longName + L"overrun", 4, "reef"}, {L"Dune.scn", 4, "dune"}}),
       {AnsiFromWide(longName).value_or("?") + "|reef", "Dune.scn|dune"},
       {0, 1}},
      {"a device's name, which would send the bytes to a serial port",
       UntrustedContents(Kind::ContentsInMemory,
                         {{L"COM1.scn", 4, "reef"}, {L"Dune.scn", 4, "dune"}}),
       {"COM1.scn|none", "Dune.scn|dune"},
       {1}},
  };
  std::vector<std::string> received, spools;
  form.onDrop = [&](const std::vector<DroppedFile>& files) {
    for (const DroppedFile& file : files) {
      const std::string path = AnsiFromWide(file.path).value_or("?");
      spools.push_back(path.substr(0, path.find_last_of('\\', path.find_last_of('\\') - 1)));
      const std::string bytes = file.tooLarge      ? "too large"
                                : PathExists(path) ? ReadBytes(path)
                                                   : "none";
      received.push_back(AnsiFromWide(file.name).value_or("?") + "|" + bytes);
    }
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    received.clear();
    EXPECT_EQ(DragOnto(form.Hwnd(), &c.data), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(PumpUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received, c.delivered);
    EXPECT_EQ(c.data.asked, c.asked);
    // Once the callback has returned, nothing of the contents is left on disk.
    for (const std::string& spool : std::exchange(spools, {})) EXPECT_FALSE(PathExists(spool));
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
  form.drops.TakeHandedFiles(game.Path());
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

  form.Unload();
  EXPECT_FALSE(FileHandOver().HandToOpenWindow(game.Path(), files)) << "unloaded";
}

// Any program may send the window a WM_COPYDATA: only a hand-over for its folder, in time and
// whole, is taken; anything else is refused without a crash.
TEST_F(FileDrop, HandOverMessagesThatAreNotWholeAreRefused) {
  TempFolder game, other;
  form.drops.TakeHandedFiles(game.Path());
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
