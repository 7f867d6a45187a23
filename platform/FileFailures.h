#pragma once
// What the file functions of platform/ share: telling one failure from another (a file held by
// another program, a refusal for want of rights, a file that is read-only or a folder), the
// retries of a file in use, and writing bytes whole. For the files of platform/ alone; the rest of
// the tool sees the outcome as a FileResult (FileSystem.h).
#include <windows.h>

#include <optional>
#include <string>

#include "platform/FileSystem.h"

// A refusal because another program holds the file without sharing it.
bool IsSharingError(DWORD error);

// A refused replace: Windows answers access denied too while another program has the file open.
bool IsBusyError(DWORD error);

FileResult AtStep(FileResult result, FileStep step);

// In use for a sharing refusal; otherwise the system's own words for the error.
FileResult BusyOrError(const std::string& path, DWORD error);

// A file that cannot be replaced for what it is: read-only, or a folder; nothing for any other.
std::optional<FileResult> RefusedForWhatItIs(const std::string& path, DWORD error);

// What a replace refused after its retries really met: a file in use, a read-only file, or a
// user without the right to change it.
FileResult RefusedReplace(const std::string& path, DWORD error);

// Writes every byte, in calls of at most kLargestCall bytes; false (error in *error) when a write
// fails or stops short.
bool WriteAll(HANDLE file, const char* bytes, size_t size, DWORD* error);

// The most that one ReadFile or WriteFile is asked for: far below the DWORD that counts it.
constexpr DWORD kLargestCall = 1u << 30;

// Text that a Windows call writes into a buffer of the given size, asked again with the size it
// says it needs when the buffer was too small; nothing when the call fails.
template <typename Text, typename Call>
std::optional<Text> AskForText(Call call) {
  Text text(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);  // too small: the length asked for counts the terminating NUL
  }
}

// A file in use is tried again for about a second, a pause between tries: the game and editors
// keep user.cfg open only briefly, and another copy of the tool holds its temporary file only
// while it saves.
constexpr int kBusyRetries = 10;
constexpr DWORD kBusyPause = 100;
