#include "ui/ScenarioDrop.h"

#include <optional>
#include <utility>

#include "game/ScenarioImport.h"
#include "game/modScenarioInstall.h"
#include "platform/AnsiText.h"
#include "platform/StreamedFiles.h"
#include "platform/window/FileDrop.h"
#include "platform/window/MsgBox.h"
#include "ui/PlayerMessages.h"

namespace {

void StillWorking() {
  KeepWindowsDrawn();
  BusyPointer::Show();
}

ReplaceAnswer AskReplace(const std::string& name) {
  switch (AskToReplaceScenario(name)) {
    case IDYES:
      return ReplaceAnswer::Replace;
    case IDNO:
      return ReplaceAnswer::KeepBoth;
    default:
      return ReplaceAnswer::LeaveOut;
  }
}

class Importer {
 public:
  void Take(const DroppedFile& dropped) {
    if (dropped.tooLarge) return ReportScenarioTooLarge(dropped.name);
    if (GetPathKind(dropped.path) == PathKind::Folder) {
      for (const std::wstring& file : FilesDirectlyIn(dropped.path)) {
        if (IsScenarioFileName(file)) TakeFile(file, file);
      }
    } else if (IsScenarioFileName(dropped.path)) {
      TakeFile(dropped.path, dropped.name);  // one that cannot be read is said as a failed copy
    } else if (IsZipFileName(dropped.path)) {
      TakeArchive(dropped.path, dropped.name);
    } else {
      ReportNotAScenario(dropped.name);
    }
  }

  std::vector<std::string> TakeNames() { return std::move(m_names); }

 private:
  // The scenario name of a file, or nothing (said) when user.cfg could not hold it.
  static std::optional<std::string> NameOf(const std::wstring& fileName,
                                           const std::wstring& shown) {
    const std::wstring base = ScenarioBaseName(LastNamePart(fileName));
    std::optional<std::string> name = AnsiFromWide(base);
    const NameRefusal refusal = CheckScenarioName(base, name.has_value());
    if (refusal == NameRefusal::None) return name;
    ReportNameNotHeld(shown, refusal);
    return std::nullopt;
  }

  // Says what kept a scenario out; true when it was staged.
  static bool Staged(const StageResult& result, const std::wstring& shown) {
    if (result.problem == StageProblem::TooLarge) ReportScenarioTooLarge(shown);
    if (result.problem == StageProblem::CopyFailed) ReportCopyFailure(shown, result.failure);
    return result.problem == StageProblem::None;
  }

  void Install(StagedScenario& staged, const std::wstring& shown) {
    std::string name;
    FileResult failure;
    switch (InstallStaged(staged, &AskReplace, &name, &failure)) {
      case InstallOutcome::Copied:
      case InstallOutcome::AlreadyThere:
        m_names.push_back(std::move(name));
        break;
      case InstallOutcome::Failed:
        ReportCopyFailure(shown, failure);
        break;
      case InstallOutcome::LeftOut:
        break;
    }
  }

  void TakeFile(const std::wstring& path, const std::wstring& shown) {
    const std::optional<std::string> name = NameOf(path, shown);
    if (!name) return;
    StagedScenario staged;
    if (Staged(StageScenarioFile(path, *name, staged, &StillWorking), shown))
      Install(staged, shown);
  }

  // Every scenario of the archive is written out before any goes in: an archive that turns out
  // to be damaged halfway gives nothing.
  void TakeArchive(const std::wstring& path, const std::wstring& shownArchive) {
    OpenedArchive archive;
    const StageResult opened = OpenArchive(path, archive);
    if (opened.problem == StageProblem::CopyFailed)
      return ReportCopyFailure(shownArchive, opened.failure);
    if (opened.problem != StageProblem::None)
      return ReportBadArchive(shownArchive, opened.zipProblem);
    std::vector<const ZipEntry*> scenarios;
    for (const ZipEntry& entry : archive.entries) {
      if (entry.IsFolder() || !IsScenarioFileName(EntryName(entry))) continue;
      if (const ZipProblem problem = EntryProblem(entry); problem != ZipProblem::None)
        return ReportBadArchive(shownArchive, problem);
      scenarios.push_back(&entry);
    }
    std::vector<std::pair<StagedScenario, std::wstring>> staged;
    for (const ZipEntry* entry : scenarios) {
      const std::wstring shown = ScenarioInArchive(LastNamePart(EntryName(*entry)), shownArchive);
      const std::optional<std::string> name = NameOf(EntryName(*entry), shown);
      if (!name) continue;
      StagedScenario one;
      const StageResult result = StageArchiveEntry(archive, *entry, *name, one, &StillWorking);
      // Found damaged halfway: the scenarios staged so far are removed with `staged`.
      if (result.problem == StageProblem::ArchiveBroken)
        return ReportBadArchive(shownArchive, result.zipProblem);
      if (Staged(result, shown)) staged.emplace_back(std::move(one), shown);
    }
    for (auto& [one, shown] : staged) Install(one, shown);
  }

  std::vector<std::string> m_names;
};

}  // namespace

std::vector<std::string> ImportDroppedScenarios(const std::vector<DroppedFile>& files) {
  BusyPointer busy;
  Importer importer;
  for (const DroppedFile& file : files) importer.Take(file);
  return importer.TakeNames();
}
