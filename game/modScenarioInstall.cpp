#include "game/modScenarioInstall.h"

#include <algorithm>
#include <utility>

#include "core/GameFolderLayout.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "game/ScenarioImport.h"
#include "platform/AnsiText.h"
#include "platform/PathText.h"

namespace {

constexpr size_t kPieceSize = 64 * 1024;
// The Win32 errors that these failures are told with: ERROR_ACCESS_DENIED, ERROR_READ_FAULT,
// ERROR_FILE_EXISTS (all of "Name (2)" to "Name (9999)" taken).
constexpr unsigned long kErrorAccessDenied = 5;
constexpr unsigned long kErrorReadFault = 30;
constexpr unsigned long kErrorFileExists = 80;

std::string RealFolder() { return sGamePath + std::string(kScenarioFolder); }

std::string FileIn(const std::string& folder, const std::string& name) {
  return folder + "\\" + name + ".scn";
}

// The scenario file of that name that the game reads, in either folder ("" when none): the
// per-user copy's first, which the game reads in place of the real one. The file system compares
// the names, as it does when the game opens them.
std::string ExistingScenario(const std::string& name, const std::string& perUserFolder) {
  for (const std::string& folder : {perUserFolder, RealFolder()}) {
    if (folder.empty()) continue;
    const std::string path = FileIn(folder, name);
    if (GetPathKind(path) == PathKind::File) return path;
  }
  return "";
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, FindLastSeparator(AnsiCodePage(), path));
}

// Makes the temporary file in the folder that the scenario goes to: where the one of that name
// already lies in the per-user copy, there; else in the real folder, or in the per-user copy
// when the real folder refuses it for want of rights.
FileResult CreateStagingFile(const std::string& name, NewFileWriter& file) {
  const std::string perUser = PerUserCopyOf(sGamePath, RealFolder());
  const std::string existing = ExistingScenario(name, perUser);
  unsigned long error = 0;
  FileResult created = FileResult::Success();
  if (perUser.empty() || existing.empty() || FolderOf(existing) != perUser) {
    if (!CreateFolders(RealFolder(), &error))
      created = FileResult::FromLastError(RealFolder(), error);
    if (created.ok) created = file.Create(RealFolder());
    if (created.ok || perUser.empty() || !created.RefusedByPermission()) return created;
  }
  if (!CreateFolders(perUser, &error)) return FileResult::FromLastError(perUser, error);
  return file.Create(perUser);
}

StageResult CopyFailed(const FileResult& failure) {
  return {StageProblem::CopyFailed, failure, ZipProblem::None};
}

StageResult Finished(StagedScenario& staged, const std::string& name,
                     std::unique_ptr<NewFileWriter> file) {
  const FileResult finished = file->Finish();
  if (!finished.ok) return CopyFailed(finished);
  staged = {name, std::move(file)};
  return {};
}

}  // namespace

StageResult StageScenarioFile(const std::wstring& path, const std::string& name,
                              StagedScenario& staged, const StillWorking& stillWorking) {
  ReadOnlyFile source;
  const FileResult opened = source.Open(path);
  if (!opened.ok) return CopyFailed(opened);
  if (source.Size() > kLargestScenario) return {StageProblem::TooLarge, {}, ZipProblem::None};
  auto file = std::make_unique<NewFileWriter>();
  const FileResult created = CreateStagingFile(name, *file);
  if (!created.ok) return CopyFailed(created);
  std::vector<char> piece(kPieceSize);
  for (uint64_t at = 0; at < source.Size(); at += kPieceSize) {
    const size_t size = static_cast<size_t>(std::min<uint64_t>(kPieceSize, source.Size() - at));
    if (!source.ReadAt(at, piece.data(), size))
      return CopyFailed(
          FileResult::FromLastError(AnsiFromWide(path).value_or(name), kErrorReadFault));
    if (!file->Write(piece.data(), size)) break;  // Finish reports it
    if (stillWorking) stillWorking();
  }
  return Finished(staged, name, std::move(file));
}

ZipReader OpenedArchive::Reader() {
  return
      [this](uint64_t offset, void* into, size_t size) { return file.ReadAt(offset, into, size); };
}

StageResult OpenArchive(const std::wstring& path, OpenedArchive& archive) {
  const FileResult opened = archive.file.Open(path);
  if (!opened.ok) return CopyFailed(opened);
  const ZipProblem problem =
      ReadZipDirectory(archive.Reader(), archive.file.Size(), archive.entries);
  if (problem != ZipProblem::None) return {StageProblem::ArchiveBroken, {}, problem};
  return {};
}

std::wstring EntryName(const ZipEntry& entry) {
  return WideFromCodePage(entry.utf8Name ? kUtf8CodePage : OemCodePage(), entry.name);
}

StageResult StageArchiveEntry(OpenedArchive& archive, const ZipEntry& entry,
                              const std::string& name, StagedScenario& staged,
                              const StillWorking& stillWorking) {
  auto file = std::make_unique<NewFileWriter>();
  const FileResult created = CreateStagingFile(name, *file);
  if (!created.ok) return CopyFailed(created);
  uint64_t sincePause = 0;
  const ZipProblem problem =
      ExtractZipEntry(archive.Reader(), archive.file.Size(), entry, kLargestScenario,
                      [&](const char* bytes, size_t size) {
                        if ((sincePause += size) >= (4u << 20) && stillWorking) {
                          sincePause = 0;
                          stillWorking();
                        }
                        return file->Write(bytes, size);
                      });
  switch (problem) {
    case ZipProblem::None:
    case ZipProblem::WriteFailed:  // Finish reports it
      return Finished(staged, name, std::move(file));
    case ZipProblem::TooLarge:
      return {StageProblem::TooLarge, {}, problem};
    default:
      return {StageProblem::ArchiveBroken, {}, problem};
  }
}

InstallOutcome InstallStaged(StagedScenario& staged, const AskToReplace& ask,
                             std::string* finalName, FileResult* failure) {
  const std::string folder = FolderOf(staged.file->TemporaryPath());
  const std::string perUser = PerUserCopyOf(sGamePath, RealFolder());
  std::string name = staged.name;
  bool replace = false;
  const std::string existing = ExistingScenario(name, perUser);
  if (!existing.empty()) {
    if (FilesHoldSameBytes(staged.file->TemporaryPath(), existing)) {
      *finalName = name;
      return InstallOutcome::AlreadyThere;
    }
    switch (ask(name)) {
      case ReplaceAnswer::Replace:
        // The player's read-only mark is kept, as Windows keeps it.
        if (IsReadOnlyFile(FileIn(folder, name))) {
          *failure =
              FileResult::Failure(FileIn(folder, name), kErrorAccessDenied, FailureKind::ReadOnly);
          return InstallOutcome::Failed;
        }
        replace = true;
        break;
      case ReplaceAnswer::KeepBoth:
        name = FreeScenarioName(name, [&](const std::string& candidate) {
          return !ExistingScenario(candidate, perUser).empty();
        });
        if (name.empty()) {
          *failure = FileResult::Failure(FileIn(folder, staged.name), kErrorFileExists,
                                         FailureKind::SystemError);
          return InstallOutcome::Failed;
        }
        break;
      case ReplaceAnswer::LeaveOut:
        return InstallOutcome::LeftOut;
    }
  }
  const FileResult moved = staged.file->MoveOnto(FileIn(folder, name), replace);
  if (!moved.ok) {
    *failure = moved;
    return InstallOutcome::Failed;
  }
  *finalName = name;
  return InstallOutcome::Copied;
}
