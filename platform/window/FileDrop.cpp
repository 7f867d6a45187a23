#include "platform/window/FileDrop.h"
// Before <shlobj.h>, whose COM interface Folder PathKind::Folder would otherwise shadow.
#include "platform/FileSystem.h"

#include <windows.h>

#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>

#include "platform/AnsiText.h"
#include "platform/ComApartment.h"
#include "platform/FileFailures.h"
#include "platform/PathText.h"
#include "platform/UniqueHandle.h"
#include "platform/VirtualStore.h"
#include "platform/window/FileHandOver.h"
#include "platform/window/WindowError.h"

namespace {

// The files of a WM_COPYDATA message that hands them over for the folder of this identity, in
// time; nothing for any other message.
std::optional<std::vector<std::wstring>> HandedFiles(const COPYDATASTRUCT& message,
                                                     const std::wstring& identity) {
  // Any program may send any bytes: each is checked before it is believed.
  ULONGLONG takeBefore = 0;
  if (identity.empty() || message.dwData != kHandOverTag || !message.lpData ||
      message.cbData < sizeof takeBefore || (message.cbData - sizeof takeBefore) % 2) {
    return std::nullopt;
  }
  std::memcpy(&takeBefore, message.lpData, sizeof takeBefore);
  std::wstring text((message.cbData - sizeof takeBefore) / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), static_cast<const char*>(message.lpData) + sizeof takeBefore,
              text.size() * sizeof(wchar_t));
  if (GetTickCount64() > takeBefore || text.empty() || text.back() != L'\0') return std::nullopt;
  std::vector<std::wstring> parts;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find(L'\0', start);
    parts.push_back(text.substr(start, end - start));
  }
  if (parts.size() < 2 || parts.front() != identity) return std::nullopt;
  parts.erase(parts.begin());
  if (std::ranges::any_of(parts, &std::wstring::empty)) return std::nullopt;
  return parts;
}

// WM_COPYGLOBALDATA, which carries the shell's file list across processes.
constexpr UINT kCopyGlobalData = 0x0049;
// The clipboard formats of file contents without a path (CFSTR_FILEDESCRIPTORW and
// CFSTR_FILECONTENTS, which the ANSI headers spell as ANSI text).
constexpr wchar_t kFileDescriptors[] = L"FileGroupDescriptorW";
constexpr wchar_t kFileContents[] = L"FileContents";
constexpr WPARAM kHandedFiles = 1;  // DeliverMessage's parameter for handed files

UINT DeliverMessage() {
  static const UINT message = RegisterWindowMessageW(L"TessivaneFilesDropped");
  return message;
}

CLIPFORMAT Format(const wchar_t* name) {
  return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
}

FORMATETC FormatOf(CLIPFORMAT format, LONG index, DWORD media) {
  return {format, nullptr, DVASPECT_CONTENT, index, media};
}

// Run as administrator while Explorer runs without (UAC's split token): Windows then keeps
// Explorer's OLE drops from the program. (Wine says so of every program, but keeps nothing
// apart.)
bool ShellRunsBelowUs() {
  if (RunningUnderWine()) return false;
  UniqueKernelObject token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) return false;
  TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
  DWORD size = 0;
  return GetTokenInformation(token.Get(), TokenElevationType, &type, sizeof type, &size) &&
         type == TokenElevationTypeFull;
}

// An elevated window still gets the shell's file list from Explorer, which runs without
// administrator rights, through Windows' message filter.
void LetShellMessagesThrough(HWND window) {
  for (UINT message :
       {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
    ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
  }
}

std::vector<DroppedFile> FilesOf(HDROP drop) {
  std::vector<DroppedFile> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT n = 0; n < count; ++n) {
    std::wstring path(DragQueryFileW(drop, n, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, n, path.data(), static_cast<UINT>(path.size())));
    if (!path.empty()) files.push_back({path, path});
  }
  return files;
}

// A descriptor's name, which may carry folders of the source. The array need not end in NUL.
std::wstring NameOf(const FILEDESCRIPTORW& file) {
  const wchar_t* end = std::find(std::begin(file.cFileName), std::end(file.cFileName), L'\0');
  return std::wstring(std::begin(file.cFileName), end);
}

enum class Spooled { Whole, TooLarge, Failed };

// Writes one file's contents, from a stream or global memory, into `path`: exactly the size its
// descriptor gives, when it gives one, and never more than the drop has `left`. Contents that
// would go beyond that are TooLarge; contents that disagree with their size (a stream ending
// early or going on, memory too small for it) are Failed. Only Whole leaves a file behind.
Spooled SpoolContents(IDataObject* data, LONG index, const std::wstring& path,
                      std::optional<uint64_t> size, uint64_t& left) {
  if (size && *size > left) return Spooled::TooLarge;  // not even asked for
  FORMATETC format = FormatOf(Format(kFileContents), index, TYMED_ISTREAM | TYMED_HGLOBAL);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return Spooled::Failed;
  // Memory is read as a stream of its own. It may be larger than the file: Windows rounds its
  // size up.
  const bool memory = medium.tymed == TYMED_HGLOBAL;
  ComPtr<IStream> memoryStream;
  if (memory) CreateStreamOnHGlobal(medium.hGlobal, FALSE, memoryStream.Out());
  IStream* stream = memory                          ? memoryStream.operator->()
                    : medium.tymed == TYMED_ISTREAM ? medium.pstm
                                                    : nullptr;
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  Spooled result = file && stream ? Spooled::Whole : Spooled::Failed;
  const uint64_t most = size.value_or(left);
  uint64_t written = 0;
  DWORD error = 0;
  char piece[kPieceSize];
  for (ULONG read = 1; result == Spooled::Whole && read > 0;) {
    // One byte more than may come tells contents that go on.
    const auto ask = static_cast<ULONG>(std::min<uint64_t>(sizeof piece - 1, most - written) + 1);
    if (FAILED(stream->Read(piece, ask, &read))) {
      result = Spooled::Failed;
    } else if (read > most - written && !(memory && size)) {
      result = size ? Spooled::Failed : Spooled::TooLarge;
    } else if (const auto take = static_cast<ULONG>(std::min<uint64_t>(read, most - written));
               !WriteAll(file.Get(), piece, take, &error)) {
      result = Spooled::Failed;
    } else {
      written += take;
      if (take < read) break;  // the memory's rounding
    }
  }
  if (result == Spooled::Whole && written != most && size) result = Spooled::Failed;
  file.Reset();
  ReleaseStgMedium(&medium);
  if (result == Spooled::Whole) {
    left -= written;
  } else {
    DeleteFileW(path.c_str());
  }
  return result;
}

// File contents without a path: each descriptor's file into a new temporary folder, all of them
// together within `limit` bytes. Once a file has gone beyond it, the drop has spent it.
std::vector<DroppedFile> SpoolFileContents(IDataObject* data, uint64_t limit,
                                           std::wstring& folder) {
  std::vector<DroppedFile> files;
  FORMATETC format = FormatOf(Format(kFileDescriptors), -1, TYMED_HGLOBAL);
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return files;
  const auto* group = static_cast<const FILEGROUPDESCRIPTORW*>(GlobalLock(medium.hGlobal));
  // Only the descriptors that the memory holds whole, whatever cItems claims.
  const size_t held = group ? GlobalSize(medium.hGlobal) : 0;
  const size_t header = offsetof(FILEGROUPDESCRIPTORW, fgd);
  const auto count = static_cast<UINT>(
      held < header ? 0
                    : std::min<size_t>(group->cItems, (held - header) / sizeof(FILEDESCRIPTORW)));
  // The folder takes the name that Windows finds free for a temporary file: never one that a
  // killed run left behind.
  wchar_t temp[MAX_PATH + 1], unique[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (count > 0 && length > 0 && length <= MAX_PATH && GetTempFileNameW(temp, L"tes", 0, unique) &&
      DeleteFileW(unique) && CreateDirectoryW(unique, nullptr)) {
    folder = unique;
    uint64_t left = limit;
    for (UINT n = 0; n < count; ++n) {
      const FILEDESCRIPTORW& file = group->fgd[n];
      if ((file.dwFlags & FD_ATTRIBUTES) && (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        continue;
      std::optional<uint64_t> size;
      if (file.dwFlags & FD_FILESIZE)
        size = (uint64_t{file.nFileSizeHigh} << 32) | file.nFileSizeLow;
      // Each in a folder of its own: two of one name from different folders stay apart.
      const std::wstring own = folder + L"\\" + WideFromAnsi(std::to_string(n));
      const std::wstring name = NameOf(file);
      const std::wstring path = own + L"\\" + LastNamePart(name);
      // One that cannot be written still counts: the import then says it cannot read it.
      Spooled spooled = Spooled::Failed;
      // A device's name ("COM1.scn") would send the contents to the device: not written.
      if (!IsDeviceName(LastNamePart(name)) && CreateDirectoryW(own.c_str(), nullptr))
        spooled = SpoolContents(data, static_cast<LONG>(n), path, size, left);
      if (spooled == Spooled::TooLarge) left = 0;
      files.push_back({path, name, spooled == Spooled::TooLarge});
    }
  }
  if (group) GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  return files;
}

// Removes the folder with everything in it.
void RemoveSpool(const std::wstring& folder) {
  if (folder.empty()) return;
  const std::wstring paths = folder + L'\0';  // a list of one, ended by a second NUL
  SHFILEOPSTRUCTW remove{};
  remove.wFunc = FO_DELETE;
  remove.pFrom = paths.c_str();
  remove.fFlags = FOF_NO_UI;
  SHFileOperationW(&remove);
}

}  // namespace

// The OLE side: refuses what holds no files, and a disabled window; on a drop, decodes the
// files and has the window deliver them from its queue.
class FileDropTarget::OleTarget final : public IDropTarget {
 public:
  explicit OleTarget(FileDropTarget& owner) : m_owner(owner) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IDropTarget) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // The owner keeps this object for its whole life: OLE's references do not decide it.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    m_takes = HoldsFiles(data);
    return DragOver(0, {}, effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = Takes() ? (*effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    m_takes = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    m_takes = HoldsFiles(data);
    if (!Takes()) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    *effect &= DROPEFFECT_COPY;
    std::wstring spool;
    std::vector<DroppedFile> files;
    FORMATETC list = FormatOf(CF_HDROP, -1, TYMED_HGLOBAL);
    STGMEDIUM medium{};
    if (SUCCEEDED(data->GetData(&list, &medium))) {
      files = FilesOf(static_cast<HDROP>(medium.hGlobal));
      ReleaseStgMedium(&medium);
    } else {
      files = SpoolFileContents(data, m_owner.m_limit, spool);
    }
    RemoveSpool(std::exchange(m_owner.m_pendingSpool, spool));
    m_owner.m_pending = std::move(files);
    PostMessageW(m_owner.m_form.Hwnd(), DeliverMessage(), 0, 0);
    return S_OK;
  }

 private:
  bool Takes() const {
    return m_takes && IsWindowEnabled(m_owner.m_form.Hwnd()) && !m_owner.m_delivering;
  }
  static bool HoldsFiles(IDataObject* data) {
    FORMATETC list = FormatOf(CF_HDROP, -1, TYMED_HGLOBAL);
    FORMATETC descriptors = FormatOf(Format(kFileDescriptors), -1, TYMED_HGLOBAL);
    return data->QueryGetData(&list) == S_OK || data->QueryGetData(&descriptors) == S_OK;
  }

  FileDropTarget& m_owner;
  bool m_takes = false;
};

FileDropTarget::FileDropTarget(Form& form, uint64_t limit)
    : FormPart(form), m_limit(limit), m_ole(new OleTarget(*this)) {}

FileDropTarget::~FileDropTarget() {
  Destroyed();
  RemoveSpool(m_pendingSpool);
  delete m_ole;
}

void FileDropTarget::Create(int /*id*/) {
  DragAcceptFiles(m_form.Hwnd(), TRUE);
  LetShellMessagesThrough(m_form.Hwnd());
  // There only the shell's file list gets through, and only while no OLE target is registered.
  if (!ShellRunsBelowUs()) RegisterDragDrop(m_form.Hwnd(), m_ole);
}

void FileDropTarget::Destroyed() {
  if (!m_form.IsLoaded()) return;
  RevokeDragDrop(m_form.Hwnd());
  DragAcceptFiles(m_form.Hwnd(), FALSE);
  RemovePropW(m_form.Hwnd(), kHandOverTarget);
  m_handOverIdentity.clear();
}

void FileDropTarget::TakeHandedFiles(const std::string& folder) {
  if (!m_form.IsLoaded()) return;
  // Starts for this game folder offer their files to the windows that have the property.
  m_handOverIdentity = FolderIdentity(folder);
  if (m_handOverIdentity.empty()) {
    RemovePropW(m_form.Hwnd(), kHandOverTarget);
  } else {
    SetPropW(m_form.Hwnd(), kHandOverTarget, m_form.Hwnd());
  }
}

void FileDropTarget::DeliverHandedLater() {
  if (!m_handed.empty()) PostMessageW(m_form.Hwnd(), DeliverMessage(), kHandedFiles, 0);
}

void FileDropTarget::Deliver(std::vector<DroppedFile> files, std::wstring spoolFolder) {
  if (!files.empty()) {
    m_delivering = true;
    RaiseDropFiles(files);
    m_delivering = false;
  }
  RemoveSpool(spoolFolder);
}

bool FileDropTarget::OnFormMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DROPFILES) {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    std::vector<DroppedFile> files = FilesOf(drop);
    DragFinish(drop);
    if (IsWindowEnabled(m_form.Hwnd()) && !m_delivering) Deliver(std::move(files), L"");
    return true;
  }
  if (message == WM_COPYDATA) {
    auto handed = HandedFiles(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), m_handOverIdentity);
    result = handed ? TRUE : FALSE;
    if (!handed) return true;
    for (std::wstring& path : *handed) m_handed.push_back({path, path});
    if (IsIconic(m_form.Hwnd())) ShowWindow(m_form.Hwnd(), SW_RESTORE);
    SetForegroundWindow(m_form.Hwnd());
    DeliverHandedLater();
    return true;
  }
  if (message == DeliverMessage() && wParam == kHandedFiles) {
    // Taken while a picker or a box was up, they wait for the window to be enabled again: a
    // drop then would come in the middle of that work.
    if (IsWindowEnabled(m_form.Hwnd()) && !m_delivering) {
      Deliver(std::exchange(m_handed, {}), L"");
      DeliverHandedLater();
    }
    return true;
  }
  if (message == DeliverMessage()) {
    Deliver(std::exchange(m_pending, {}), std::exchange(m_pendingSpool, {}));
    return true;
  }
  if (message == WM_ENABLE && wParam) DeliverHandedLater();
  return false;
}
