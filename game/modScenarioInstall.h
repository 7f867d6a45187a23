#pragma once
// Bringing downloaded scenarios into the scenario folder that the game reads: each is first
// written whole to a temporary file in that folder (staged), then moved onto its name in one
// step, asking first when a scenario of that name with other bytes is already there. The folder
// is the game folder's "scenario", or, where Windows keeps per-user copies for the game and the
// real folder refuses the new file for want of rights, its per-user copy (made when needed).
// Nothing here shows a message: each step returns what happened, and the window words it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/ZipArchive.h"
#include "platform/FileSystem.h"
#include "platform/StreamedFiles.h"

// A scenario written whole to its temporary file, waiting to be moved onto its name.
struct StagedScenario {
  std::string name;  // the scenario name, in the ANSI code page
  std::unique_ptr<NewFileWriter> file;
};

// Why something could not be staged.
enum class StageProblem {
  None,
  TooLarge,      // over kLargestScenario bytes, as a file or once inflated
  CopyFailed,    // reading the source or writing the temporary file failed (FileResult says)
  ArchiveBroken  // the archive cannot be used: nothing of it is to go in (ZipProblem says)
};

struct StageResult {
  StageProblem problem = StageProblem::None;
  FileResult failure;                        // for CopyFailed
  ZipProblem zipProblem = ZipProblem::None;  // for ArchiveBroken
};

// Called between pieces of long work, so that the window can stay drawn.
using StillWorking = std::function<void()>;

// Stages a dropped scenario file under `name`.
StageResult StageScenarioFile(const std::wstring& path, const std::string& name,
                              StagedScenario& staged, const StillWorking& stillWorking);

// An opened archive and its directory.
struct OpenedArchive {
  ReadOnlyFile file;
  std::vector<ZipEntry> entries;
  ZipReader Reader();
};
// Opens and reads the archive's directory: CopyFailed when it cannot be opened, ArchiveBroken
// when it is no whole zip.
StageResult OpenArchive(const std::wstring& path, OpenedArchive& archive);
// The entry's file name as Windows spells names (UTF-16), with its folders.
std::wstring EntryName(const ZipEntry& entry);
// Stages one entry of the archive under `name`.
StageResult StageArchiveEntry(OpenedArchive& archive, const ZipEntry& entry,
                              const std::string& name, StagedScenario& staged,
                              const StillWorking& stillWorking);

// What the player answers when a scenario of that name with other bytes is already there.
enum class ReplaceAnswer { Replace, KeepBoth, LeaveOut };
using AskToReplace = std::function<ReplaceAnswer(const std::string& name)>;

enum class InstallOutcome {
  Copied,        // moved onto its name (*finalName: the name, or the free "Name (2)")
  AlreadyThere,  // a scenario of that name holds the same bytes: nothing copied, nothing asked
  LeftOut,       // the player chose to leave it out
  Failed,        // the move failed (*failure says)
};
// Moves the staged scenario onto its name, asking `ask` only when a different one is there.
InstallOutcome InstallStaged(StagedScenario& staged, const AskToReplace& ask,
                             std::string* finalName, FileResult* failure);
