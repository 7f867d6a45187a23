#include "game/RegistryText.h"

std::wstring CutAtFirstNul(std::wstring_view value) {
  return std::wstring(value.substr(0, value.find(L'\0')));
}
