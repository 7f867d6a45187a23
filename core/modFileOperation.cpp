#include "core/modFileOperation.h"

#include "core/UserCfgFormat.h"
#include "core/modMain.h"

namespace {

constexpr const char* kUserCfgInGameFolder = "startup\\user.cfg";
constexpr unsigned long kErrorPathNotFound = 3;

}  // namespace

FileResult LoadMenus() {
  const std::string path = sGamePath + kUserCfgInGameFolder;

  // Read first and ask why only when that fails: the file is there nearly always.
  std::string bytes;
  FileResult read = ReadWholeFile(path, bytes);
  if (!read.ok && GetPathKind(path) == PathKind::Missing) {
    // The default lines are read back like any other file's.
    FileResult created = ReplaceFileContents(path, DefaultUserCfg());
    if (!created.ok) return created;
    read = ReadWholeFile(path, bytes);
  }
  if (!read.ok) return read;  // a folder of that name fails here, with the system's own words

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

  std::string bytes;
  const FileResult read = ReadWholeFile(sCfgFile, bytes);
  // A file that another program removed since start-up: the new file holds the ten lines alone.
  if (!read.ok && GetPathKind(sCfgFile) != PathKind::Missing) return read;
  // In the buffer read: a file of a million lines is not copied once more.
  RewriteUserCfgInPlace(bytes, colMenus);
  return ReplaceFileContents(sCfgFile, bytes);
}
