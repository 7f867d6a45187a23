#include "platform/SystemMessage.h"

#include <windows.h>

std::string SystemMessage(unsigned long error) {
  char text[1024];  // the system's texts are a sentence or two
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, error, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  message.erase(message.find_last_not_of("\r\n .") + 1);
  if (message.empty()) message = "system error " + std::to_string(error);
  return message;
}
