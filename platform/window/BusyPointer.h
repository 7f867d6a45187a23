#pragma once
// While it lives, the pointer shows that the program is busy; afterwards the one before is back.
#include <windows.h>

class BusyPointer {
 public:
  BusyPointer() : m_previous(Show()) {}
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
  ~BusyPointer() { SetCursor(m_previous); }
  // Shows it again (a message box meanwhile put the arrow back); returns the pointer before.
  static HCURSOR Show() { return SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }

 private:
  HCURSOR m_previous;
};

// The work's result, the pointer busy while it runs: file work that waits for a file in use for
// about a second, pumping no messages meanwhile.
template <typename Work>
auto WhileBusy(Work work) {
  BusyPointer busy;
  return work();
}
