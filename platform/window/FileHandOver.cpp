#include "platform/window/FileHandOver.h"

#include <cstdint>
#include <cstring>

#include "platform/AnsiText.h"

namespace {

// How long a window may take to answer; it takes nothing after that, since by then the start
// that offered the files may have gone on without it.
constexpr UINT kAnswerWithinMs = 5000;
constexpr ULONGLONG kTakeBeforeMargin = 1000;
// How long a start waits for the window of the start under way: its splash shows four seconds.
constexpr ULONGLONG kWaitForWindowMs = 30000;
constexpr DWORD kLookAgainMs = 100;

// The message's bytes: the tick count by which the window must have taken them, then in UTF-16
// the folder's identity and each path, each ended by a NUL.
std::string Message(const std::wstring& identity, const std::vector<std::wstring>& files) {
  const ULONGLONG takeBefore = GetTickCount64() + kAnswerWithinMs - kTakeBeforeMargin;
  std::wstring text = identity + L'\0';
  for (const std::wstring& file : files) text += file + L'\0';
  std::string bytes(sizeof takeBefore + text.size() * sizeof(wchar_t), '\0');
  std::memcpy(bytes.data(), &takeBefore, sizeof takeBefore);
  std::memcpy(bytes.data() + sizeof takeBefore, text.data(), text.size() * sizeof(wchar_t));
  return bytes;
}

struct Offer {
  COPYDATASTRUCT message;
  bool taken = false;
};

BOOL CALLBACK OfferTo(HWND window, LPARAM param) {
  auto* offer = reinterpret_cast<Offer*>(param);
  if (!GetPropW(window, kHandOverTarget)) return TRUE;
  // Started from Explorer, this start may bring its window to the front; so may the window.
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  AllowSetForegroundWindow(process);
  DWORD_PTR answer = FALSE;
  offer->taken =
      SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&offer->message),
                          SMTO_ABORTIFHUNG, kAnswerWithinMs, &answer) &&
      answer == TRUE;
  return !offer->taken;
}

}  // namespace

bool FileHandOver::HandToOpenWindow(const std::string& folder,
                                    const std::vector<std::wstring>& files) {
  const std::wstring identity = FolderIdentity(folder);
  if (identity.empty() || files.empty()) return false;
  m_turn.Reset(CreateMutexW(nullptr, FALSE, (L"Local\\TessivaneStart-" + identity).c_str()));
  if (!m_turn) return false;
  const ULONGLONG giveUp = GetTickCount64() + kWaitForWindowMs;
  do {
    const DWORD waited = WaitForSingleObject(m_turn.Get(), kLookAgainMs);
    // A start that ended without letting go (it failed) leaves its turn abandoned: ours now.
    const bool ourTurn = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    // A window may be open without having had a turn: one started without files. The message
    // is made anew for each offer, with a time to take it by from now.
    std::string bytes = Message(identity, files);
    Offer offer{{kHandOverTag, static_cast<DWORD>(bytes.size()), bytes.data()}};
    EnumWindows(&OfferTo, reinterpret_cast<LPARAM>(&offer));
    if (offer.taken) {
      if (ourTurn) ReleaseMutex(m_turn.Get());
      m_turn.Reset();
      return true;
    }
    if (ourTurn) return false;
    if (waited == WAIT_FAILED) break;
  } while (GetTickCount64() < giveUp);
  m_turn.Reset();
  return false;
}

std::wstring FolderIdentity(const std::string& folder) {
  const UniqueFile handle(CreateFileA(folder.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!handle || !GetFileInformationByHandle(handle.Get(), &information)) return L"";
  return WideFromAnsi(
      std::to_string(information.dwVolumeSerialNumber) + "-" +
      std::to_string((uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow));
}
