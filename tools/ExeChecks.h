#pragma once
// The checks of check_resources: each prints one line, "ok" or "FAIL" and what was checked.
#include <string>

void Check(bool ok, const std::string& what);
// How many checks failed so far.
int CheckFailures();

// The built exe's version information is the project's version (TESS_EXPECTED_VERSION).
void CheckVersion(const std::string& exe);
// The exe is a 64-bit Windows program that imports only DLLs that every Windows 10 has.
void CheckImports(const std::string& exe);
// The exe asks for ASLR (high-entropy too), NX and terminal-server awareness, can be moved,
// checks stack canaries, and is no larger than a download should be.
void CheckHardening(const std::string& exe);
// The exe's manifest names the program with the project's version.
void CheckManifestVersion(const std::string& exe);
