// A save killed at any step leaves user.cfg with exactly the old or exactly the new bytes, and the
// next save succeeds.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "platform/FileSystem.h"
#include "tests/support/TempGameFolder.h"

using namespace test_support;

namespace {

const std::string kOld = "other\r\nattractMode-scenario-0 A\r\nattractMode-scenario-1 B\r\n";
const std::string kNew =
    "other\r\nattractMode-scenario-0 A\r\nattractMode-scenario-1 B\r\nattractMode-scenario-2 "
    "New\r\n"
    "-attractMode-scenario-3\r\n-attractMode-scenario-4\r\n-attractMode-scenario-5\r\n"
    "-attractMode-scenario-6\r\n-attractMode-scenario-7\r\n-attractMode-scenario-8\r\n"
    "-attractMode-scenario-9\r\n";

std::string ChildPath() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1) + "save_child.exe";
}

// Starts the child, waits until it stands at the step, kills it and waits until it is gone.
void KillSaveAtStep(const std::string& gameFolder, ReplaceStep step) {
  const std::string eventName = "tessivane-crash-" + std::to_string(GetCurrentProcessId()) + "-" +
                                std::to_string(static_cast<int>(step));
  HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
  ASSERT_NE(reached, nullptr);

  // The folder goes without its final backslash, which would escape the closing quote.
  const std::string folder = gameFolder.substr(0, gameFolder.size() - 1);
  std::string commandLine = "\"" + ChildPath() + "\" \"" + folder + "\" " +
                            std::to_string(static_cast<int>(step)) + " " + eventName;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child = {};
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &child));
  HANDLE waitFor[] = {reached, child.hProcess};
  const DWORD woken = WaitForMultipleObjects(2, waitFor, FALSE, 60000);
  DWORD exitCode = 0;
  GetExitCodeProcess(child.hProcess, &exitCode);
  EXPECT_EQ(woken, WAIT_OBJECT_0) << "the child did not reach step " << static_cast<int>(step)
                                  << "; it ended with " << exitCode;
  TerminateProcess(child.hProcess, 9);
  WaitForSingleObject(child.hProcess, 60000);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  CloseHandle(reached);
}

TEST(CrashSafety, KilledSaveLeavesOldOrNewBytesAndTheNextSaveSucceeds) {
  const ReplaceStep steps[] = {ReplaceStep::TempCreated, ReplaceStep::TempWritten,
                               ReplaceStep::TempFlushed, ReplaceStep::BeforeReplace,
                               ReplaceStep::AfterReplace};
  for (ReplaceStep step : steps) {
    SCOPED_TRACE("killed at step " + std::to_string(static_cast<int>(step)));
    TempGameFolder game;
    WriteBytes(game.UserCfg(), kOld);
    KillSaveAtStep(game.Path(), step);

    const std::string after = ReadBytes(game.UserCfg());
    EXPECT_TRUE(after == kOld || after == kNew) << "user.cfg holds: " << after;
    EXPECT_EQ(after, step == ReplaceStep::AfterReplace ? kNew : kOld);

    sGamePath = game.Path();
    sCfgFile.clear();
    InitMenus();
    ASSERT_TRUE(LoadMenus().ok);
    if (after == kOld) AddMenu("New");
    const FileResult saved = SaveMenus();
    EXPECT_TRUE(saved.ok) << saved.file << ": " << saved.error;
    EXPECT_EQ(ReadBytes(game.UserCfg()), kNew);
    EXPECT_FALSE(PathExists(game.UserCfg() + ".tmp"));
  }
}

}  // namespace
