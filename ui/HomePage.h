#pragma once
// The tool's home page: the text of both link labels and the address they open.
#include <string_view>

// Drawn in the labels' underlined MS Sans Serif 9.75 pt, it has to fit their 161 pixels.
inline constexpr std::string_view kHomePageAddress = "http://tessivane.example";
