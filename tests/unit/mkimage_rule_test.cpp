// The build's image rule, applied to a stand-in head: the image it made is
// executable, passes the check, and the program in it reads the sum of its own
// payload from its checksum record.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/test_image.h"

namespace {

std::string Output(const std::string& command, int* exitCode) {
  std::string out;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int status = ::pclose(pipe);
  *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

TEST(MkimageRule, ImageOfTheStandInHeadRunsWithItsOwnSum) {
  struct stat st;
  ASSERT_EQ(::stat(VORN_STAND_IN_IMAGE, &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);

  int exitCode = -1;
  const std::string verify = Output(std::string(VORN_MKIMAGE) + " verify " VORN_STAND_IN_IMAGE, &exitCode);
  EXPECT_EQ(exitCode, 0) << verify;

  std::ifstream in(VORN_STAND_IN_IMAGE, std::ios::binary);
  const std::string image(std::istreambuf_iterator<char>(in), {});
  const std::string printed = Output(VORN_STAND_IN_IMAGE, &exitCode);
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(printed, std::to_string(static_cast<std::uint32_t>(vorn::testing::ImageSum(image))) + "\n");
}

}  // namespace
