#pragma once
// Turning the bytes of a registry string value into the text it holds.
#include <string>
#include <string_view>

// A REG_SZ value's bytes usually end with a NUL, but nothing forces a writer to store one, or to
// stop at it: the text is everything before the first NUL, or all of the bytes when there is none.
std::string CutAtFirstNul(std::string_view bytes);
