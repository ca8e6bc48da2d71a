// The kernel calls the installer makes, with their buffer conventions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "platform/kernel/libraries.h"
#include "platform/kernel/module.h"
#include "platform/win32.h"
#include "tests/support/test_prefix.h"

namespace vorn {
namespace {

using testing::TestPrefix;

TEST(Kernel, SystemDirectoriesAndTheirBufferRules) {
  TestPrefix prefix;
  char buffer[300];
  EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 10u);
  EXPECT_STREQ(buffer, "C:\\windows");
  EXPECT_EQ(GetWindowsDirectoryA(buffer, 5), 11u);  // too small: the size it needs

  EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 16u);
  EXPECT_STREQ(buffer, "C:\\windows\\temp\\");
  setenv("VORN_TEMP", "d:\\tmp", 1);
  EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 7u);
  EXPECT_STREQ(buffer, "d:\\tmp\\");
  setenv("VORN_TEMP", "", 1);
  EXPECT_EQ(GetTempPathA(sizeof buffer, buffer), 0u);
  unsetenv("VORN_TEMP");
}

TEST(Kernel, ModuleFileNameIsAWindowsPathCutToTheBuffer) {
  TestPrefix prefix;
  TestPrefix::WriteFile(prefix.root() + "/drive_c/TEMP/INSTALL.EXE", "x");
  kernel::SetModuleFileForTesting(prefix.root() + "/drive_c/TEMP/INSTALL.EXE");
  char buffer[300];
  EXPECT_EQ(GetModuleFileNameA(kernel::ProgramInstance(), buffer, sizeof buffer), 19u);
  EXPECT_STREQ(buffer, "C:\\TEMP\\INSTALL.EXE");
  EXPECT_EQ(GetModuleFileNameA(kernel::ProgramInstance(), buffer, 8), 7u);
  EXPECT_STREQ(buffer, "C:\\TEMP");
  kernel::SetModuleFileForTesting("");
}

TEST(Kernel, VersionFromThePlatformSetting) {
  struct Case {
    const char* setting;
    DWORD version;
  } cases[] = {{nullptr, 0x0004}, {"4.10", 0x0A04}, {"3.95", 0x5F03}, {"5.0", 0x0005}};
  for (const Case& c : cases) {
    if (c.setting) setenv("VORN_WINVER", c.setting, 1);
    else unsetenv("VORN_WINVER");
    EXPECT_EQ(GetVersion() & 0xFFFF, c.version) << (c.setting ? c.setting : "default");
  }
  unsetenv("VORN_WINVER");
}

BOOL WINAPI Entry(HINSTANCE) { return TRUE; }

TEST(Kernel, OnlyRegisteredLibrariesLoad) {
  EXPECT_EQ(LoadLibraryA("Ctl3d32.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  kernel::RegisterLibrary("Ctl3d32.dll", {{"Ctl3dRegister", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Entry))}});
  HMODULE library = LoadLibraryA("CTL3D32.DLL");
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(GetProcAddress(library, "Ctl3dRegister"), reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Entry)));
  EXPECT_EQ(GetProcAddress(library, "Ctl3dUnregister"), nullptr);
  EXPECT_EQ(kernel::LoadCount("ctl3d32.dll"), 1);
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_FALSE(FreeLibrary(library));
  kernel::UnregisterLibraries();
}

TEST(Kernel, ErrorModeReturnsThePreviousMode) {
  const UINT before = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  EXPECT_EQ(SetErrorMode(before), static_cast<UINT>(SEM_NOOPENFILEERRORBOX));
}

}  // namespace
}  // namespace vorn
