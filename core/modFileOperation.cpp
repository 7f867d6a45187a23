#include "core/modFileOperation.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/GameFolderLayout.h"
#include "core/UserCfgFormat.h"
#include "core/modMain.h"
#include "platform/AnsiText.h"
#include "platform/PathText.h"
#include "platform/VirtualStore.h"
#include "platform/Virtualisation.h"

namespace {

constexpr unsigned long kErrorPathNotFound = 3;
constexpr unsigned long kErrorBadFormat = 11;

// What the tool last read from or wrote to its user.cfg: the file's size and last-write time
// then, and its attract-mode lines.
struct SeenFile {
  bool known = false;
  std::string path;
  FileStamp stamp;
  std::string attractLines;
};
SeenFile seen;
bool unsavedChange = false;

void Remember(const std::string& path, const FileStamp& stamp, std::string attractLines) {
  seen = {true, path, stamp, std::move(attractLines)};
}

FileResult Utf16Refused(const std::string& path) {
  return FileResult::Failure(path, kErrorBadFormat, FailureKind::Utf16Text);
}

// True for a path in a folder that only administrators may write (Program Files, the Windows
// folder), whether or not Windows keeps per-user copies there.
bool IsInProtectedFolder(const std::string& path) { return !VirtualStorePath(path).empty(); }

// Writes the file's bytes to its per-user copy instead, when the file's folder refused the write
// for want of rights and Windows keeps such a copy for the game. Where it keeps none, a refusal in
// a protected folder says that the game folder needs administrator rights. Otherwise hands back
// the refusal as it was.
FileResult WriteToPerUserCopy(const FileResult& refused, std::string& path,
                              const std::string& bytes, bool* madePerUserCopy) {
  if (!refused.RefusedByPermission()) return refused;
  const std::string copy = PerUserCopyOf(path);
  if (copy.empty()) {
    FileResult said = refused;
    if (IsInProtectedFolder(path)) said.kind = FailureKind::NeedsAdministrator;
    return said;
  }

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

std::string PerUserCopyOf(const std::string& path) {
  std::vector<std::string> programs;
  for (std::string_view program : kGamePrograms)
    programs.push_back(sGamePath + std::string(program));
  return WindowsVirtualisesFor(programs) ? VirtualStorePath(path) : "";
}

FileResult LoadMenus(bool* madePerUserCopy) {
  if (madePerUserCopy) *madePerUserCopy = false;
  std::string path = sGamePath + std::string(kUserCfgInGameFolder);
  const std::string copy = PerUserCopyOf(path);
  if (!copy.empty() && GetPathKind(copy) == PathKind::File) path = copy;

  // Read first and ask why only when that fails: the file is there nearly always. Its stamp is
  // taken first: a change while it is read then shows at the next look.
  std::string bytes;
  FileStamp stamp = GetFileStamp(path);
  FileResult read = ReadWholeFile(path, bytes);
  if (!read.ok && GetPathKind(path) == PathKind::Missing) {
    // The default lines are read back like any other file's.
    const std::string defaults = DefaultUserCfg();
    FileResult created = ReplaceFileContents(path, defaults);
    if (!created.ok) created = WriteToPerUserCopy(created, path, defaults, madePerUserCopy);
    if (!created.ok) return created;
    stamp = GetFileStamp(path);
    read = ReadWholeFile(path, bytes);
  }
  if (!read.ok) return read;  // a folder of that name fails here, with the system's own words
  if (IsUtf16Text(bytes)) return Utf16Refused(path);

  sCfgFile = path;
  Remember(path, stamp, AttractModeLinesOf(bytes));
  unsavedChange = false;
  ReadAttractModeLines(bytes, colMenus);
  if (ApplyDefaultMenus(colMenus)) bAutoSave = true;
  return FileResult::Success();
}

FileResult SaveMenus(bool* madePerUserCopy) {
  if (madePerUserCopy) *madePerUserCopy = false;
  if (sCfgFile.empty())
    return FileResult::Failure("user.cfg", kErrorPathNotFound, FailureKind::NeverRead);

  std::string bytes;
  const FileResult read = ReadWholeFile(sCfgFile, bytes);
  const auto failed = [](const FileResult& result) {
    unsavedChange = true;
    return result;
  };
  // A file that another program removed since start-up: the new file holds the ten lines alone.
  if (!read.ok && GetPathKind(sCfgFile) != PathKind::Missing) return failed(read);
  // An editor may have saved it as UTF-16 since: written as ANSI lines it would be ruined.
  if (IsUtf16Text(bytes)) return failed(Utf16Refused(sCfgFile));
  // Slots that another program set since the tool last looked are not replaced unseen. Whatever
  // its stamp says (it may have written within the same tick), the next look reads the file.
  if (read.ok && seen.known && seen.path == sCfgFile &&
      AttractModeLinesOf(bytes) != seen.attractLines) {
    seen.stamp = {};
    return failed(FileResult::Failure(sCfgFile, 0, FailureKind::ChangedElsewhere));
  }
  bytes = RewriteUserCfg(bytes, colMenus);
  FileResult saved = ReplaceFileContents(sCfgFile, bytes);
  if (!saved.ok) saved = WriteToPerUserCopy(saved, sCfgFile, bytes, madePerUserCopy);
  if (!saved.ok) return failed(saved);
  // Its slot lines are those just written: a file of a million lines is not scanned again.
  Remember(sCfgFile, GetFileStamp(sCfgFile), AttractModeLinesOf(colMenus));
  unsavedChange = false;
  return saved;
}

MenusReread RereadMenusIfChanged() {
  if (sCfgFile.empty() || !seen.known || seen.path != sCfgFile) return {};
  const FileStamp stamp = GetFileStamp(sCfgFile);
  if (!stamp.exists || stamp == seen.stamp) return {};
  std::string bytes;
  if (!ReadWholeFile(sCfgFile, bytes).ok || IsUtf16Text(bytes)) return {};
  std::string attractLines = AttractModeLinesOf(bytes);
  if (attractLines == seen.attractLines) {
    seen.stamp = stamp;  // only other lines changed: nothing to read again
    return {};
  }
  colMenus = NewMenuTable();
  ReadAttractModeLines(bytes, colMenus);
  Remember(sCfgFile, stamp, std::move(attractLines));
  const MenusReread outcome{true, unsavedChange};
  unsavedChange = false;
  return outcome;
}

bool HasUnsavedChange() { return unsavedChange; }
