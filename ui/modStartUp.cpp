#include "ui/modStartUp.h"

#include <exception>
#include <string>
#include <vector>

#include "core/modMain.h"
#include "game/CommandLine.h"
#include "game/modGameLookup.h"
#include "platform/ComApartment.h"
#include "platform/FileSystem.h"
#include "platform/window/FileHandOver.h"
#include "platform/window/Form.h"
#include "platform/window/WindowError.h"
#include "ui/PlayerMessages.h"
#include "ui/ProgramIdentity.h"
#include "ui/frmSplash.h"

namespace {

constexpr int kStartUpFailed = 1;

// A start with files while a window is open on the same game folder hands the files to that
// window, named in full, since its current folder is another.
bool HandedToOpenWindow(const SortedArguments& arguments, FileHandOver& handOver) {
  if (arguments.files.empty() ||
      LookUpGamePath(GameFolderArgument(arguments.others)) != GameLookupOutcome::Success)
    return false;
  std::vector<std::wstring> files;
  for (const std::wstring& file : arguments.files) files.push_back(FullPathName(file));
  return handOver.HandToOpenWindow(sGamePath, files);
}

}  // namespace

int RunTessivane(std::wstring_view commandLineArguments) {
  // For the whole run: drops, the shell's open of the home page and the folder chooser need OLE
  // and COM on this thread.
  ComApartment com;
  // A failure in an event says so under the program's caption, as a failed start does.
  SetEventErrorTitle(std::string(kProgramCaption));
  try {
    const SortedArguments arguments = SortArguments(
        SplitCommandLine(commandLineArguments),
        [](const std::wstring& argument) { return GetPathKind(argument) == PathKind::File; });
    // For the whole run: later starts for the same game folder hand their files to this window.
    FileHandOver handOver;
    if (HandedToOpenWindow(arguments, handOver)) return 0;
    frmSplash splash(GameFolderArgument(arguments.others), arguments.files);
    splash.Show();
    const int exitCode = RunMessageLoop();
    if (splash.StartUpFailure()) std::rethrow_exception(splash.StartUpFailure());
    return exitCode;
  } catch (...) {
    try {
      ReportStartUpFailure(std::current_exception());
    } catch (...) {
      // Nothing is left to report with; the exit code still tells.
    }
    return kStartUpFailed;
  }
}
