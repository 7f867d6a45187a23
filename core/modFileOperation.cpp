#include "core/modFileOperation.h"

#include "core/UserCfgFormat.h"
#include "core/modMain.h"

namespace {

constexpr const char* kUserCfgInGameFolder = "startup\\user.cfg";
constexpr unsigned long kErrorPathNotFound = 3;

}  // namespace

FileResult LoadMenus() {
  const std::string path = sGamePath + kUserCfgInGameFolder;

  unsigned long error = 0;
  switch (GetPathKind(path, &error)) {
    case PathKind::Missing: {
      // The default lines are read back below like any other file's.
      FileResult created = ReplaceFileContents(path, DefaultUserCfg());
      if (!created.ok) return created;
      break;
    }
    case PathKind::Unknown:
      return FileResult::FromLastError(path, error);
    case PathKind::File:
    case PathKind::Folder:  // reading a folder fails below, with the system's own words
      break;
  }

  std::string bytes;
  FileResult read = ReadWholeFile(path, bytes);
  if (!read.ok) return read;

  sCfgFile = path;
  ReadAttractModeLines(bytes, colMenus);
  if (ApplyDefaultMenus(colMenus)) bAutoSave = true;
  return FileResult::Success();
}

FileResult SaveMenus() {
  if (sCfgFile.empty()) {
    return FileResult::Failure("user.cfg", kErrorPathNotFound,
                               "the game's user.cfg was never read, so it is not known where it is");
  }

  std::string oldBytes;
  unsigned long error = 0;
  switch (GetPathKind(sCfgFile, &error)) {
    case PathKind::Missing:  // removed since start-up: the new file holds the ten lines alone
      break;
    case PathKind::Unknown:
      return FileResult::FromLastError(sCfgFile, error);
    case PathKind::File:
    case PathKind::Folder: {
      FileResult read = ReadWholeFile(sCfgFile, oldBytes);
      if (!read.ok) return read;
      break;
    }
  }
  return ReplaceFileContents(sCfgFile, RewriteUserCfg(oldBytes, colMenus));
}
