#include "ui/PlayerMessages.h"

#include <algorithm>

#include "core/GameFolderLayout.h"
#include "core/modMain.h"
#include "platform/AnsiText.h"
#include "platform/ExceptionText.h"
#include "platform/PathText.h"
#include "platform/SystemMessage.h"
#include "platform/window/MsgBox.h"
#include "ui/ProgramIdentity.h"

namespace {

constexpr const char* kLookupTitle = "Invalid AoM path";

// The one place where a failure's kind becomes words: the sentence that says why.
std::string FailureSentence(const FileResult& failure) {
  switch (failure.kind) {
    case FailureKind::ReadOnly:
      return "The file is read-only.";
    case FailureKind::InUse:
      return "The file is in use by another program.";
    case FailureKind::Utf16Text:
      return "The file is Unicode (UTF-16) text, which the game does not read.";
    case FailureKind::NeverRead:
      return "the game's user.cfg was never read, so it is not known where it is.";
    case FailureKind::NeedsAdministrator:
      return "The game's folder can be written only with administrator rights. Run " +
             std::string(kProgramCaption) + " as administrator to change the menus.";
    case FailureKind::ChangedElsewhere:
      return "Another program changed the menus in the file since they were read.";
    case FailureKind::SystemError:
    case FailureKind::AccessRefused:
      break;
  }
  return SystemMessage(failure.error) + ".";
}

// The file the failure is about, when it is not user.cfg itself (its temporary file).
std::string OtherFilePrefix(const FileResult& failure, const std::string& cfgFile) {
  return failure.file != cfgFile ? failure.file + ":\r\n" : "";
}

// What went wrong with a save: the file, the other file it was about, and why.
std::string SaveFailureText(const FileResult& failure) {
  return "The menus could not be saved to\r\n" + sCfgFile + "\r\n\r\n" +
         OtherFilePrefix(failure, sCfgFile) + FailureSentence(failure);
}

// What a box names at most, so that it fits on a screen of 1024 x 768.
constexpr size_t kNamedInABox = 12;

std::string ArchiveSentence(ZipProblem problem) {
  switch (problem) {
    case ZipProblem::Encrypted:
      return "A scenario in it is protected by a password.";
    case ZipProblem::UnknownMethod:
      return "A scenario in it is compressed in a way other than the zip archive's usual one "
             "(stored or deflated).";
    case ZipProblem::CrcMismatch:
      return "A scenario in it is damaged: its bytes are not those the archive says it holds.";
    default:
      return "It is not a zip archive, or it is damaged or incomplete (a download cut off?).";
  }
}

std::string RefusalSentence(const Refusal& refused) {
  switch (refused.reason) {
    case Refusal::Reason::NotAScenario:
      return "It is neither a scenario (.scn) nor a zip archive of scenarios.";
    case Refusal::Reason::NameNotHeld:
      return refused.name == NameRefusal::Empty ? "The game's user.cfg cannot name it: its name is "
                                                  "empty."
             : refused.name == NameRefusal::ControlCharacter
                 ? "The game's user.cfg cannot name it: its name holds a control character."
             : refused.name == NameRefusal::DeviceName
                 ? "Windows keeps its name for a device (such as CON, NUL or COM1)."
                 : "The game's user.cfg cannot name it: its name holds characters that this "
                   "system's code page cannot write.";
    case Refusal::Reason::NameOfAnother:
      return "Its name is another name (a short 8.3 name) of a different file in the game's "
             "scenario folder.";
    case Refusal::Reason::TooLarge:
      return "It is larger than 256 MiB, far more than any scenario.";
    case Refusal::Reason::OverBudget:
      return "One drop brings in at most 256 MiB and 1,000 scenarios: add fewer at a time.";
    case Refusal::Reason::BadArchive:
      return "Nothing of it was added. " + ArchiveSentence(refused.zip);
    case Refusal::Reason::CopyFailed:
      break;
  }
  return "It could not be copied into the game's scenario folder. " + refused.failure.file +
         ":\r\n" + FailureSentence(refused.failure);
}

// A name as the box shows it: a control character in it would break the lines.
std::wstring Shown(std::wstring name) {
  std::replace_if(
      name.begin(), name.end(), [](wchar_t c) { return c < 32 || c == 127; }, L'?');
  return name;
}

// How many more there were than a box names, on a line of its own; "" when none.
std::string More(size_t count) {
  return count > kNamedInABox ? "\r\nand " + std::to_string(count - kNamedInABox) + " more" : "";
}

}  // namespace

void ShowGameLookupMessage(GameLookupOutcome outcome, const std::wstring& folderNotHeld) {
  // A folder without startup is named itself, although what is missing is its startup subfolder;
  // a folder that the code page cannot hold is named as it was written.
  if (outcome == GameLookupOutcome::NothingRegistered) {
    MsgBox("Cannot find the folder where AoM is installed.", kMsgBoxError, kLookupTitle);
  } else if (outcome == GameLookupOutcome::NoStartupFolder) {
    std::wstring folder = sGamePath.empty() ? folderNotHeld : WideFromAnsi(sGamePath);
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    MsgBox(L"The game installation points to this directory :\r\n" + folder +
               L"\r\n\r\nBut this folder does not exist.",
           kMsgBoxError, kLookupTitle);
  }
}

std::vector<std::string> NoGameFolderRows() {
  return {"The game's folder was not found.", "Add chooses it, or drop the folder here."};
}

std::wstring ChooseGameFolderTitle() { return L"Choose the folder where AoM is installed"; }

void ReportNotAGameFolder(const std::wstring& folder) {
  MsgBox(L"This folder is not the game's:\r\n" + folder +
             L"\r\n\r\nThe folder where AoM is installed holds the game's program (aom.exe, or "
             L"aomx.exe for The Titans) and its folders startup and scenario. Steam installs the "
             L"game in steamapps\\common\\Age of Mythology of one of its libraries.",
         kMsgBoxExclamation, "Not the game's folder");
}

void ReportGameFolderChosen() {
  MsgBox("The menus of the game in\r\n" + sGamePath +
             "\r\nare shown now.\r\n\r\nTo have this folder found at every start, copy "
             "tessivane.exe into it, or start tessivane.exe from a shortcut that names the folder "
             "after the program, in quotes:\r\n\r\ntessivane.exe \"" +
             sGamePath + "\"",
         kMsgBoxInformation, "Game folder chosen");
}

void ReportSaveFailure(const FileResult& failure) {
  MsgBox(SaveFailureText(failure) +
             "\r\n\r\nThe file was left unchanged. The change will be saved with the next one "
             "that succeeds.",
         kMsgBoxError, "Cannot save menus");
}

std::string EndSessionBlockReason(const FileResult& failure) {
  return "The menus are not saved: " + FailureSentence(failure);
}

// At close, a change that still cannot be saved: true when the player wants another try.
bool AskToTrySavingAgain(const FileResult& failure) {
  return MsgBox(SaveFailureText(failure) +
                    "\r\n\r\nTry to save it again? If you choose No, the window closes without "
                    "saving, and your last change is lost.",
                kMsgBoxQuestionYesNo, "Cannot save menus") == IDYES;
}

void ReportLoadFailure(const FileResult& failure, const std::string& cfgFile) {
  // A first start whose default file could not be made names user.cfg and why: the failure
  // itself may be about its temporary file.
  if (failure.step != FileStep::Read) {
    MsgBox("The game's menu settings could not be written to\r\n" + cfgFile + "\r\n\r\n" +
               OtherFilePrefix(failure, cfgFile) + FailureSentence(failure) +
               "\r\n\r\nNo menus are shown, and nothing was written.",
           kMsgBoxError, "Cannot create menus");
    return;
  }
  MsgBox("The game's menu settings could not be read from\r\n" + failure.file + "\r\n\r\n" +
             FailureSentence(failure) +
             "\r\n\r\nNo menus are shown, and the file will not be changed.",
         kMsgBoxError, "Cannot read menus");
}

void ReportPerUserCopy() {
  MsgBox(
      "The game's folder cannot be written without administrator rights, so the menus are now "
      "kept in this file of yours:\r\n" +
          sCfgFile +
          "\r\n\r\nThe game reads it in place of its own user.cfg whenever it runs without "
          "administrator rights, as it normally does.\r\n\r\nThe game folder's own file, "
          "which stays as it was:\r\n" +
          sGamePath + std::string(kUserCfgInGameFolder),
      kMsgBoxInformation, "Menus kept for this user");
}

void ReportDroppedChange() {
  MsgBox("Another program changed the menus in\r\n" + sCfgFile +
             "\r\nafter your last change could not be saved there.\r\n\r\nThe list now shows the "
             "menus as that program left them; your change was not saved.",
         kMsgBoxExclamation, "Menus changed elsewhere");
}

void ReportLastMenuKept() {
  MsgBox("You must leave at least one menu.", kMsgBoxExclamation, "Cannot remove");
}

void ReportStartUpFailure(std::exception_ptr error) {
  MsgBox(std::string(kProgramCaption) + " could not start.\r\n\r\n" + ExceptionText(error),
         kMsgBoxError, std::string(kProgramCaption));
}

void ReportRefused(const std::vector<Refusal>& refused) {
  std::wstring list;
  // An archive's entries are named by the archive's own name: its folders, again on every line,
  // would wrap each line of a dozen and push the box past the screen's edge.
  for (size_t n = 0; n < refused.size() && n < kNamedInABox; ++n) {
    const Refusal& one = refused[n];
    list += L"\r\n" + Shown(one.file) +
            (one.archive.empty() ? L"" : L" in " + Shown(LastNamePart(one.archive))) +
            L"\r\n      " + WideFromAnsi(RefusalSentence(one));
  }
  MsgBox(WideFromAnsi("These were not added:\r\n") + list + WideFromAnsi(More(refused.size())),
         kMsgBoxExclamation, "Cannot add scenario");
}

int AskToReplaceScenario(const std::string& name) {
  return MsgBox("The game's scenario folder already holds a scenario named \"" + name +
                    "\", with other contents.\r\n\r\nReplace it with the new one?\r\n\r\n"
                    "Yes replaces it. No keeps both, the new one under a name of its own, such as "
                    "\"" +
                    name + " (2)\". Cancel leaves the new one out.",
                kMsgBoxQuestionYesNoCancel, "Replace scenario?");
}

void ReportNoMenuFor(const std::vector<std::string>& names) {
  std::string list;
  for (size_t n = 0; n < names.size() && n < kNamedInABox; ++n) list += "\r\n" + names[n];
  MsgBox("All ten menus are in use, so these scenarios got no menu:\r\n" + list +
             More(names.size()) +
             "\r\n\r\nThey are in the game's scenario folder now: Edit can put one of them in "
             "a menu.",
         kMsgBoxInformation, "No menu free");
}

std::string ImportBlockReason() { return "Scenarios are being added to the game."; }
