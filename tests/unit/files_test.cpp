// Windows paths on the host: drives, case, names Windows refuses, and the Windows
// semantics of rename, delete and read-only files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files/faults.h"
#include "platform/files/files.h"
#include "platform/rtl.h"
#include "platform/win32.h"
#include "tests/support/test_prefix.h"

namespace vorn {
namespace {

using testing::TestPrefix;

class FilesTest : public ::testing::Test {
 protected:
  TestPrefix prefix;
  std::string DriveC() const { return prefix.root() + "/drive_c"; }
};

TEST_F(FilesTest, NewPrefixHasTheWellKnownLayout) {
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/windows/temp"));
  EXPECT_EQ(files::Drives(), "cz");
  EXPECT_EQ(files::DriveType('c'), DRIVE_FIXED);
  EXPECT_EQ(files::DriveType('Z'), DRIVE_REMOTE);  // the host root stands for the network
  EXPECT_EQ(files::DriveType('q'), DRIVE_NO_ROOT_DIR);
}

TEST_F(FilesTest, LookupIgnoresCaseAndPrefersTheExactName) {
  TestPrefix::WriteFile(DriveC() + "/Program Files/Vorn/README.TXT", "a");
  TestPrefix::WriteFile(DriveC() + "/Program Files/Vorn/readme.txt", "b");
  std::string host;
  ASSERT_EQ(files::ToHostPath("C:\\PROGRAM FILES\\vorn\\readme.txt", &host), Error::None);
  EXPECT_EQ(host, DriveC() + "/Program Files/Vorn/readme.txt");
  ASSERT_EQ(files::ToHostPath("c:/program files/VORN/Readme.Txt", &host), Error::None);
  EXPECT_EQ(host, DriveC() + "/Program Files/Vorn/README.TXT");  // first in byte order
  // Names that do not exist yet are kept as written.
  ASSERT_EQ(files::ToHostPath("c:\\program files\\New Dir\\File.TXT", &host), Error::None);
  EXPECT_EQ(host, DriveC() + "/Program Files/New Dir/File.TXT");
}

TEST_F(FilesTest, FullPathsResolveDotsRelativesAndTrailingDots) {
  ASSERT_EQ(files::SetCurrentDirectory("c:\\windows"), Error::None);
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"temp", "c:\\windows\\temp"},          {"..\\..\\..\\x", "c:\\x"},        {"\\a\\.\\b\\..\\c", "c:\\a\\c"},
      {"C:", "c:\\windows"},                   {"z:\\tmp\\", "z:\\tmp"},           {"c:\\name. . ", "c:\\name"},
      {"c:foo", "c:\\windows\\foo"},
  };
  for (const Case& c : cases) {
    std::string full;
    EXPECT_EQ(files::FullWindowsPath(c.in, &full), Error::None) << c.in;
    EXPECT_EQ(full, c.out) << c.in;
  }
}

TEST_F(FilesTest, RefusesWhatWindowsRefuses) {
  struct Case {
    std::string path;
    Error error;
  } cases[] = {
      {"c:\\a<b", Error::InvalidName}, {"c:\\a|b", Error::InvalidName},      {"c:\\what?", Error::InvalidName},
      {"c:\\a*", Error::InvalidName},  {"c:\\a\"b", Error::InvalidName},     {"c:\\dir\\con.txt", Error::InvalidName},
      {"c:\\lpt1", Error::InvalidName}, {std::string("c:\\a\x01"), Error::InvalidName},
      {"\\\\server\\share", Error::InvalidName}, {"c:\\" + std::string(257, 'x'), Error::NameTooLong},
      {"q:\\nowhere", Error::PathNotFound},
  };
  for (const Case& c : cases) {
    std::string host;
    EXPECT_EQ(files::ToHostPath(c.path, &host), c.error) << c.path;
  }
  std::string host;
  EXPECT_EQ(files::ToHostPath("c:\\" + std::string(256, 'x'), &host), Error::None);  // 259 characters fit
}

TEST_F(FilesTest, WindowsPathOfAHostFileUsesTheMostSpecificDrive) {
  TestPrefix::WriteFile(DriveC() + "/setup/Install.exe", "x");
  std::string win;
  ASSERT_EQ(files::ToWindowsPath(DriveC() + "/setup/Install.exe", &win), Error::None);
  EXPECT_EQ(win, "C:\\setup\\Install.exe");
  ASSERT_EQ(files::ToWindowsPath("/usr/bin", &win), Error::None);
  EXPECT_EQ(win, "Z:\\usr\\bin");
  // A drive of its own for a directory under the host root wins over z:.
  const std::string downloads = prefix.root() + "/downloads";
  std::filesystem::create_directories(downloads);
  std::filesystem::create_directory_symlink(downloads, prefix.root() + "/dosdevices/d:");
  files::Reset();
  ASSERT_EQ(files::ToWindowsPath(downloads + "/setup.exe", &win), Error::None);
  EXPECT_EQ(win, "D:\\setup.exe");
  EXPECT_EQ(files::DriveType('d'), DRIVE_FIXED);
}

TEST_F(FilesTest, RenameNeverReplaces) {
  TestPrefix::WriteFile(DriveC() + "/a.txt", "a");
  TestPrefix::WriteFile(DriveC() + "/b.txt", "b");
  EXPECT_EQ(files::Rename("c:\\a.txt", "c:\\B.TXT"), Error::Exists);
  EXPECT_EQ(TestPrefix::ReadFile(DriveC() + "/b.txt"), "b");
  EXPECT_EQ(files::Rename("c:\\a.txt", "c:\\c.txt"), Error::None);
  EXPECT_EQ(TestPrefix::ReadFile(DriveC() + "/c.txt"), "a");
  EXPECT_EQ(files::Rename("c:\\missing", "c:\\d.txt"), Error::NotFound);
  EXPECT_EQ(files::Rename("c:\\c.txt", "c:\\nodir\\c.txt"), Error::PathNotFound);
  // A change of case only renames the file itself.
  EXPECT_EQ(files::Rename("c:\\c.txt", "c:\\C.txt"), Error::None);
  EXPECT_TRUE(TestPrefix::Exists(DriveC() + "/C.txt"));
}

TEST_F(FilesTest, ReadOnlyFilesResistWritesAndDeletionEvenForRoot) {
  TestPrefix::WriteFile(DriveC() + "/ro.ini", "keep");
  ASSERT_EQ(files::SetReadOnly("c:\\ro.ini", true), Error::None);
  int fd = -1;
  EXPECT_EQ(files::Open("c:\\ro.ini", files::OpenMode::CreateTruncate, &fd), Error::AccessDenied);
  EXPECT_EQ(files::Delete("c:\\ro.ini"), Error::AccessDenied);
  EXPECT_EQ(TestPrefix::ReadFile(DriveC() + "/ro.ini"), "keep");
  EXPECT_EQ(files::Rename("c:\\ro.ini", "c:\\moved.ini"), Error::None);  // renaming is allowed
  ASSERT_EQ(files::ClearAttributes("c:\\moved.ini"), Error::None);
  EXPECT_EQ(files::Delete("c:\\moved.ini"), Error::None);
}

TEST_F(FilesTest, DirectoriesAreNotFilesAndMustBeEmptyToGo) {
  ASSERT_EQ(files::MakeDirectory("c:\\d"), Error::None);
  EXPECT_EQ(files::MakeDirectory("c:\\D"), Error::Exists);
  EXPECT_EQ(files::MakeDirectory("c:\\no\\d"), Error::PathNotFound);
  TestPrefix::WriteFile(DriveC() + "/d/f", "x");
  int fd = -1;
  EXPECT_EQ(files::Open("c:\\d", files::OpenMode::CreateTruncate, &fd), Error::AccessDenied);
  EXPECT_EQ(files::Delete("c:\\d"), Error::AccessDenied);
  EXPECT_EQ(files::RemoveDirectory("c:\\d"), Error::DirNotEmpty);
  EXPECT_EQ(files::Delete("c:\\d\\f"), Error::None);
  EXPECT_EQ(files::RemoveDirectory("c:\\d"), Error::None);
}

TEST_F(FilesTest, ExclusiveCreationReplacesAPlantedLinkWithoutFollowingIt) {
  const std::string victim = prefix.root() + "/victim";
  TestPrefix::WriteFile(victim, "precious");
  std::filesystem::create_symlink(victim, DriveC() + "/windows/temp/vorn.tmp");
  FILE* stream = rtl::create_exclusive("c:\\windows\\temp\\vorn.tmp");
  ASSERT_NE(stream, nullptr);
  std::fputs("payload", stream);
  std::fclose(stream);
  EXPECT_EQ(TestPrefix::ReadFile(victim), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(DriveC() + "/windows/temp/vorn.tmp"));
  EXPECT_EQ(TestPrefix::ReadFile(DriveC() + "/windows/temp/vorn.tmp"), "payload");
}

TEST_F(FilesTest, FaultSwitchFailsTheNthOperationOnly) {
  TestPrefix::WriteFile(DriveC() + "/f", "x");
  faults::Arm(faults::Op::Delete, 2, Error::AccessDenied);
  EXPECT_EQ(files::Delete("c:\\missing"), Error::NotFound);
  EXPECT_EQ(files::Delete("c:\\f"), Error::AccessDenied);
  EXPECT_EQ(files::Delete("c:\\f"), Error::None);
  EXPECT_EQ(faults::Count(faults::Op::Delete), 3);

  faults::Arm(faults::Op::Write, 1, Error::DiskFull);
  FILE* stream = rtl::open_stream("c:\\g", "wb");
  ASSERT_NE(stream, nullptr);
  std::fputs("data", stream);
  EXPECT_NE(std::fflush(stream), 0);
  std::fclose(stream);
}

TEST_F(FilesTest, SplitPathGivesTheRuntimePieces) {
  struct Case {
    const char *path, *drive, *dir, *fname, *ext;
  } cases[] = {
      {"c:\\vorn\\vorn32.exe", "c:", "\\vorn\\", "vorn32", ".exe"},
      {"c:\\vorn\\backup\\", "c:", "\\vorn\\backup\\", "", ""},
      {"name.tar.gz", "", "", "name.tar", ".gz"},
      {"c:\\a.b\\file", "c:", "\\a.b\\", "file", ""},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    char drive[rtl::kMaxDrive], dir[rtl::kMaxDir], fname[rtl::kMaxFname], ext[rtl::kMaxExt];
    rtl::split_path(c.path, drive, dir, fname, ext);
    EXPECT_STREQ(drive, c.drive) << c.path;
    EXPECT_STREQ(dir, c.dir) << c.path;
    EXPECT_STREQ(fname, c.fname) << c.path;
    EXPECT_STREQ(ext, c.ext) << c.path;
  }
}

}  // namespace
}  // namespace vorn
