#pragma once
// The tool's home page: the text of both link labels and the address they open.
#include <string_view>

// Drawn in the labels' underlined MS Sans Serif 9.75 pt, it has to fit the 152 pixels that the
// splash shows of its label (from x = 148 to the window's edge at 300), and end before the main
// window's frame (its label starts at x = 133, the frame's right band at 288).
// https: a link that a player follows must not be open to rewriting on the way.
inline constexpr std::string_view kHomePageAddress = "https://tessivane.example";
