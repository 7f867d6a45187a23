#pragma once
// Drops as Windows makes them, for tests: the shell's file list in global memory, a data object
// of the test's own (the shell's file list, or file contents without a path as a zip folder of
// Explorer or a mail gives them), and a drag that lets go at once over a window.
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/AnsiText.h"
#include "tests/support/FormTestSupport.h"

namespace test_support {

// The shell's file list of these paths, as Explorer hands it over.
inline HGLOBAL FileList(const std::vector<std::wstring>& paths) {
  size_t chars = 1;
  for (const std::wstring& path : paths) chars += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* next = reinterpret_cast<wchar_t*>(drop + 1);
  for (const std::wstring& path : paths) {
    std::memcpy(next, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    next += path.size() + 1;
  }
  GlobalUnlock(memory);
  return memory;
}

inline HGLOBAL GlobalOf(const void* bytes, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
  std::memcpy(GlobalLock(memory), bytes, size);
  GlobalUnlock(memory);
  return memory;
}

// A data object of the test's own: the shell's file list, or file contents without a path (as a
// zip folder of Explorer or a mail gives them), handed out in global memory or as streams.
class TestData : public IDataObject {
 public:
  enum class Kind { FileList, ContentsInMemory, ContentsAsStreams };
  TestData(Kind kind, std::vector<std::wstring> paths,
           std::map<std::string, std::string> contents = {})
      : m_kind(kind), m_paths(std::move(paths)), m_contents(std::move(contents)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    *object = (id == IID_IUnknown || id == IID_IDataObject) ? this : nullptr;
    return *object ? (AddRef(), S_OK) : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    *medium = {};
    if (format->cfFormat == CF_HDROP) {
      medium->tymed = TYMED_HGLOBAL;
      medium->hGlobal = FileList(m_paths);
    } else if (format->cfFormat == Descriptors()) {
      std::vector<char> group(sizeof(FILEGROUPDESCRIPTORW) +
                              m_contents.size() * sizeof(FILEDESCRIPTORW));
      auto* descriptors = reinterpret_cast<FILEGROUPDESCRIPTORW*>(group.data());
      descriptors->cItems = static_cast<UINT>(m_contents.size());
      UINT n = 0;
      for (const auto& [name, bytes] : m_contents) {
        const std::wstring wide = WideFromAnsi(name);
        wcsncpy(descriptors->fgd[n++].cFileName, wide.c_str(), MAX_PATH - 1);
      }
      medium->tymed = TYMED_HGLOBAL;
      medium->hGlobal = GlobalOf(group.data(), group.size());
    } else {
      auto item = m_contents.begin();
      std::advance(item, format->lindex);
      HGLOBAL memory = GlobalOf(item->second.data(), item->second.size());
      if (m_kind == Kind::ContentsInMemory) {
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
      } else {
        medium->tymed = TYMED_ISTREAM;
        CreateStreamOnHGlobal(memory, TRUE, &medium->pstm);
      }
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    if (m_kind == Kind::FileList) return format->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC;
    if (format->cfFormat == Descriptors()) return S_OK;
    if (format->cfFormat == Contents() && format->lindex >= 0 &&
        static_cast<size_t>(format->lindex) < m_contents.size())
      return S_OK;
    return DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
    out->ptd = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }

 private:
  static CLIPFORMAT Descriptors() {
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileGroupDescriptorW"));
  }
  static CLIPFORMAT Contents() {
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"FileContents"));
  }
  Kind m_kind;
  std::vector<std::wstring> m_paths;
  std::map<std::string, std::string> m_contents;
};

// A drag that lets go at once, over whatever window is under the pointer.
class DropAtOnce : public IDropSource {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    *object = (id == IID_IUnknown || id == IID_IDropSource) ? this : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return DRAGDROP_S_DROP; }
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// An OLE drag of the data, let go over the middle of the window; the effect it ended with.
inline DWORD DragOnto(HWND target, IDataObject* data) {
  RECT window;
  GetWindowRect(target, &window);
  SetForegroundWindow(target);
  const POINT middle{(window.left + window.right) / 2, (window.top + window.bottom) / 2};
  SetCursorPos(middle.x, middle.y);
  // The data goes to the window under the pointer: a window of another program (a test run
  // before this one) may still stand there for a moment.
  const auto ofAnotherProgram = [&] {
    DWORD process = 0;
    GetWindowThreadProcessId(WindowFromPoint(middle), &process);
    return process != GetCurrentProcessId();
  };
  for (int tries = 0; tries < 100 && ofAnotherProgram(); ++tries) {
    DrainMessages();
    Sleep(20);
  }
  DropAtOnce source;
  DWORD effect = DROPEFFECT_NONE;
  DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
  DrainMessages();
  return effect;
}

}  // namespace test_support
