#include "ui/modStartUp.h"

#include <exception>
#include <string>

#include "game/CommandLine.h"
#include "platform/ComApartment.h"
#include "platform/StreamedFiles.h"
#include "platform/window/Form.h"
#include "platform/window/MessageLoop.h"
#include "ui/PlayerMessages.h"
#include "ui/ProgramIdentity.h"
#include "ui/frmSplash.h"

namespace {

constexpr int kStartUpFailed = 1;

}  // namespace

int RunTessivane(std::wstring_view commandLineArguments) {
  // For the whole run: the shell's open of the home page needs COM on this thread.
  ComApartment com;
  // A failure in an event says so under the program's caption, as a failed start does.
  SetEventErrorTitle(std::string(kProgramCaption));
  try {
    const SortedArguments arguments = SortArguments(
        SplitCommandLine(commandLineArguments),
        [](const std::wstring& argument) { return GetPathKind(argument) == PathKind::File; });
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
