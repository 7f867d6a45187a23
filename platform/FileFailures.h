#pragma once
// What the file functions of platform/ share: telling a file held by another program from other
// failures, the retries of a file in use, writing bytes whole and asking Windows for a path. For
// the files of platform/ alone; the rest of the tool sees the outcome as a FileResult.
#include <windows.h>

#include <string>

#include "platform/FileSystem.h"

// A refusal because another program holds the file without sharing it.
bool IsSharingError(DWORD error);

// In use for a sharing refusal; otherwise the system's own words for the error.
FileResult BusyOrError(const std::string& path, DWORD error);

// Writes every byte, in calls of at most kLargestCall bytes; false (error in *error) when a write
// fails or stops short.
bool WriteAll(HANDLE file, const char* bytes, size_t size, DWORD* error);

// The most that one ReadFile or WriteFile is asked for: far below the DWORD that counts it.
constexpr DWORD kLargestCall = 1u << 30;

// The path that a Windows call writes into a buffer of the given size, given room for the longest
// path there is; "" when the call fails.
template <typename Call>
std::wstring PathOfCall(Call call) {
  std::wstring path(32768, L'\0');
  const DWORD length = call(path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return path;
}

// A file in use is tried again for about a second, a pause between tries: the game and editors
// keep user.cfg open only briefly, and another copy of the tool holds its temporary file only
// while it saves.
constexpr int kBusyRetries = 10;
constexpr DWORD kBusyPause = 100;
