// The existing-file policy over whole runs: every situation of an earlier
// installation, both answers, backups on and off, and the faults that send the run
// back to setup without losing the user's settings.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "engine/payload.h"
#include "engine/scanner.h"
#include "platform/files/faults.h"
#include "platform/files/files.h"
#include "platform/rtl.h"
#include "tests/support/engine_fixture.h"

namespace vorn::testing {
namespace {

constexpr const char* kNew = "<new>";  // the file of the package
constexpr const char* kQuestion = "Vorn Installation Warning";

using Files = std::map<std::string, std::string>;

class PolicyTest : public EngineTest {
 protected:
  // Files of the destination (and its backup directory as "backup\name").
  Files DestinationFiles() const {
    Files files;
    for (const std::string& name : List("c:\\vorn")) {
      if (name == "backup") {
        for (const std::string& backup : List("c:\\vorn\\backup")) {
          files["backup\\" + backup] = Read("c:\\vorn\\backup\\" + backup);
        }
      } else {
        files[name] = Read("c:\\vorn\\" + name);
      }
    }
    return files;
  }
  // Every manifest file new, then the changes.
  static Files Expected(const Files& changes) {
    Files files;
    for (int i = 0; i < kManifestEntries; ++i) files[InstallManifest[i]] = PackageFile(i);
    for (const auto& [name, content] : changes) {
      if (content.empty()) files.erase(name);
      else files[name] = content == kNew ? PackageFile(IndexOf(name)) : content;
    }
    return files;
  }
  static int IndexOf(const std::string& name) {
    for (int i = 0; i < kManifestEntries; ++i) {
      if (name == InstallManifest[i]) return i;
    }
    return -1;
  }
  void Prepare(const Files& destination, const char* windowsSettings) {
    for (const auto& [name, content] : destination) Write("c:\\vorn\\" + name, content);
    if (windowsSettings != nullptr) Write("c:\\windows\\vorn.ini", windowsSettings);
  }
  int Questions() const {
    int n = 0;
    for (const auto& box : Boxes()) n += box.caption == kQuestion;
    return n;
  }
};

struct Situation {
  const char* name;
  Files existing;
  const char* windowsSettings;
  bool backups;
  int answer;
  Files changes;  // from "every file new"; "" removes a name
  bool windowsSettingsLeft;
  int questions;
};

const char* const kWin = "[vorn]\nfrom=windows\n";
const char* const kOld = "[vorn]\nfrom=destination\n";

const Situation kSituations[] = {
    {"no files", {}, nullptr, true, IDYES, {}, false, 0},
    {"program, backups on", {{"vorn32.exe", "old exe"}}, nullptr, true, IDYES,
     {{"backup\\vorn32.exe", "old exe"}}, false, 0},
    {"program, backups off", {{"vorn32.exe", "old exe"}}, nullptr, false, IDYES, {}, false, 0},
    {"settings kept, backups on", {{"vorn32.exe", "old exe"}, {"aliases.ini", "old aliases"}, {"urls.ini", "old urls"}},
     nullptr, true, IDYES,
     {{"backup\\vorn32.exe", "old exe"}, {"aliases.ini", "old aliases"}, {"urls.ini", "old urls"}}, false, 1},
    {"settings replaced, backups on", {{"aliases.ini", "old aliases"}, {"urls.ini", "old urls"}}, nullptr, true, IDNO,
     {{"backup\\aliases.ini", "old aliases"}, {"backup\\urls.ini", "old urls"}}, false, 1},
    {"settings kept, backups off", {{"vorn32.exe", "old exe"}, {"aliases.ini", "old aliases"}}, nullptr, false, IDYES,
     {{"aliases.ini", "old aliases"}}, false, 1},
    {"settings replaced, backups off", {{"aliases.ini", "old aliases"}}, nullptr, false, IDNO, {}, false, 1},
    {"windows settings kept, backups on", {{"popups.ini", "old popups"}}, kWin, true, IDYES,
     {{"vorn.ini", kWin}, {"popups.ini", "old popups"}}, false, 1},
    {"windows settings replaced, backups on", {{"popups.ini", "old popups"}}, kWin, true, IDNO,
     {{"backup\\vorn.ini", kWin}, {"backup\\popups.ini", "old popups"}}, false, 1},
    {"windows settings kept, backups off", {}, kWin, false, IDYES, {{"vorn.ini", kWin}}, false, 1},
    {"windows settings replaced, backups off", {}, kWin, false, IDNO, {}, false, 1},
    {"both settings kept, backups on", {{"vorn.ini", kOld}}, kWin, true, IDYES,
     {{"vorn.ini", kWin}, {"backup\\vorn2.ini", kOld}}, false, 1},
    {"both settings kept, backups off", {{"vorn.ini", kOld}}, kWin, false, IDYES,
     {{"vorn.ini", kWin}, {"backup\\vorn2.ini", kOld}}, false, 1},
    {"both settings replaced, backups on", {{"vorn.ini", kOld}}, kWin, true, IDNO,
     {{"backup\\vorn.ini", kWin}, {"backup\\vorn2.ini", kOld}}, false, 1},
    {"both settings replaced, backups off", {{"vorn.ini", kOld}}, kWin, false, IDNO, {{"vorn.$$$", kOld}}, false, 1},
};

TEST_F(PolicyTest, OutcomesBySituation) {
  for (const Situation& s : kSituations) {
    SCOPED_TRACE(s.name);
    TearDown();
    SetUp();
    Prepare(s.existing, s.windowsSettings);
    installState.makeBackups = s.backups;
    Answer({s.answer});
    UseImage(PackageImage());
    ASSERT_EQ(RunScan(), Done);
    EXPECT_EQ(DestinationFiles(), Expected(s.changes));
    EXPECT_EQ(Exists("c:\\windows\\vorn.ini"), s.windowsSettingsLeft);
    EXPECT_EQ(Questions(), s.questions);
    EXPECT_EQ(Boxes().size(), static_cast<std::size_t>(s.questions));  // and no error
  }
}

TEST_F(PolicyTest, TheQuestionText) {
  Prepare({{"servers.ini", "old"}}, nullptr);
  Answer({IDYES});
  UseImage(PackageImage());
  ASSERT_EQ(RunScan(), Done);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].text,
            "The Vorn installation comes with prefab INI files but if I install them you will lose your current Vorn "
            "settings.\n\nWould you like to KEEP your current Vorn settings?");
  EXPECT_EQ(Boxes()[0].flags, static_cast<unsigned>(MB_ICONQUESTION | MB_YESNO));
}

TEST_F(PolicyTest, ADestinationNamedLikeASettingsFileMakesEveryFileASettingsFile) {
  std::strcpy(installState.destinationDir, "c:\\my.ini.files");
  Write("c:\\my.ini.files\\vorn32.exe", "old exe");
  Answer({IDYES});
  UseImage(PackageImage());
  ASSERT_EQ(RunScan(), Done);
  EXPECT_EQ(Questions(), 1);  // at the first existing file, a program
  EXPECT_EQ(Read("c:\\my.ini.files\\vorn32.exe"), "old exe");
}

TEST_F(PolicyTest, ADestinationContainingVornIniTakesPartInTheWindowsStep) {
  std::strcpy(installState.destinationDir, "c:\\vorn.ini.d");
  Write("c:\\windows\\vorn.ini", kWin);
  Answer({IDYES});
  UseImage(PackageImage());
  ASSERT_EQ(RunScan(), Done);
  // The first entry's path already contains "vorn.ini": the Windows file moves in
  // there, and being kept, it stays.
  EXPECT_EQ(Read("c:\\vorn.ini.d\\vorn32.exe"), kWin);
  EXPECT_EQ(Read("c:\\vorn.ini.d\\vorn.ini"), PackageFile(6));
  EXPECT_FALSE(Exists("c:\\windows\\vorn.ini"));
}

TEST_F(PolicyTest, ReadOnlyFilesAreOverwrittenMovedOrKeptWritable) {
  Prepare({{"vorn32.exe", "old exe"}, {"vorn.hlp", "old help"}, {"urls.ini", "old urls"}}, nullptr);
  for (const char* name : {"vorn32.exe", "vorn.hlp", "urls.ini"}) {
    ASSERT_EQ(files::SetReadOnly(std::string("c:\\vorn\\") + name, true), Error::None);
  }
  installState.makeBackups = 1;
  Answer({IDYES});
  UseImage(PackageImage());
  ASSERT_EQ(RunScan(), Done);
  EXPECT_EQ(Read("c:\\vorn\\backup\\vorn32.exe"), "old exe");
  EXPECT_EQ(Read("c:\\vorn\\vorn32.exe"), PackageFile(0));
  EXPECT_EQ(Read("c:\\vorn\\urls.ini"), "old urls");
  EXPECT_EQ(rtl::remove_file("c:\\vorn\\urls.ini"), 0);  // the kept file lost its read-only flag
}

TEST_F(PolicyTest, ARepeatedInstallReplacesEarlierBackupsAndVorn2) {
  Prepare({{"vorn.ini", kOld},
           {"vorn32.exe", "second exe"},
           {"backup\\vorn32.exe", "first exe"},
           {"backup\\vorn2.ini", "first settings"}},
          kWin);
  ASSERT_EQ(files::SetReadOnly("c:\\vorn\\backup\\vorn32.exe", true), Error::None);
  installState.makeBackups = 1;
  Answer({IDYES});
  UseImage(PackageImage());
  ASSERT_EQ(RunScan(), Done);
  EXPECT_EQ(Read("c:\\vorn\\backup\\vorn32.exe"), "second exe");
  EXPECT_EQ(Read("c:\\vorn\\backup\\vorn2.ini"), kOld);
  EXPECT_EQ(Read("c:\\vorn\\vorn.ini"), kWin);
}

// Faults: each ends with its message and BackToSetup; after the controller's
// rollback the user's settings are all still there.
struct Fault {
  const char* name;
  Files existing;
  const char* windowsSettings;
  bool backups;
  int answer;
  faults::Op op;
  int nth;
  const char* caption;
};

const Fault kFaults[] = {
    {"backup directory cannot be made", {{"vorn32.exe", "old exe"}}, nullptr, true, IDYES, faults::Op::MakeDir, 1,
     "Vorn Installation Error [6]"},
    {"a move fails", {{"vorn32.exe", "old exe"}}, nullptr, true, IDYES, faults::Op::Rename, 1,
     "Vorn Installation Error [7]"},
    {"the final rename fails", {{"vorn.ini", kOld}}, kWin, true, IDYES, faults::Op::Rename, 3,
     "Vorn Installation Error [8]"},
    {"a plain file named backup", {{"vorn32.exe", "old exe"}, {"backup", "not a directory"}}, nullptr, true, IDYES,
     faults::Op::kCount, 0, "Vorn Installation Error [7]"},
};

TEST_F(PolicyTest, FaultsGoBackToSetupAndKeepTheUsersSettings) {
  for (const Fault& f : kFaults) {
    SCOPED_TRACE(f.name);
    TearDown();
    SetUp();
    Prepare(f.existing, f.windowsSettings);
    Write("c:\\vorn\\aliases.ini", "user aliases");
    installState.makeBackups = f.backups;
    Answer({f.answer});
    UseImage(PackageImage());
    if (f.op != faults::Op::kCount) faults::Arm(f.op, f.nth, Error::AccessDenied);
    ASSERT_EQ(RunScan(), BackToSetup);
    faults::Clear();
    RollbackInstall();
    EXPECT_EQ(Captions().back(), f.caption);
    EXPECT_EQ(Read("c:\\vorn\\aliases.ini"), "user aliases");
    if (f.windowsSettings != nullptr) {
      EXPECT_EQ(Read("c:\\windows\\vorn.ini"), f.windowsSettings);
      EXPECT_FALSE(Exists("c:\\vorn\\vorn.ini"));  // the copy was the run's
    }
    for (const auto& [name, content] : f.existing) {
      // Moved into the backup directory, or where it was.
      const bool inPlace = Exists("c:\\vorn\\" + name) && Read("c:\\vorn\\" + name) == content;
      const bool backedUp = Exists("c:\\vorn\\backup\\" + name) || Exists("c:\\vorn\\backup\\vorn.$$$");
      EXPECT_TRUE(inPlace || backedUp) << name;
    }
    EXPECT_FALSE(Exists("c:\\vorn\\vlink32.exe"));
  }
}

TEST_F(PolicyTest, AnAbortAfterTheWindowsSettingsMovedInLosesNothing) {
  for (int answer : {IDYES, IDNO}) {
    SCOPED_TRACE(answer == IDYES ? "kept" : "replaced");
    TearDown();
    SetUp();
    Prepare({{"vorn.ini", kOld}}, kWin);
    Answer({answer});
    TestImage image = PackageImage();
    image.chunks[7] += std::string(30000, '\0');  // a pause after the settings file
    UseImage(image);
    ResetInstallState();
    ASSERT_EQ(PrepareDestination(), Done);
    ASSERT_EQ(OpenInstallImage(), Done);
    while (installState.fileIndex < 7) ASSERT_EQ(ScanSlice(), Continue);
    RollbackInstall();  // the user confirmed the abort
    ResetInstallState();
    EXPECT_EQ(Read("c:\\windows\\vorn.ini"), kWin);
    EXPECT_TRUE(Exists("c:\\vorn\\vorn.$$$") || Exists("c:\\vorn\\backup\\vorn2.ini"));
  }
}

}  // namespace
}  // namespace vorn::testing

namespace vorn::testing {
namespace {

TEST_F(PolicyTest, AFailedRunGivesBackTheFilesItOverwrote) {
  Prepare({{"vorn32.exe", "old exe"}, {"urls.ini", "old urls"}}, nullptr);
  Answer({IDNO});
  UseImage(PackageImage());
  checksumStamp.value += 1;  // found corrupt at the end, after every file was placed
  ASSERT_EQ(RunScan(), Fatal);
  EXPECT_EQ(DestinationFiles(), (Files{{"vorn32.exe", "old exe"}, {"urls.ini", "old urls"}}));
}

TEST_F(PolicyTest, ASuccessfulRunLeavesNothingAside) {
  Prepare({{"vorn32.exe", "old exe"}}, nullptr);
  UseImage(PackageImage());
  ASSERT_EQ(RunScan(), Done);
  EXPECT_EQ(DestinationFiles(), Expected({}));
}

}  // namespace
}  // namespace vorn::testing
