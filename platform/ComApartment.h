#pragma once
// COM on the calling thread for the lifetime of this object, apartment-threaded, as the shell
// (ShellExecuteA) and the picture decoder expect of a window thread. A thread that has COM
// already keeps it as it is.
#include <objbase.h>

class ComApartment {
 public:
  ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(m_result)) CoUninitialize();  // S_FALSE too: every success is paired
  }

 private:
  HRESULT m_result;
};
