// A save killed at any step leaves user.cfg with exactly the old or exactly the new bytes, and the
// next save succeeds; two saves at the same moment take turns.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "platform/FileReplacement.h"
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

// A save of another process, standing at one step of its save until Resume() or its end.
class ChildSave {
 public:
  ChildSave(const std::string& gameFolder, ReplaceStep step, bool mayGoOn) {
    const std::string prefix = "tessivane-crash-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(static_cast<int>(step));
    reached_ = CreateEventA(nullptr, TRUE, FALSE, prefix.c_str());
    if (mayGoOn) goOn_ = CreateEventA(nullptr, TRUE, FALSE, (prefix + "-go-on").c_str());
    EXPECT_TRUE(reached_ && (goOn_ || !mayGoOn));
    // The folder goes without its final backslash, which would escape the closing quote.
    const std::string folder = gameFolder.substr(0, gameFolder.size() - 1);
    std::string commandLine = "\"" + ChildPath() + "\" \"" + folder + "\" " +
                              std::to_string(static_cast<int>(step)) + " " + prefix +
                              (mayGoOn ? " " + prefix + "-go-on" : "");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &child_);
    EXPECT_TRUE(started_);
  }
  ~ChildSave() {
    if (started_) {
      TerminateProcess(child_.hProcess, 9);
      WaitForSingleObject(child_.hProcess, 60000);
      CloseHandle(child_.hThread);
      CloseHandle(child_.hProcess);
    }
    if (goOn_) CloseHandle(goOn_);
    if (reached_) CloseHandle(reached_);
  }
  ChildSave(const ChildSave&) = delete;
  ChildSave& operator=(const ChildSave&) = delete;

  // True when the child stands at its step; false when it ended before (its exit code said).
  bool ReachedStep() {
    if (!started_) return false;
    HANDLE waitFor[] = {reached_, child_.hProcess};
    const DWORD woken = WaitForMultipleObjects(2, waitFor, FALSE, 60000);
    EXPECT_EQ(woken, WAIT_OBJECT_0) << "the child ended with " << ExitCode();
    return woken == WAIT_OBJECT_0;
  }
  // Lets the save go on and waits for the child's end: its exit code (0: saved).
  DWORD Resume() {
    SetEvent(goOn_);
    WaitForSingleObject(child_.hProcess, 60000);
    return ExitCode();
  }

 private:
  DWORD ExitCode() const {
    DWORD exitCode = 0;
    GetExitCodeProcess(child_.hProcess, &exitCode);
    return exitCode;
  }

  HANDLE reached_ = nullptr;
  HANDLE goOn_ = nullptr;
  PROCESS_INFORMATION child_ = {};
  bool started_ = false;
};

void StartAfresh(const TempGameFolder& game) {
  sGamePath = game.Path();
  sCfgFile.clear();
  InitMenus();
  ForgetMenusFile();
}

// Another copy of the tool saves while this one does: the second save waits for the first one's
// lock, then checks the file itself, finds the first one's lines and does not replace them.
TEST(CrashSafety, SecondSaveAtTheSameMomentWaitsAndNeverReplacesTheFirstOnesLines) {
  TempGameFolder game;
  WriteBytes(game.UserCfg(), kOld);
  StartAfresh(game);
  ASSERT_TRUE(LoadMenus().ok);
  AddMenu("Mine");

  ChildSave first(game.Path(), ReplaceStep::TempFlushed, true);  // its check is behind it
  ASSERT_TRUE(first.ReachedStep());
  FileResult second;
  std::thread saving([&] { second = SaveMenus(); });
  Sleep(200);  // the second save now waits for the lock, for a second at most
  EXPECT_EQ(first.Resume(), 0u) << "the first save succeeded";
  saving.join();
  EXPECT_EQ(second.kind, FailureKind::ChangedElsewhere);
  EXPECT_EQ(ReadBytes(game.UserCfg()), kNew);
  EXPECT_FALSE(PathExists(game.UserCfg() + ".tmp"));
  const MenusReread reread = RereadMenusIfChanged();
  EXPECT_TRUE(reread.reread && reread.droppedUnsaved);
}

TEST(CrashSafety, KilledSaveLeavesOldOrNewBytesAndTheNextSaveSucceeds) {
  const ReplaceStep steps[] = {ReplaceStep::TempCreated, ReplaceStep::TempWritten,
                               ReplaceStep::TempFlushed, ReplaceStep::BeforeReplace,
                               ReplaceStep::AfterReplace};
  for (ReplaceStep step : steps) {
    SCOPED_TRACE("killed at step " + std::to_string(static_cast<int>(step)));
    TempGameFolder game;
    WriteBytes(game.UserCfg(), kOld);
    {
      ChildSave killed(game.Path(), step, false);
      ASSERT_TRUE(killed.ReachedStep());
    }  // killed here

    const std::string after = ReadBytes(game.UserCfg());
    EXPECT_TRUE(after == kOld || after == kNew) << "user.cfg holds: " << after;
    EXPECT_EQ(after, step == ReplaceStep::AfterReplace ? kNew : kOld);

    StartAfresh(game);
    ASSERT_TRUE(LoadMenus().ok);
    if (after == kOld) AddMenu("New");
    const FileResult saved = SaveMenus();
    EXPECT_TRUE(saved.ok) << saved.file << ": " << saved.error;
    EXPECT_EQ(ReadBytes(game.UserCfg()), kNew);
    EXPECT_FALSE(PathExists(game.UserCfg() + ".tmp"));
  }
}

}  // namespace
