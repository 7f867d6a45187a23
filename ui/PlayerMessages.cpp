#include "ui/PlayerMessages.h"

#include <string>
#include <string_view>

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
// The message about a folder without its startup folder, before and after the folder's name.
constexpr std::string_view kNoStartupFolderStart =
    "The game installation points to this directory :\r\n";
constexpr std::string_view kNoStartupFolderEnd = "\r\n\r\nBut this folder does not exist.";

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

}  // namespace

void ShowGameLookupMessage(GameLookupOutcome outcome, const std::wstring& folderNotHeld) {
  switch (outcome) {
    case GameLookupOutcome::Success:
      return;
    case GameLookupOutcome::NothingRegistered:
      MsgBox("Cannot find the folder where AoM is installed.", kMsgBoxError, kLookupTitle);
      return;
    case GameLookupOutcome::NoStartupFolder:
      // Names the game folder itself, although what is missing is its startup subfolder; a
      // folder that the code page cannot hold is named as it was written.
      if (sGamePath.empty() && !folderNotHeld.empty()) {
        const bool ends = folderNotHeld.back() == L'\\' || folderNotHeld.back() == L'/';
        MsgBox(WideFromAnsi(kNoStartupFolderStart) + folderNotHeld + (ends ? L"" : L"\\") +
                   WideFromAnsi(kNoStartupFolderEnd),
               kMsgBoxError, kLookupTitle);
        return;
      }
      MsgBox(std::string(kNoStartupFolderStart) + sGamePath + std::string(kNoStartupFolderEnd),
             kMsgBoxError, kLookupTitle);
      return;
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
  // Without its final "\", which a command line would read as an escaped quote.
  const std::string folder = WithoutTrailingSeparators(AnsiCodePage(), sGamePath, 3);
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
  if (failure.IsWriting()) {
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

std::wstring ScenarioInArchive(const std::wstring& entry, const std::wstring& archive) {
  return entry + L" in " + archive;
}

namespace {

constexpr const char* kDropTitle = "Cannot add scenario";

void ShowAbout(const std::string& before, const std::wstring& file, const std::string& after,
               const char* title = kDropTitle) {
  MsgBox(WideFromAnsi(before) + file + WideFromAnsi(after), kMsgBoxExclamation, title);
}

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

}  // namespace

void ReportNotAScenario(const std::wstring& file) {
  ShowAbout("This is neither a scenario (.scn) nor a zip archive of scenarios:\r\n", file,
            "\r\n\r\nIt was not added.");
}

void ReportNameNotHeld(const std::wstring& file, NameRefusal refusal) {
  const char* why = refusal == NameRefusal::Empty ? "Its name is empty."
                    : refusal == NameRefusal::ControlCharacter
                        ? "Its name holds a control character."
                        : "Its name holds characters that this system's code page cannot write.";
  ShowAbout("The game's user.cfg could not name the scenario\r\n", file,
            "\r\n\r\n" + std::string(why) + " Rename the file, then add it again.");
}

void ReportScenarioTooLarge(const std::wstring& file) {
  ShowAbout("The scenario\r\n", file,
            "\r\nis larger than 256 MiB, far more than any scenario, and was not added.");
}

void ReportBadArchive(const std::wstring& archive, ZipProblem problem) {
  ShowAbout("Nothing was added from the archive\r\n", archive,
            "\r\n\r\n" + ArchiveSentence(problem));
}

void ReportCopyFailure(const std::wstring& file, const FileResult& failure) {
  MsgBox(L"The scenario\r\n" + file +
             WideFromAnsi("\r\ncould not be copied into the game's scenario folder.\r\n\r\n" +
                          failure.file + ":\r\n" + FailureSentence(failure)),
         kMsgBoxError, kDropTitle);
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
  for (const std::string& name : names) list += "\r\n" + name;
  MsgBox("All ten menus are in use, so these scenarios got no menu:\r\n" + list +
             "\r\n\r\nThey are in the game's scenario folder now: Edit can put one of them in "
             "a menu.",
         kMsgBoxInformation, "No menu free");
}
