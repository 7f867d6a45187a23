#include "core/modFileOperation.h"

#include <string_view>
#include <utility>
#include <vector>

#include "core/GameFolderLayout.h"
#include "core/UserCfgFormat.h"
#include "core/modMain.h"
#include "platform/AnsiText.h"
#include "platform/FileReplacement.h"
#include "platform/PathText.h"
#include "platform/VirtualStore.h"

namespace {

constexpr unsigned long kErrorPathNotFound = 3;
constexpr unsigned long kErrorBadFormat = 11;
constexpr unsigned long kErrorFileExists = 80;
constexpr unsigned long kErrorAlreadyExists = 183;

FileResult ChangedElsewhere(const std::string& path) {
  return FileResult::Failure(path, 0, FailureKind::ChangedElsewhere);
}

// A file made only when absent that another program made first; or changed elsewhere.
bool AppearedMeanwhile(const FileResult& result) {
  return result.kind == FailureKind::ChangedElsewhere || result.error == kErrorAlreadyExists ||
         result.error == kErrorFileExists;
}

// What the procedures share between their calls: the game folder of the last load, what the tool
// last read from or wrote to its user.cfg (the file's size and last-write time then, and its
// attract-mode lines), and whether a change of the table is waiting for a save.
struct Seen {
  std::string path;  // "" before the first load
  FileStamp stamp;
  std::string attractLines;
};
std::string loadedGameFolder;
Seen seen;
bool unsavedChange = false;

// The file of the game folder, or its per-user copy once that exists: the game reads the copy.
std::string FileTheGameReads(const std::string& path) {
  const std::string copy = PerUserCopyOf(loadedGameFolder, path);
  return !copy.empty() && GetPathKind(WidePath(copy)) == PathKind::File ? copy : path;
}

// Writes the file's bytes to its per-user copy instead, when the file's folder refused the write
// for want of rights and Windows keeps such a copy for the game. Where it keeps none, a refusal in
// a protected folder says that the game folder needs administrator rights. Otherwise hands back
// the refusal as it was. A copy that appeared meanwhile is not replaced: changed elsewhere.
FileResult WriteToPerUserCopy(const FileResult& refused, const std::string& path,
                              const std::string& bytes, bool* madePerUserCopy) {
  if (!refused.RefusedByPermission()) return refused;
  const std::string copy = PerUserCopyOf(loadedGameFolder, path);
  if (copy.empty()) {
    FileResult said = refused;
    // A folder that only administrators may write (Program Files, the Windows folder), whether or
    // not Windows keeps per-user copies there.
    if (!VirtualStorePath(path).empty()) said.kind = FailureKind::NeedsAdministrator;
    return said;
  }

  unsigned long error = 0;
  if (!CreateFolders(copy.substr(0, FindLastSeparator(AnsiCodePage(), copy)), &error))
    return FileResult::FromLastError(copy, error);
  FileReplacement replacement(copy);
  if (!replacement.Locked().ok) return replacement.Locked();
  if (GetPathKind(WidePath(copy)) != PathKind::Missing) return ChangedElsewhere(copy);
  FileResult written = replacement.Commit(bytes, false);
  if (AppearedMeanwhile(written)) return ChangedElsewhere(copy);
  if (written.ok) {
    written.file = copy;
    if (madePerUserCopy) *madePerUserCopy = true;
  }
  return written;
}

// The file's bytes with the table's lines in place of its attract-mode lines, when the file is
// still what the tool last saw of it; else why not.
FileResult RewrittenForSave(const std::string& path, std::string& bytes) {
  const FileResult read = ReadWholeFile(WidePath(path), bytes);
  // A file that another program removed since start-up: the new file holds the ten lines alone.
  if (!read.ok && GetPathKind(WidePath(path)) != PathKind::Missing) return read;
  // An editor may have saved it as UTF-16 since: written as ANSI lines it would be ruined.
  if (IsUtf16Text(bytes)) return FileResult::Failure(path, kErrorBadFormat, FailureKind::Utf16Text);
  // Slots that another program set since the tool last looked are not replaced unseen, nor is a
  // per-user copy that appeared in place of the file the tool read. Whatever its stamp says (it
  // may have written within the same tick), the next look reads the file.
  const bool otherFile = path != seen.path;
  std::string oldAttractLines;
  std::string rewritten = RewriteUserCfg(bytes, colMenus, &oldAttractLines);
  if (!seen.path.empty() && (otherFile || (read.ok && oldAttractLines != seen.attractLines))) {
    seen.stamp = {};
    return ChangedElsewhere(path);
  }
  bytes = std::move(rewritten);
  return {};
}

}  // namespace

FileResult LoadMenus(bool* madePerUserCopy) {
  if (madePerUserCopy) *madePerUserCopy = false;
  loadedGameFolder = sGamePath;
  std::string path = FileTheGameReads(sGamePath + std::string(kUserCfgInGameFolder));

  // Read first and ask why only when that fails: the file is there nearly always. Its stamp is
  // taken first: a change while it is read then shows at the next look.
  std::string bytes;
  FileStamp stamp = GetFileStamp(path);
  FileResult read = ReadWholeFile(WidePath(path), bytes);
  if (!read.ok && GetPathKind(WidePath(path)) == PathKind::Missing) {
    // The default lines are read back like any other file's. Should the file or its per-user
    // copy appear meanwhile, that one is read instead.
    const std::string defaults = DefaultUserCfg();
    FileResult created = FileReplacement(path).Commit(defaults, false);
    if (!created.ok) created = WriteToPerUserCopy(created, path, defaults, madePerUserCopy);
    if (!created.ok && !AppearedMeanwhile(created)) return created;
    if (!created.file.empty()) path = created.file;  // the per-user copy, or one that appeared
    stamp = GetFileStamp(path);
    read = ReadWholeFile(WidePath(path), bytes);
  }
  if (!read.ok) return read;  // a folder of that name fails here, with the system's own words
  if (IsUtf16Text(bytes)) return FileResult::Failure(path, kErrorBadFormat, FailureKind::Utf16Text);

  sCfgFile = path;
  seen = {path, stamp, ReadAttractModeLines(bytes, colMenus)};
  unsavedChange = false;
  if (ApplyDefaultMenus(colMenus)) bAutoSave = true;
  return {};
}

FileResult SaveMenus(bool* madePerUserCopy) {
  if (madePerUserCopy) *madePerUserCopy = false;
  if (sCfgFile.empty())
    return FileResult::Failure("user.cfg", kErrorPathNotFound, FailureKind::NeverRead);

  const std::string path = FileTheGameReads(sCfgFile);
  std::string bytes;
  FileResult saved;
  {
    // The lock is held from the check for changes elsewhere until the bytes are in place.
    FileReplacement replacement(path);
    saved = replacement.Locked();
    if (saved.ok) saved = RewrittenForSave(path, bytes);
    if (saved.ok) saved = replacement.Commit(bytes);
  }
  // A folder that refuses the temporary file refuses its lock too: the file is checked without.
  if (saved.RefusedByPermission() && saved.step == FileStep::CreateTemporary) {
    const FileResult refused = saved;
    saved = RewrittenForSave(path, bytes);
    if (saved.ok) saved = refused;
  }
  if (saved.RefusedByPermission()) {
    saved = WriteToPerUserCopy(saved, path, bytes, madePerUserCopy);
    if (saved.ok) sCfgFile = saved.file;
  }
  unsavedChange = !saved.ok;
  // Its slot lines are those just written: a file of a million lines is not scanned again.
  if (saved.ok) seen = {sCfgFile, GetFileStamp(sCfgFile), AttractModeLinesOf(colMenus)};
  return saved;
}

MenusReread RereadMenusIfChanged() {
  if (sCfgFile.empty() || seen.path != sCfgFile) return {};
  // A per-user copy that appeared in place of the real file is the file from now on.
  const std::string path = FileTheGameReads(sCfgFile);
  const FileStamp stamp = GetFileStamp(path);
  if (!stamp.exists || (path == sCfgFile && stamp == seen.stamp)) return {};
  std::string bytes;
  if (!ReadWholeFile(WidePath(path), bytes).ok || IsUtf16Text(bytes)) return {};
  MenuCollection read;
  std::string attractLines = ReadAttractModeLines(bytes, read);
  sCfgFile = path;
  const bool same = attractLines == seen.attractLines;  // only other lines changed: nothing to read
  seen = {path, stamp, std::move(attractLines)};
  if (same) return {};
  colMenus = std::move(read);
  return {true, std::exchange(unsavedChange, false)};
}

bool HasUnsavedChange() { return unsavedChange; }

void ForgetMenusFile() {
  loadedGameFolder.clear();
  seen = {};
  unsavedChange = false;
}

std::string PerUserCopyOf(const std::string& gameFolder, const std::string& path) {
  std::vector<std::string> programs;
  for (std::string_view program : kGamePrograms)
    programs.push_back(gameFolder + std::string(program));
  return WindowsVirtualisesFor(programs) ? VirtualStorePath(path) : "";
}
