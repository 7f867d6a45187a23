#include "platform/window/BusyPointer.h"

BusyPointer::BusyPointer() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}

BusyPointer::~BusyPointer() { SetCursor(m_previous); }

void BusyPointer::Show() { SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }
