#pragma once
// The attract-mode lines of the game's user.cfg, as bytes in and bytes out.
//
// user.cfg is a text file in the system's ANSI code page with one setting per line. Ten of its
// lines choose the scenarios that the game plays behind its main menu, one per slot 0 to 9:
//   attractMode-scenario-3 My Map     slot 3 enabled, playing "My Map"
//   -attractMode-scenario-4           slot 4 disabled
// Every other line belongs to the game and is kept byte for byte. An editor may have saved the file
// with a UTF-8 byte-order mark: it stays first in the file and is no part of the first line.
#include <string>
#include <string_view>

#include "core/MenuCollection.h"

// Both prefixes are compared, exactly and case-sensitively, with a line's first 21 characters.
inline constexpr std::string_view kEnabledPrefix = "attractMode-scenario-";
inline constexpr std::string_view kDisabledPrefix = "-attractMode-scenario";

// The game's two built-in menu scenarios, which a new user.cfg enables in slots 0 and 1.
inline constexpr std::string_view kBuiltInWater = "~AoM_pgs_Water";
inline constexpr std::string_view kBuiltInNorse = "~UI_Norse";

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// True for a file saved as UTF-16 (it starts with the byte-order mark FF FE or FE FF): the game
// reads none of its lines, and rewriting its bytes as ANSI lines would corrupt it.
bool IsUtf16Text(std::string_view bytes);

// Applies every line of the file, in file order, so the last line for a slot wins its name, and
// returns the file's attract-mode lines (those that begin with either prefix, whatever follows), in
// file order, each ended by LF: what tells whether another program changed the slots in the file.
std::string ReadAttractModeLines(std::string_view bytes, MenuCollection& menus);

// The attract-mode lines that ReadAttractModeLines gives for a file just rewritten for these menus,
// without reading it: its ten slot lines.
std::string AttractModeLinesOf(const MenuCollection& menus);

// When slot 0 is not enabled, enables the built-in menus in slot 0 and, when it is not enabled
// either, in slot 1, and returns true. An enabled slot 1 keeps its name.
bool ApplyDefaultMenus(MenuCollection& menus);

// The attract-mode line that stores one slot, without its line end.
std::string AttractModeLine(const clsGameMenu& menu);

// The file as the game should find it after a save: every line that begins with neither prefix,
// unchanged and in its order, then the ten attract-mode lines in slot order; every line ends CR LF.
// *oldAttractLines, when given, receives the old file's attract-mode lines as ReadAttractModeLines
// gives them, from the same pass.
std::string RewriteUserCfg(std::string_view oldBytes, const MenuCollection& menus,
                           std::string* oldAttractLines = nullptr);

// The contents of a new user.cfg: the built-in menus in slots 0 and 1, slots 2 to 9 disabled.
std::string DefaultUserCfg();
