#pragma once
// OLE, and with it COM in an apartment of the calling thread, for the lifetime of this object.
// The program's window thread holds one for the whole run: drops (RegisterDragDrop), the shell's
// open (ShellExecute), the folder chooser and the picture decoder all need it there. A thread that
// has it already keeps it as it is.
#include <ole2.h>

class ComApartment {
 public:
  ComApartment() : m_result(OleInitialize(nullptr)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (SUCCEEDED(m_result)) OleUninitialize();  // S_FALSE too: every success is paired
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
