#pragma once
// Turning the UTF-16 units of a registry string value into the text it holds.
#include <string>
#include <string_view>

// A REG_SZ value usually ends with a NUL, but nothing forces a writer to store one, or to stop at
// it: the text is everything before the first NUL, or all of the value when there is none.
std::wstring CutAtFirstNul(std::wstring_view value);
