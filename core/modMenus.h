#pragma once
// The operations on the slot table colMenus. Slots are numbered 0 to 9; any other number names no
// slot and the operation changes nothing.
#include <string>

// Creates the ten slots 0 to 9, all disabled and empty.
void InitMenus();

// Enables the first disabled slot (lowest number) with this name; with ten enabled, nothing
// changes.
void AddMenu(const std::string& name);

// Sets the name of a slot and leaves its flag as it is.
void EditMenu(int slot, const std::string& name);

// Removes a slot's menu: every later slot moves down one place with its flag and name, and slot 9
// becomes disabled and empty.
void RemoveMenu(int slot);

// Moves the menu of one enabled slot to another enabled slot. The menus of the enabled slots
// between move one place towards where it came from, as if it had been moved past them one at a
// time; the slots keep their numbers and flags, and disabled slots keep their (unused) names.
// Between neighbouring enabled slots the two names trade places. Nothing changes unless both
// slots are enabled and differ: then the result is false.
bool MoveMenu(int fromSlot, int toSlot);
