#pragma once
// Symbolic links under the file functions of platform/.
#include <string>

// The file that a save replaces: the path itself, or, when it is a symbolic link (players on
// Linux link user.cfg to a file they share), the file it points to. Replacing the link itself
// would turn it into a file of its own and cut it from the shared one.
std::string FileToReplace(const std::string& path);
