// The shared operations on the install state: reset, manifest paths, the
// destination, the image and the rollback.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/install_state.h"
#include "platform/kernel/module.h"
#include "platform/rtl.h"
#include "tests/support/engine_fixture.h"

namespace vorn::testing {
namespace {

using InstallStateTest = EngineTest;

TEST_F(InstallStateTest, ResetKeepsTheDialogsValuesAndBuildsTheSignature) {
  installState.makeBackups = 1;
  installState.addIcons = 1;
  installState.fileIndex = 5;
  installState.weight = 3;
  installState.iniDecision = 2;
  std::strcpy(installState.backupDir, "c:\\vorn\\backup\\");
  ResetInstallState();
  EXPECT_STREQ(installState.destinationDir, "c:\\vorn");
  EXPECT_EQ(installState.makeBackups, 1);
  EXPECT_EQ(installState.addIcons, 1);
  EXPECT_EQ(installState.fileIndex, 0);
  EXPECT_EQ(installState.weight, 1);
  EXPECT_EQ(installState.iniDecision, 0);
  EXPECT_STREQ(installState.backupDir, "");
  EXPECT_EQ(std::string(installState.signature), Signature());
}

TEST_F(InstallStateTest, ManifestPaths) {
  struct Case {
    const char* dir;
    int index;
    const char* path;
  } cases[] = {
      {"c:\\vorn", 0, "c:\\vorn\\vorn32.exe"},  {"c:\\vorn", 10, "c:\\vorn\\urls.ini"},
      {"c:\\vorn", 11, ""},                     {"c:\\vorn", -1, ""},
      {"c:\\vorn\\", 6, "c:\\vorn\\\\vorn.ini"}, {"C:\\Mixed Case", 2, "C:\\Mixed Case\\vorn.hlp"},
  };
  for (const Case& c : cases) {
    std::strcpy(installState.destinationDir, c.dir);
    char path[kManifestPathBuffer];
    ManifestPath(path, c.index);
    EXPECT_STREQ(path, c.path) << c.dir << " " << c.index;
  }
  // The longest destination still fits the path buffer.
  std::memset(installState.destinationDir, 'd', 299);
  installState.destinationDir[299] = '\0';
  char path[kManifestPathBuffer];
  ManifestPath(path, 3);
  EXPECT_EQ(std::strlen(path), 299u + 1 + 12);
}

TEST_F(InstallStateTest, PrepareDestination) {
  Write("c:\\plain", "not a directory");
  std::strcpy(installState.destinationDir, "c:\\plain");
  EXPECT_EQ(PrepareDestination(), Done);
  EXPECT_FALSE(installState.createdDestination);

  std::strcpy(installState.destinationDir, "c:\\vorn");
  EXPECT_EQ(PrepareDestination(), Done);
  EXPECT_TRUE(installState.createdDestination);
  EXPECT_TRUE(Exists("c:\\vorn"));

  installState.createdDestination = false;
  std::strcpy(installState.destinationDir, "c:\\missing\\vorn");
  EXPECT_EQ(PrepareDestination(), BackToSetup);
  EXPECT_FALSE(installState.createdDestination);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, "Vorn Installation Error [1]");
  EXPECT_EQ(Boxes()[0].text,
            "There seems to be a problem creating the directory you specified.\n\n"
            "Please try using a different directory name!");
  EXPECT_EQ(Boxes()[0].flags, static_cast<unsigned>(MB_ICONERROR));
}

TEST_F(InstallStateTest, MeasureImageKeepsThePosition) {
  Write("c:\\hundred", std::string(100, 'x'));
  FILE* stream = rtl::open_stream("c:\\hundred", "rb");
  ASSERT_NE(stream, nullptr);
  std::fseek(stream, 10, SEEK_SET);
  EXPECT_EQ(MeasureImage(stream), 100);
  EXPECT_EQ(std::ftell(stream), 10);
  std::fclose(stream);
}

TEST_F(InstallStateTest, OpenInstallImageFailsWithMessage9) {
  kernel::SetModuleFileForTesting(Host("c:\\nowhere\\install.exe"));
  ResetInstallState();
  EXPECT_EQ(OpenInstallImage(), Fatal);
  EXPECT_EQ(installState.imageStream, nullptr);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [9]"});
}

TEST_F(InstallStateTest, RollbackDeletesWhatTheRunWroteFromTheLastEntryBackAndOnlyThat) {
  ResetInstallState();
  ASSERT_EQ(PrepareDestination(), Done);
  for (int i = 0; i < 3; ++i) {
    char path[kManifestPathBuffer];
    ManifestPath(path, i);
    Write(path, "entry");
    installState.wroteEntry[i] = i != 1;  // entry 1 was a file kept in place
  }
  installState.fileIndex = 3;
  RollbackInstall();
  EXPECT_EQ(installState.fileIndex, 0);
  EXPECT_EQ(List("c:\\vorn"), std::vector<std::string>{"vlink32.exe"});
  EXPECT_FALSE(installState.createdDestination);  // tried once; the kept file holds the directory

  RollbackInstall();  // again: harmless
  EXPECT_EQ(List("c:\\vorn"), std::vector<std::string>{"vlink32.exe"});
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(InstallStateTest, RollbackRemovesTheCreatedDirectoryAndThePartialCurrentEntry) {
  ResetInstallState();
  ASSERT_EQ(PrepareDestination(), Done);
  Write("c:\\vorn\\vorn32.exe", "done");
  Write("c:\\vorn\\vlink32.exe", "half written");
  installState.wroteEntry[0] = installState.wroteEntry[1] = true;
  installState.fileIndex = 1;
  RollbackInstall();
  EXPECT_FALSE(Exists("c:\\vorn"));
}

}  // namespace
}  // namespace vorn::testing
