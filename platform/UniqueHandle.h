#pragma once
// The one owner of every kind of handle this program makes: it is released exactly once, by the
// object that made it, and cannot be copied. Handles that the system shares (a system cursor,
// stock objects, resource icons) are used as plain handles and never put in an owner.
//
// Traits name the handle's invalid value (nullptr for most, INVALID_HANDLE_VALUE for files and
// find handles) and how to close it.
#include <windows.h>

#include <cstdint>
#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return m_handle; }
  // The address to receive a handle into, from a call that hands one out; any held is released.
  Handle* Out() {
    Reset();
    return &m_handle;
  }
  explicit operator bool() const { return m_handle != Traits::Invalid(); }

  Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) {
    Handle old = std::exchange(m_handle, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }
  // Releases the handle now, for callers that must know whether closing it succeeded (a written
  // file's close can fail).
  bool Close() {
    const Handle old = Release();
    return old == Traits::Invalid() || Traits::Close(old);
  }

 private:
  Handle m_handle = Traits::Invalid();
};

template <typename Handle>
struct NullIsInvalid {
  static Handle Invalid() { return nullptr; }
};

// Traits of a handle that CloseFunction closes (true when it could) and that is kInvalid when it
// holds nothing.
template <typename Handle, auto CloseFunction, intptr_t kInvalid = 0>
struct ClosedBy {
  static Handle Invalid() { return reinterpret_cast<Handle>(kInvalid); }
  static bool Close(Handle handle) { return CloseFunction(handle); }
};
inline bool CloseRegistryKey(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }

// A file or folder handle of CreateFile.
using UniqueFile = UniqueHandle<HANDLE, ClosedBy<HANDLE, CloseHandle, -1>>;
// A search of FindFirstFile.
using UniqueFind = UniqueHandle<HANDLE, ClosedBy<HANDLE, FindClose, -1>>;
// An open registry key.
using UniqueRegistryKey = UniqueHandle<HKEY, ClosedBy<HKEY, CloseRegistryKey>>;
// A kernel object that CreateMutex and its kin return, nullptr when they fail.
using UniqueKernelObject = UniqueHandle<HANDLE, ClosedBy<HANDLE, CloseHandle>>;
