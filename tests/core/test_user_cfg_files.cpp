// Loading and saving the real user.cfg under Wine: defaults, kept lines, and every failure leaving
// the file exactly as it was.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/GameFolderLayout.h"
#include "core/UserCfgFormat.h"
#include "core/modFileOperation.h"
#include "core/modMain.h"
#include "core/modMenus.h"
#include "platform/FileReplacement.h"
#include "platform/VirtualStore.h"
#include "tests/support/TempGameFolder.h"

using namespace test_support;

namespace {

// The disabled lines of the slots from `first` to 9, as a save writes them.
std::string DisabledFrom(int first) {
  std::string lines;
  for (int n = first; n <= 9; ++n) lines += "-attractMode-scenario-" + std::to_string(n) + "\r\n";
  return lines;
}

const std::string kUserFile =
    "+showFPS\r\nattractMode-scenario-0 Mine\r\nsetVolume 0.5\nattractMode-scenario-1 Two\r\n";
const std::string kUserFileAfterAdd =
    "+showFPS\r\nsetVolume 0.5\r\nattractMode-scenario-0 Mine\r\nattractMode-scenario-1 Two\r\n"
    "attractMode-scenario-2 Added\r\n" +
    DisabledFrom(3);

class UserCfgFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    sGamePath = game.Path();
    sCfgFile.clear();
    bAutoSave = false;
    InitMenus();
    ForgetMenusFile();
  }

  // What the main window's refresh does after loading: save while saving is switched on.
  FileResult LoadAndRefresh() {
    FileResult loaded = LoadMenus();
    if (loaded.ok && bAutoSave) return SaveMenus();
    return loaded;
  }

  void LoadUserFileAndAdd() {
    WriteBytes(game.UserCfg(), kUserFile);
    ASSERT_TRUE(LoadAndRefresh().ok);
    AddMenu("Added");
  }

  // Starts on the game under Program Files, as the program does: loads its user.cfg.
  void LoadProtected(const ProtectedGameFolder& protectedGame) {
    sGamePath = protectedGame.Path();
    bool made = true;
    EXPECT_TRUE(LoadMenus(&made).ok);
    EXPECT_FALSE(made);
  }

  void ExpectUnchangedAndNoTemporaryFile() {
    EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFile);
    EXPECT_FALSE(PathExists(game.UserCfg() + ".tmp"));
  }

  TempGameFolder game;
};

TEST_F(UserCfgFiles, MissingFileBecomesTheDefaultFileAndNothingMore) {
  ASSERT_TRUE(LoadAndRefresh().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), DefaultUserCfg());
  EXPECT_FALSE(bAutoSave);  // the default file enables slot 0, so nothing is rewritten
  EXPECT_FALSE(PathExists(game.UserCfg() + ".tmp"));
  EXPECT_EQ(sCfgFile, game.UserCfg());
  EXPECT_EQ(colMenus.Slot(0)->sName(), "~AoM_pgs_Water");
  EXPECT_EQ(colMenus.Slot(1)->sName(), "~UI_Norse");
  EXPECT_FALSE(colMenus.Slot(2)->bEnabled());
}

TEST_F(UserCfgFiles, EmptyOrSlotZeroLessFileGetsTheDefaultMenusAtOnce) {
  WriteBytes(game.UserCfg(), "");
  ASSERT_TRUE(LoadAndRefresh().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), DefaultUserCfg());

  InitMenus();
  bAutoSave = false;
  WriteBytes(game.UserCfg(), "keep\nattractMode-scenario-1 Other\nattractMode-scenario-3 Three");
  ASSERT_TRUE(LoadAndRefresh().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()),
            "keep\r\nattractMode-scenario-0 ~AoM_pgs_Water\r\nattractMode-scenario-1 Other\r\n"
            "-attractMode-scenario-2\r\nattractMode-scenario-3 Three\r\n" +
                DisabledFrom(4));
}

TEST_F(UserCfgFiles, SaveKeepsOtherLinesAndLinesAddedSinceStartUp) {
  LoadUserFileAndAdd();
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFileAfterAdd);

  // Another program changes the file between two saves: its new line stays.
  WriteBytes(game.UserCfg(), "new line\r\n" + ReadBytes(game.UserCfg()));
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), "new line\r\n" + kUserFileAfterAdd);
}

TEST_F(UserCfgFiles, ReadOnlyFileIsRefusedAndStaysReadOnly) {
  LoadUserFileAndAdd();
  ASSERT_TRUE(SetFileAttributesA(game.UserCfg().c_str(), FILE_ATTRIBUTE_READONLY));
  const FileResult saved = SaveMenus();
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(saved.file, game.UserCfg());
  EXPECT_EQ(saved.kind, FailureKind::ReadOnly);
  ExpectUnchangedAndNoTemporaryFile();
  EXPECT_TRUE(GetFileAttributesA(game.UserCfg().c_str()) & FILE_ATTRIBUTE_READONLY);

  // The table kept the change: once the file is writable again, the next save writes it.
  SetFileAttributesA(game.UserCfg().c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFileAfterAdd);
}

TEST_F(UserCfgFiles, FileHeldWithoutSharingIsReportedInUse) {
  LoadUserFileAndAdd();
  HANDLE held = HoldWithoutSharing(game.UserCfg());
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const FileResult saved = SaveMenus();
  CloseHandle(held);
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(saved.file, game.UserCfg());
  EXPECT_EQ(saved.kind, FailureKind::InUse);
  ExpectUnchangedAndNoTemporaryFile();
}

// Another save holds the temporary file, its lock: this one waits for it, trying again, and then
// says that the file is in use. (The gate sees every try to make the temporary file.)
int triesToLock = 0;
TEST_F(UserCfgFiles, SaveWaitsForTheHeldTemporaryFileThenSaysInUse) {
  LoadUserFileAndAdd();
  const std::string temp = game.UserCfg() + ".tmp";
  WriteBytes(temp, "");
  HANDLE held = HoldWithoutSharing(temp);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  triesToLock = 0;
  SetNewFileGate([](const std::string&) -> unsigned long {
    ++triesToLock;
    return 0;
  });
  const FileResult saved = SaveMenus();
  SetNewFileGate(nullptr);
  CloseHandle(held);
  EXPECT_EQ(saved.kind, FailureKind::InUse);
  EXPECT_EQ(saved.file, temp);
  EXPECT_GT(triesToLock, 2) << "tried again";
  EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFile);
  EXPECT_EQ(ReadBytes(temp), "") << "another save's temporary file is never touched";
}

// A replacement that may only create the file leaves one that another program made after its
// lock was taken, and leaves no temporary file.
TEST_F(UserCfgFiles, ReplacementThatMayOnlyCreateLeavesAFileThatAppearedMeanwhile) {
  {
    FileReplacement replacement(game.UserCfg());
    ASSERT_TRUE(replacement.Locked().ok);
    WriteBytes(game.UserCfg(), kUserFile);
    const FileResult created = replacement.Commit(DefaultUserCfg(), false);
    EXPECT_FALSE(created.ok);
    EXPECT_EQ(created.error, static_cast<unsigned long>(ERROR_ALREADY_EXISTS));
  }
  ExpectUnchangedAndNoTemporaryFile();
}

TEST_F(UserCfgFiles, FolderInTheWayOfTheTemporaryFileIsReportedAndKept) {
  LoadUserFileAndAdd();
  const std::string tempFolder = game.UserCfg() + ".tmp";
  ASSERT_TRUE(CreateDirectoryA(tempFolder.c_str(), nullptr));
  const FileResult saved = SaveMenus();
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(saved.file, tempFolder);
  EXPECT_EQ(saved.kind, FailureKind::SystemError) << "no permission refusal: no per-user copy";
  EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFile);
  EXPECT_TRUE(GetFileAttributesA(tempFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// Another copy of the tool or an editor changes the slots while the tool runs: a save never
// replaces what it has not seen; the table is read again, and the next change is saved with it.
TEST_F(UserCfgFiles, SlotsChangedElsewhereAreReadAgainAndNeverOverwrittenUnseen) {
  LoadUserFileAndAdd();
  WriteBytes(game.UserCfg(), "new line\r\n" + kUserFile);
  EXPECT_FALSE(RereadMenusIfChanged().reread) << "only a line of the game's own changed";

  const std::string theirs =
      "+showFPS\r\nattractMode-scenario-0 Mine\r\nattractMode-scenario-2 Theirs";
  WriteBytes(game.UserCfg(), theirs);
  EXPECT_EQ(SaveMenus().kind, FailureKind::ChangedElsewhere);
  EXPECT_EQ(ReadBytes(game.UserCfg()), theirs);
  const MenusReread reread = RereadMenusIfChanged();
  EXPECT_TRUE(reread.reread);
  EXPECT_TRUE(reread.droppedUnsaved) << "the added menu was never written";
  EXPECT_FALSE(colMenus.Slot(1)->bEnabled());
  AddMenu("Mine too");
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()),
            "+showFPS\r\nattractMode-scenario-0 Mine\r\nattractMode-scenario-1 Mine too\r\n"
            "attractMode-scenario-2 Theirs\r\n" +
                DisabledFrom(3));
  EXPECT_FALSE(RereadMenusIfChanged().reread) << "its own save is no change";

  // Removed meanwhile: the table stays, and the next save writes the file anew.
  ASSERT_TRUE(DeleteFileA(game.UserCfg().c_str()));
  EXPECT_FALSE(RereadMenusIfChanged().reread);
  EXPECT_EQ(colMenus.Slot(2)->sName(), "Theirs");
}

// A temporary file left behind read-only, hidden or system, by a save that was killed, is replaced.
TEST_F(UserCfgFiles, LeftOverTemporaryFileIsReplacedWhateverItsAttributes) {
  const std::string temp = game.UserCfg() + ".tmp";
  for (DWORD attributes : {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
    InitMenus();
    LoadUserFileAndAdd();
    WriteBytes(temp, "left over");
    SetFileAttributesA(temp.c_str(), attributes);
    EXPECT_TRUE(SaveMenus().ok) << attributes;
    EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFileAfterAdd) << attributes;
    EXPECT_FALSE(PathExists(temp)) << attributes;
  }
}

// user.cfg linked on Linux to a shared file stays a link; the shared file gets the save.
TEST_F(UserCfgFiles, LinkedUserCfgStaysALinkAndTheSharedFileIsSaved) {
  const std::string shared = game.Path() + "shared.cfg";
  WriteBytes(shared, kUserFile);
  ASSERT_TRUE(RunLinuxCommand("/bin/ln", {"-s", LinuxPath(shared), LinuxPath(game.UserCfg())},
                              [&] { return PathExists(game.UserCfg()); }));
  const std::string linkedTo = FinalPath(game.UserCfg());
  ASSERT_EQ(linkedTo, FinalPath(shared));
  LoadUserFileAndAdd();
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(shared), kUserFileAfterAdd);
  EXPECT_EQ(FinalPath(game.UserCfg()), linkedTo) << "no longer a link";
}

// A file that Linux keeps from being changed is refused for want of rights, not as in use.
TEST_F(UserCfgFiles, UnchangeableFileIsRefusedForWantOfRights) {
  LoadUserFileAndAdd();
  const auto unchangeable = [&] {
    HANDLE file = CreateFileA(game.UserCfg().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return file == INVALID_HANDLE_VALUE;
  };
  if (!RunLinuxCommand("/usr/bin/chattr", {"+i", LinuxPath(game.UserCfg())}, unchangeable))
    GTEST_SKIP() << "chattr +i does not work here (no chattr, or no right to set the flag)";
  const FileResult refused = SaveMenus();
  RunLinuxCommand("/usr/bin/chattr", {"-i", LinuxPath(game.UserCfg())},
                  [&] { return !unchangeable(); });
  EXPECT_EQ(refused.kind, FailureKind::AccessRefused);
  EXPECT_EQ(ReadBytes(game.UserCfg()), kUserFile);
  EXPECT_TRUE(HasUnsavedChange());
}

TEST_F(UserCfgFiles, FileRemovedAfterLoadingIsWrittenAnew) {
  LoadUserFileAndAdd();
  ASSERT_TRUE(DeleteFileA(game.UserCfg().c_str()));
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()),
            "attractMode-scenario-0 Mine\r\nattractMode-scenario-1 Two\r\n"
            "attractMode-scenario-2 Added\r\n" +
                DisabledFrom(3));
}

TEST_F(UserCfgFiles, UnreadableFileAtStartUpLoadsNothingAndWritesNothing) {
  WriteBytes(game.UserCfg(), "attractMode-scenario-1 Other\r\n");  // would get default menus
  HANDLE held = HoldWithoutSharing(game.UserCfg());
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const FileResult loaded = LoadMenus();
  CloseHandle(held);
  EXPECT_FALSE(loaded.ok);
  EXPECT_EQ(loaded.file, game.UserCfg());
  EXPECT_EQ(loaded.kind, FailureKind::InUse);
  EXPECT_FALSE(bAutoSave);
  EXPECT_TRUE(sCfgFile.empty());
  for (const clsGameMenu& menu : colMenus) EXPECT_FALSE(menu.bEnabled());

  // With no file read, a save writes nothing at all.
  AddMenu("X");
  EXPECT_FALSE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), "attractMode-scenario-1 Other\r\n");
}

TEST_F(UserCfgFiles, DefaultFileThatCannotBeCreatedIsReported) {
  RemoveTree(game.Path() + std::string(kStartupFolder));
  const FileResult loaded = LoadMenus();
  EXPECT_FALSE(loaded.ok);
  EXPECT_NE(loaded.step, FileStep::Read) << "reported as a file not written, not one not read";
  EXPECT_NE(loaded.error, 0u);
  EXPECT_TRUE(sCfgFile.empty());
  EXPECT_FALSE(PathExists(game.Path() + std::string(kStartupFolder)));

  // A folder where the file should be is no file to read.
  CreateDirectoryA((game.Path() + std::string(kStartupFolder)).c_str(), nullptr);
  CreateDirectoryA(game.UserCfg().c_str(), nullptr);
  EXPECT_FALSE(LoadMenus().ok);
  EXPECT_TRUE(sCfgFile.empty());
}

}  // namespace

// Files as editors save them: with a UTF-8 byte-order mark (kept, and no part of the first line),
// or as UTF-16 (never read as lines, never rewritten).
TEST_F(UserCfgFiles, ByteOrderMarkIsKeptAndUtf16IsNeverRewritten) {
  const std::string mark = "\xEF\xBB\xBF";
  WriteBytes(game.UserCfg(), mark + kUserFile);
  ASSERT_TRUE(LoadAndRefresh().ok);
  EXPECT_EQ(colMenus.Slot(0)->sName(), "Mine") << "slot 0 read, not replaced by the defaults";
  EXPECT_EQ(ReadBytes(game.UserCfg()), mark + kUserFile) << "nothing to write at start-up";
  AddMenu("Added");
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(game.UserCfg()), mark + kUserFileAfterAdd);
}

const std::string kLittleEndian("\xFF\xFE+\0s\0\r\0\n\0", 10);
const std::string kBigEndian("\xFE\xFF\0a\0t", 6);

TEST_F(UserCfgFiles, Utf16IsNeverReadAsLinesNorRewritten) {
  for (const std::string& utf16 : {kLittleEndian, kBigEndian}) {
    WriteBytes(game.UserCfg(), utf16);
    const FileResult loaded = LoadAndRefresh();
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(loaded.kind, FailureKind::Utf16Text);
    EXPECT_EQ(loaded.file, game.UserCfg());
    EXPECT_TRUE(sCfgFile.empty());
    EXPECT_EQ(ReadBytes(game.UserCfg()), utf16) << "no defaults appended";
  }
}

// Saved as UTF-16 by an editor while the tool runs: the next save refuses it.
TEST_F(UserCfgFiles, FileSavedAsUtf16MeanwhileIsRefused) {
  LoadUserFileAndAdd();
  WriteBytes(game.UserCfg(), kLittleEndian);
  EXPECT_EQ(SaveMenus().kind, FailureKind::Utf16Text);
  EXPECT_EQ(ReadBytes(game.UserCfg()), kLittleEndian);
}

// A game under Program Files, for a user without administrator rights: the tool edits the file
// the game reads, the per-user copy that Windows keeps for it, and makes that copy when the
// game's folder refuses the save.
TEST_F(UserCfgFiles, PerUserCopyThatIsThereIsTheFileAndTheRealFileIsLeftAlone) {
  ProtectedGameFolder protectedGame;
  const std::string copy = protectedGame.CopyUserCfg();
  WriteBytes(protectedGame.UserCfg(), "real\r\n" + DefaultUserCfg());
  ASSERT_TRUE(WriteBytesMakingFolders(copy, kUserFile));
  protectedGame.Refuse(true);
  LoadProtected(protectedGame);
  EXPECT_EQ(sCfgFile, copy);
  EXPECT_EQ(colMenus.Slot(0)->sName(), "Mine");
  AddMenu("Added");
  bool made = true;
  ASSERT_TRUE(SaveMenus(&made).ok);
  EXPECT_FALSE(made);
  EXPECT_EQ(ReadBytes(copy), kUserFileAfterAdd);
  EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), "real\r\n" + DefaultUserCfg());
}

// No copy yet: the real file is read; its save is refused, so the copy is made from it (its
// folders too) and used from then on.
TEST_F(UserCfgFiles, RefusedSaveOfTheRealFileMakesThePerUserCopy) {
  ProtectedGameFolder protectedGame;
  const std::string copy = protectedGame.CopyUserCfg();
  WriteBytes(protectedGame.UserCfg(), kUserFile);
  protectedGame.Refuse(true);
  LoadProtected(protectedGame);
  EXPECT_EQ(sCfgFile, protectedGame.UserCfg());
  AddMenu("Added");
  bool made = false;
  ASSERT_TRUE(SaveMenus(&made).ok);
  EXPECT_TRUE(made);
  EXPECT_EQ(sCfgFile, copy);
  EXPECT_EQ(ReadBytes(copy), kUserFileAfterAdd);
  EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), kUserFile);
  EXPECT_FALSE(PathExists(protectedGame.UserCfg() + ".tmp") || PathExists(copy + ".tmp"));
  RemoveMenu(2);
  ASSERT_TRUE(SaveMenus(&made).ok);
  EXPECT_FALSE(made) << "said once";
  EXPECT_EQ(ReadBytes(copy),
            "+showFPS\r\nsetVolume 0.5\r\nattractMode-scenario-0 Mine\r\n"
            "attractMode-scenario-1 Two\r\n" +
                DisabledFrom(2));
}

// The first start, no user.cfg anywhere: the default file becomes the copy.
TEST_F(UserCfgFiles, DefaultFileUnderProgramFilesBecomesThePerUserCopy) {
  ProtectedGameFolder protectedGame;
  protectedGame.Refuse(true);
  sGamePath = protectedGame.Path();
  bool made = false;
  ASSERT_TRUE(LoadMenus(&made).ok);
  EXPECT_TRUE(made);
  EXPECT_EQ(sCfgFile, protectedGame.CopyUserCfg());
  EXPECT_EQ(ReadBytes(protectedGame.CopyUserCfg()), DefaultUserCfg());
  EXPECT_FALSE(PathExists(protectedGame.UserCfg()));
}

// The game (or another copy of the tool) makes the per-user copy while the tool works on the real
// file: the next look reads the copy and uses it from then on, and a save never replaces it
// unseen, neither as the file nor by making the copy anew.
TEST_F(UserCfgFiles, PerUserCopyThatAppearsMeanwhileIsReadAndNeverReplacedUnseen) {
  ProtectedGameFolder protectedGame;
  const std::string copy = protectedGame.CopyUserCfg();
  const std::string theirs =
      "theirs\r\nattractMode-scenario-0 Mine\r\nattractMode-scenario-3 Theirs";
  WriteBytes(protectedGame.UserCfg(), kUserFile);
  LoadProtected(protectedGame);
  ASSERT_TRUE(WriteBytesMakingFolders(copy, theirs));
  MenusReread reread = RereadMenusIfChanged();
  EXPECT_TRUE(reread.reread);
  EXPECT_EQ(sCfgFile, copy);
  EXPECT_EQ(colMenus.Slot(3)->sName(), "Theirs");
  AddMenu("Added");
  ASSERT_TRUE(SaveMenus().ok);
  EXPECT_EQ(ReadBytes(copy),
            "theirs\r\nattractMode-scenario-0 Mine\r\n"
            "attractMode-scenario-1 Added\r\n-attractMode-scenario-2\r\n"
            "attractMode-scenario-3 Theirs\r\n" +
                DisabledFrom(4));
  EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), kUserFile);

  // Before a save that the real file's folder refuses.
  RemoveTree(protectedGame.CopyPath());
  InitMenus();
  LoadProtected(protectedGame);
  AddMenu("Added");
  protectedGame.Refuse(true);
  ASSERT_TRUE(WriteBytesMakingFolders(copy, theirs));
  bool made = true;
  EXPECT_EQ(SaveMenus(&made).kind, FailureKind::ChangedElsewhere);
  EXPECT_FALSE(made);
  EXPECT_EQ(ReadBytes(copy), theirs);
  EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), kUserFile);
  reread = RereadMenusIfChanged();
  EXPECT_TRUE(reread.reread && reread.droppedUnsaved);
  EXPECT_EQ(sCfgFile, copy);
  EXPECT_EQ(colMenus.Slot(3)->sName(), "Theirs");
}

// Elsewhere a folder that refuses the save is an error, as ever: no copy anywhere.
TEST_F(UserCfgFiles, RefusedSaveOutsideProtectedFoldersIsAnError) {
  ProtectedGameFolder protectedGame;  // Windows keeps per-user copies, but not for this folder
  LoadUserFileAndAdd();
  RefuseNewFilesIn(game.Path());
  bool made = true;
  const FileResult refused = SaveMenus(&made);
  RefuseNewFilesIn("");
  EXPECT_FALSE(refused.ok);
  EXPECT_TRUE(refused.RefusedByPermission());
  EXPECT_FALSE(made);
  EXPECT_EQ(sCfgFile, game.UserCfg());
  ExpectUnchangedAndNoTemporaryFile();
}

// Where Windows keeps no per-user copy for the game, the game folder's own file is the file, even
// beside an old copy, and a refused save says that the folder needs administrator rights: under
// Wine, with UAC or virtualisation switched off, and when the game runs as administrator.
TEST_F(UserCfgFiles, PerUserCopyOnlyWhereWindowsVirtualisesTheGame) {
  ProtectedGameFolder protectedGame;
  const std::string layers =
      "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
  const std::string aom = protectedGame.Path() + "aom.exe",
                    aomx = protectedGame.Path() + "aomx.exe";
  MachineValueGuard virtualisation{kSystemPolicyKey, kSystemPolicyKey, "EnableVirtualization",
                                   kNativeView};
  MachineValueGuard machineLayers{layers, layers, aomx, kNativeView};
  const auto policy = [](const char* name, DWORD value) {
    EXPECT_TRUE(SetMachineDword(kSystemPolicyKey, name, value, kNativeView));
  };
  struct Case {
    const char* what;
    std::function<void()> set, unset;
  };
  const Case cases[] = {
      {"Wine", [] { SetRunningUnderWineForTests(true); },
       [] { SetRunningUnderWineForTests(false); }},
      {"UAC off", [&] { policy("EnableLUA", 0); }, [&] { policy("EnableLUA", 1); }},
      {"virtualisation off", [&] { policy("EnableVirtualization", 0); },
       [&] { policy("EnableVirtualization", 1); }},
      {"aom.exe as administrator for the user",
       [&] {
         RegSetKeyValueA(HKEY_CURRENT_USER, layers.c_str(), aom.c_str(), REG_SZ, "~ RUNASADMIN",
                         13);
       },
       [&] { RegDeleteKeyValueA(HKEY_CURRENT_USER, layers.c_str(), aom.c_str()); }},
      {"aomx.exe as administrator for the machine",
       [&] {
         EXPECT_TRUE(SetMachineValue(layers, aomx, REG_SZ, std::string("WINXPSP3 RUNASADMIN", 20),
                                     kNativeView));
       },
       [&] { DeleteMachineValue(layers, aomx, kNativeView); }},
  };
  ASSERT_TRUE(WriteBytesMakingFolders(protectedGame.CopyUserCfg(), "old copy\r\n"));
  for (const Case& c : cases) {
    c.set();
    InitMenus();
    sGamePath = protectedGame.Path();
    WriteBytes(protectedGame.UserCfg(), kUserFile);
    ASSERT_TRUE(LoadMenus().ok) << c.what;
    EXPECT_EQ(sCfgFile, protectedGame.UserCfg()) << c.what;
    EXPECT_EQ(
        PerUserCopyOf(protectedGame.Path(), protectedGame.Path() + std::string(kScenarioFolder)),
        "")
        << c.what;
    AddMenu("Added");
    protectedGame.Refuse(true);
    const FileResult refused = SaveMenus();
    protectedGame.Refuse(false);
    EXPECT_EQ(refused.kind, FailureKind::NeedsAdministrator) << c.what;
    EXPECT_EQ(ReadBytes(protectedGame.UserCfg()), kUserFile) << c.what;
    EXPECT_EQ(ReadBytes(protectedGame.CopyUserCfg()), "old copy\r\n") << c.what;
    c.unset();
  }
}
