#include "core/modFileOperation.h"

#include <string>

#include "core/GameFolderLayout.h"
#include "core/UserCfgFormat.h"
#include "core/modMain.h"
#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/VirtualStore.h"

namespace {

constexpr unsigned long kErrorPathNotFound = 3;
constexpr unsigned long kErrorBadFormat = 11;

FileResult Utf16Refused(const std::string& path) {
  return FileResult::Failure(path, kErrorBadFormat, std::string(kReasonUtf16Text));
}

// Writes the file's bytes to its per-user copy instead, when the file's folder refused the new
// file and Windows keeps such a copy for it. Otherwise hands back the refusal as it was.
FileResult WriteToPerUserCopy(const FileResult& refused, std::string& path,
                              const std::string& bytes, bool* madePerUserCopy) {
  if (!refused.FolderDeniedNewFile()) return refused;
  const std::string copy = VirtualStorePath(path);
  if (copy.empty()) return refused;

  unsigned long error = 0;
  if (!CreateFolders(copy.substr(0, FindLastSeparator(AnsiCodePage(), copy)), &error))
    return FileResult::FromLastError(copy, error);
  FileResult written = ReplaceFileContents(copy, bytes);
  if (written.ok) {
    path = copy;
    if (madePerUserCopy) *madePerUserCopy = true;
  }
  return written;
}

}  // namespace

FileResult LoadMenus(bool* madePerUserCopy) {
  if (madePerUserCopy) *madePerUserCopy = false;
  std::string path = sGamePath + std::string(kUserCfgInGameFolder);
  const std::string copy = VirtualStorePath(path);
  if (!copy.empty() && GetPathKind(copy) == PathKind::File) path = copy;

  // Read first and ask why only when that fails: the file is there nearly always.
  std::string bytes;
  FileResult read = ReadWholeFile(path, bytes);
  if (!read.ok && GetPathKind(path) == PathKind::Missing) {
    // The default lines are read back like any other file's.
    const std::string defaults = DefaultUserCfg();
    FileResult created = ReplaceFileContents(path, defaults);
    if (!created.ok) created = WriteToPerUserCopy(created, path, defaults, madePerUserCopy);
    if (!created.ok) return created;
    read = ReadWholeFile(path, bytes);
  }
  if (!read.ok) return read;  // a folder of that name fails here, with the system's own words
  if (IsUtf16Text(bytes)) return Utf16Refused(path);

  sCfgFile = path;
  ReadAttractModeLines(bytes, colMenus);
  if (ApplyDefaultMenus(colMenus)) bAutoSave = true;
  return FileResult::Success();
}

FileResult SaveMenus(bool* madePerUserCopy) {
  if (madePerUserCopy) *madePerUserCopy = false;
  if (sCfgFile.empty()) {
    return FileResult::Failure("user.cfg", kErrorPathNotFound,
                               "the game's user.cfg was never read, so it is not known where it is");
  }

  std::string bytes;
  const FileResult read = ReadWholeFile(sCfgFile, bytes);
  // A file that another program removed since start-up: the new file holds the ten lines alone.
  if (!read.ok && GetPathKind(sCfgFile) != PathKind::Missing) return read;
  // An editor may have saved it as UTF-16 since: written as ANSI lines it would be ruined.
  if (IsUtf16Text(bytes)) return Utf16Refused(sCfgFile);
  // In the buffer read: a file of a million lines is not copied once more.
  RewriteUserCfgInPlace(bytes, colMenus);
  const FileResult saved = ReplaceFileContents(sCfgFile, bytes);
  return saved.ok ? saved : WriteToPerUserCopy(saved, sCfgFile, bytes, madePerUserCopy);
}
