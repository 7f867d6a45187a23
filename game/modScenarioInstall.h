#pragma once
// Bringing downloaded scenarios into the scenario folder that the game reads, from the files
// dropped on the window or named on the command line: scenario files, zip archives (their
// scenarios from any folder inside) and folders (the scenarios directly in them). All of one drop
// is read and unpacked into memory first, within the drop's budget (kDropBytes, kDropScenarios);
// then each scenario is compared with the one of its name already there, asked about when they
// differ, and only then written, whole or not at all, by the atomic writer of user.cfg. The folder
// is the game folder's "scenario", or, where Windows keeps per-user copies for the game and the
// real folder refuses the new file for want of rights, its per-user copy (made when needed).
// Nothing here shows a message: the caller words the question and what was refused.
#include <functional>
#include <string>
#include <vector>

#include "game/ScenarioImport.h"
#include "game/ZipArchive.h"
#include "platform/DroppedFile.h"
#include "platform/FileSystem.h"

// Something of a drop that did not go in, and why.
struct Refusal {
  enum class Reason {
    NotAScenario,   // neither a scenario nor a zip archive nor a folder
    NameNotHeld,    // user.cfg cannot hold its name (`name` says why)
    NameOfAnother,  // its name is only an alias (8.3) of another file in the scenario folder
    TooLarge,       // a scenario larger than kDropBytes by itself
    OverBudget,     // the drop would bring more than kDropBytes or kDropScenarios in
    BadArchive,     // nothing of the archive went in (`zip` says why)
    CopyFailed,     // reading it or writing it failed (`failure` says why)
  };
  std::wstring file;     // as the player knows it (DroppedFile::name), or the entry's name
  std::wstring archive;  // the archive the entry is in, as the player knows it; "" for a file
  Reason reason = Reason::NotAScenario;
  NameRefusal name = NameRefusal::None;
  ZipProblem zip = ZipProblem::None;
  FileResult failure;
};

// What the player answers when a scenario of that name with other bytes is already there.
enum class ReplaceAnswer { Replace, KeepBoth, LeaveOut };
using AskToReplace = std::function<ReplaceAnswer(const std::string& name)>;
// Told once, at the end of a drop, what of it was refused, when anything was.
using TellRefused = std::function<void(const std::vector<Refusal>& refused)>;

// The names of the scenarios that went in (written, or already there with the same bytes), in the
// order dropped and, inside an archive, in the archive's order. sGamePath must be the game folder.
std::vector<std::string> ImportScenarios(const std::vector<DroppedFile>& files,
                                         const AskToReplace& ask, const TellRefused& tell);
