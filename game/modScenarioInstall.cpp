#include "game/modScenarioInstall.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/GameFolderLayout.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "platform/AnsiText.h"
#include "platform/FileReplacement.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"

namespace {

// The Win32 errors that these failures are told with: ERROR_FILE_TOO_LARGE (what ReadWholeFile
// refuses over its limit), ERROR_DISK_FULL, ERROR_FILE_EXISTS (all of "Name (2)" to "Name (9999)"
// taken).
constexpr unsigned long kErrorFileTooLarge = 223;
constexpr unsigned long kErrorDiskFull = 112;
constexpr unsigned long kErrorFileExists = 80;

using Reason = Refusal::Reason;

// A scenario of the drop, read into memory, waiting for its turn.
struct Scenario {
  std::string name;  // in the ANSI code page
  std::string bytes;
  std::wstring file;
  std::wstring archive;
};

std::string RealFolder() { return sGamePath + std::string(kScenarioFolder); }

std::string FileIn(const std::string& folder, const std::string& name) {
  return folder + "\\" + name + ".scn";
}

// The entry's file name as Windows spells names (UTF-16), with its folders.
std::wstring EntryName(const ZipEntry& entry) {
  return WideFromCodePage(entry.utf8Name ? kUtf8CodePage : OemCodePage(), entry.name);
}

// What one drop has taken of its bytes and scenarios so far.
struct DropBudget {
  uint64_t bytes = 0;
  uint64_t count = 0;

  uint64_t BytesLeft() const { return kDropBytes - bytes; }
  // Takes `more` scenarios of `size` bytes in all when they fit in what is left; else takes
  // nothing and returns false.
  bool Take(uint64_t size, uint64_t more) {
    if (size > BytesLeft() || more > kDropScenarios - count) return false;
    bytes += size;
    count += more;
    return true;
  }
};

// What becomes of a scenario once the player has answered.
struct Plan {
  const Scenario* scenario;
  std::string name;
  std::string folder;
  bool replace = false;  // over the file of that name
  bool write = true;     // false: one of that name holds the same bytes
};

class Import {
 public:
  explicit Import(const AskToReplace& ask)
      : m_ask(ask), m_perUser(PerUserCopyOf(sGamePath, RealFolder())) {}

  // Reads what the player dropped into memory, within the drop's budget.
  void Take(const DroppedFile& dropped) {
    // File contents that the drop target found beyond the budget before writing them down.
    if (dropped.tooLarge) return Refuse(dropped.name, L"", Reason::OverBudget);
    if (GetPathKind(dropped.path) == PathKind::Folder) {
      std::vector<FolderEntry> entries;
      ListFolder(dropped.path, entries);
      for (const FolderEntry& entry : entries) {
        const std::wstring file = dropped.path + L"\\" + entry.name;
        if (!entry.folder && IsScenarioFileName(file)) TakeFile(file, file);
      }
    } else if (IsScenarioFileName(dropped.path)) {
      TakeFile(dropped.path, dropped.name);  // one that cannot be read is said as a failed copy
    } else if (IsZipFileName(dropped.path)) {
      TakeArchive(dropped.path, dropped.name);
    } else {
      Refuse(dropped.name, L"", Reason::NotAScenario);
    }
  }

  // Asks about each scenario read whose name is taken by other bytes, then writes those that go
  // in: nothing is on disk before the player has answered.
  std::vector<std::string> Bring() {
    std::vector<Plan> plans;
    uint64_t total = 0;
    for (const Scenario& scenario : m_scenarios) {
      if (std::optional<Plan> plan = PlanOne(scenario, plans)) {
        total += plan->write ? scenario.bytes.size() : 0;
        plans.push_back(std::move(*plan));
      }
    }
    std::vector<std::string> names;
    // Room for all of them, asked before anything is written.
    const bool made = GetPathKind(WidePath(RealFolder())) == PathKind::Folder;
    const std::string volume = made ? RealFolder() : sGamePath;
    if (total > 0 && FreeBytesIn(volume) < total) {
      const FileResult full = FileResult::Failure(volume, kErrorDiskFull, FailureKind::SystemError);
      for (const Plan& plan : plans) Refuse(*plan.scenario, Reason::CopyFailed, full);
      return names;
    }
    for (const std::string& folder : {RealFolder(), m_perUser}) {
      if (total > 0 && !folder.empty()) RemoveLeftOverScenarioTemporaries(folder);
    }
    for (const Plan& plan : plans) {
      FileResult written;
      if (plan.write) written = Write(plan.folder, plan.name, plan.scenario->bytes, plan.replace);
      if (written.RefusedByPermission() && plan.folder != m_perUser && !m_perUser.empty())
        written = Write(m_perUser, plan.name, plan.scenario->bytes, plan.replace);
      if (written.ok) {
        names.push_back(plan.name);
      } else {
        Refuse(*plan.scenario, Reason::CopyFailed, written);
      }
    }
    return names;
  }

  const std::vector<Refusal>& Refused() const { return m_refused; }

 private:
  void Refuse(const std::wstring& file, const std::wstring& archive, Reason reason,
              NameRefusal name = NameRefusal::None, ZipProblem zip = ZipProblem::None,
              const FileResult& failure = {}) {
    m_refused.push_back({file, archive, reason, name, zip, failure});
  }
  void Refuse(const Scenario& scenario, Reason reason, const FileResult& failure = {}) {
    Refuse(scenario.file, scenario.archive, reason, {}, {}, failure);
  }

  // The scenario name of a file, or nothing (refused) when user.cfg could not hold it.
  std::optional<std::string> NameOf(const std::wstring& fileName, const std::wstring& shown,
                                    const std::wstring& archive) {
    const std::wstring base = ScenarioBaseName(LastNamePart(fileName));
    std::optional<std::string> name = AnsiFromWide(base);
    const NameRefusal refusal = CheckScenarioName(base, name.has_value());
    if (refusal == NameRefusal::None) return name;
    Refuse(shown, archive, Reason::NameNotHeld, refusal);
    return std::nullopt;
  }

  void TakeFile(const std::wstring& path, const std::wstring& shown) {
    const std::optional<std::string> name = NameOf(path, shown, L"");
    if (!name) return;
    std::string bytes;
    const FileResult read = ReadWholeFile(path, bytes, m_budget.BytesLeft());
    if (read.ok && m_budget.Take(bytes.size(), 1)) {
      m_scenarios.push_back({*name, std::move(bytes), shown, L""});
    } else if (read.ok || read.error == kErrorFileTooLarge) {
      const bool alone = m_budget.BytesLeft() == kDropBytes;
      Refuse(shown, L"", alone && !read.ok ? Reason::TooLarge : Reason::OverBudget);
    } else {
      Refuse(shown, L"", Reason::CopyFailed, {}, {}, read);
    }
  }

  // Nothing of an archive goes in unless all its scenarios can: one found damaged halfway gives
  // nothing.
  void TakeArchive(const std::wstring& path, const std::wstring& shown) {
    std::string archive;
    const FileResult read = ReadWholeFile(path, archive, kLargestArchive);
    if (!read.ok) {
      const Reason why = read.error == kErrorFileTooLarge ? Reason::OverBudget : Reason::CopyFailed;
      return Refuse(shown, L"", why, {}, {}, read);
    }
    std::vector<ZipEntry> entries;
    ZipProblem problem = ReadZipDirectory(archive, entries);
    std::vector<const ZipEntry*> scenarios;
    for (const ZipEntry& entry : entries) {
      // A folder's entry (its name ends in "/") is no scenario.
      if (!IsScenarioFileName(EntryName(entry))) continue;
      if (problem == ZipProblem::None) problem = EntryProblem(entry);
      scenarios.push_back(&entry);
    }
    if (problem != ZipProblem::None) return Refuse(shown, L"", Reason::BadArchive, {}, problem);
    std::vector<std::pair<const ZipEntry*, Scenario>> taken;
    uint64_t bytes = 0;
    for (const ZipEntry* entry : scenarios) {
      const std::wstring file = LastNamePart(EntryName(*entry));
      if (std::optional<std::string> name = NameOf(EntryName(*entry), file, shown)) {
        taken.push_back({entry, {std::move(*name), {}, file, shown}});
        bytes += std::min(entry->size, kDropBytes + 1);  // no sum of 65,535 of them overflows
      }
    }
    const DropBudget before = m_budget;
    if (!m_budget.Take(bytes, taken.size())) return Refuse(shown, L"", Reason::OverBudget);
    for (auto& [entry, scenario] : taken) {
      // No more than the directory claims comes out, and that much the budget allowed.
      problem = ExtractZipEntry(archive, *entry, entry->size, scenario.bytes);
      if (problem != ZipProblem::None) {
        m_budget = before;
        return Refuse(shown, L"", Reason::BadArchive, {},
                      problem == ZipProblem::TooLarge ? ZipProblem::Damaged : problem);
      }
    }
    for (auto& [entry, scenario] : taken) m_scenarios.push_back(std::move(scenario));
  }

  // The scenario file of a name that the game reads, in either folder: the per-user copy's first,
  // which the game reads in place of the real one; "" when there is none. The file system
  // compares the names, as it does when the game opens them.
  std::string FindExisting(const std::string& name) const {
    for (const std::string& folder : {m_perUser, RealFolder()}) {
      if (!folder.empty() && GetPathKind(WidePath(FileIn(folder, name))) == PathKind::File)
        return FileIn(folder, name);
    }
    return "";
  }

  static bool SameBytes(const std::string& path, const std::string& bytes) {
    if (GetFileStamp(path).size != bytes.size()) return false;
    std::string there;
    return ReadWholeFile(WidePath(path), there).ok && there == bytes;
  }

  static FileResult Write(const std::string& folder, const std::string& name,
                          const std::string& bytes, bool replace) {
    unsigned long error = 0;
    if (!CreateFolders(folder, &error)) return FileResult::FromLastError(folder, error);
    return FileReplacement(FileIn(folder, name)).Commit(bytes, replace);
  }

  // Where a scenario goes, and under which name; nothing when it is left out or refused. A name
  // is taken by a file of the folders or by a scenario of this drop planned before.
  std::optional<Plan> PlanOne(const Scenario& scenario, const std::vector<Plan>& plans) {
    const auto earlierOf = [&](const std::string& name) -> const Plan* {
      for (const Plan& plan : plans) {
        if (SameFileName(plan.name, name)) return &plan;
      }
      return nullptr;
    };
    Plan plan{&scenario, scenario.name, RealFolder()};
    const Plan* earlier = earlierOf(plan.name);
    const std::string existing = earlier ? "" : FindExisting(plan.name);
    // One that only answers to the name as an alias is not that scenario.
    if (!existing.empty() && IsAliasOfAnother(existing)) {
      Refuse(scenario, Reason::NameOfAnother);
      return std::nullopt;
    }
    if (!earlier && existing.empty()) return plan;
    const bool same =
        earlier ? earlier->scenario->bytes == scenario.bytes : SameBytes(existing, scenario.bytes);
    plan.folder =
        earlier ? earlier->folder : existing.substr(0, FindLastSeparator(AnsiCodePage(), existing));
    plan.write = !same;
    if (same) return plan;
    switch (m_ask(plan.name)) {
      case ReplaceAnswer::Replace:
        plan.replace = true;
        return plan;
      case ReplaceAnswer::KeepBoth:
        plan.name = FreeScenarioName(plan.name, [&](const std::string& candidate) {
          return earlierOf(candidate) || !FindExisting(candidate).empty();
        });
        if (!plan.name.empty()) return plan;
        Refuse(scenario, Reason::CopyFailed,
               FileResult::Failure(FileIn(plan.folder, scenario.name), kErrorFileExists,
                                   FailureKind::SystemError));
        return std::nullopt;
      case ReplaceAnswer::LeaveOut:
        break;
    }
    return std::nullopt;
  }

  const AskToReplace& m_ask;
  const std::string m_perUser;
  DropBudget m_budget;
  std::vector<Scenario> m_scenarios;
  std::vector<Refusal> m_refused;
};

}  // namespace

std::vector<std::string> ImportScenarios(const std::vector<DroppedFile>& files,
                                         const AskToReplace& ask, const TellRefused& tell) {
  Import import(ask);
  for (const DroppedFile& file : files) import.Take(file);
  std::vector<std::string> names = import.Bring();
  if (!import.Refused().empty()) tell(import.Refused());
  return names;
}
