#pragma once
// COM on the calling thread for the lifetime of this object, apartment-threaded, as the shell
// (ShellExecuteA) and the picture decoder expect of a window thread, and without the OLE 1.0
// DDE window, which the shell asks its callers to leave out. A thread that has COM already keeps
// it as it is.
#include <objbase.h>

class ComApartment {
 public:
  ComApartment()
      : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(m_result)) CoUninitialize();  // S_FALSE too: every success is paired
  }

 private:
  HRESULT m_result;
};

// A COM object's interface, released with its owner.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (m_pointer) m_pointer->Release();
  }
  Interface** Out() { return &m_pointer; }
  Interface* operator->() const { return m_pointer; }
  explicit operator bool() const { return m_pointer != nullptr; }

 private:
  Interface* m_pointer = nullptr;
};
