#include "platform/MsgBox.h"

#include <windows.h>

namespace {

int ShowRealMessageBox(const std::string& prompt, unsigned style, const std::string& title) {
  return MessageBoxA(GetActiveWindow(), prompt.c_str(), title.c_str(), style);
}

MsgBoxHandler currentHandler = &ShowRealMessageBox;

}  // namespace

int MsgBox(const std::string& prompt, unsigned style, const std::string& title) {
  return currentHandler(prompt, style, title);
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler) {
  MsgBoxHandler previous = currentHandler;
  currentHandler = handler ? handler : &ShowRealMessageBox;
  return previous;
}
