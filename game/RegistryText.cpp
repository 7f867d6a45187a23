#include "game/RegistryText.h"

std::string CutAtFirstNul(std::string_view bytes) {
  return std::string(bytes.substr(0, bytes.find('\0')));
}
