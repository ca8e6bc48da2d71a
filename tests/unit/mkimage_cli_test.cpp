// vorn-mkimage as the build runs it: images it builds pass its own check, damage
// to the payload fails it, and a failed build leaves no image behind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/manifest.h"
#include "tests/support/test_image.h"

namespace {

struct Outcome {
  int exitCode;
  std::string output;  // stdout and stderr
};

Outcome RunMkimage(const std::string& args) {
  const std::string command = std::string(VORN_MKIMAGE) + " " + args + " 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  Outcome outcome{-1, {}};
  if (pipe == nullptr) return outcome;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, n);
  const int status = ::pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// A head of our own: program-like bytes with the checksum record in them.
std::string Head(const std::string& extra = "") {
  return std::string("\x7f" "ELF", 4) + std::string(300, '\x90') + extra + std::string("vorn-sum-stamp:\0", 16) +
         std::string("\x47\x94\x5b\x02", 4) + std::string(200, '\0');
}

class MkimageCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn-mkimage-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    WriteFile(Path("head"), Head());
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  Outcome Build(const std::string& head, const std::string& package, const std::string& image) {
    return RunMkimage("build --head '" + head + "' --package '" + package + "' -o '" + image + "'");
  }
  Outcome BuildSample() { return Build(Path("head"), VORN_PACKAGE_DIR, Path("image")); }
  Outcome Verify(const std::string& image) { return RunMkimage("verify '" + image + "'"); }

  std::string dir_;
};

TEST_F(MkimageCli, BuildsAnImageThatVerifiesAndIsTheSameEveryTime) {
  ASSERT_EQ(BuildSample().exitCode, 0);
  const std::string image = ReadFile(Path("image"));
  const Outcome verify = Verify(Path("image"));
  EXPECT_EQ(verify.exitCode, 0) << verify.output;
  EXPECT_NE(verify.output.find("11 streams"), std::string::npos) << verify.output;

  // The stamped value is the sum the installer computes.
  const std::size_t stamp = image.find(std::string("vorn-sum-stamp:\0", 16)) + 16;
  std::uint32_t stamped = 0;
  for (int i = 0; i < 4; ++i) stamped |= static_cast<std::uint32_t>(static_cast<unsigned char>(image[stamp + i])) << (8 * i);
  EXPECT_EQ(stamped, static_cast<std::uint32_t>(vorn::testing::ImageSum(image)));

  struct stat st;
  ASSERT_EQ(::stat(Path("image").c_str(), &st), 0);
  EXPECT_TRUE(st.st_mode & S_IXUSR);
  EXPECT_FALSE(Exists(Path("image.tmp")));

  ASSERT_EQ(Build(Path("head"), VORN_PACKAGE_DIR, Path("again")).exitCode, 0);
  EXPECT_EQ(ReadFile(Path("again")), image);
}

TEST_F(MkimageCli, VerifyFailsOnDamageTheSumCatches) {
  ASSERT_EQ(BuildSample().exitCode, 0);
  const std::string image = ReadFile(Path("image"));
  const std::size_t head = Head().size();

  std::string flipped = image;
  flipped[head + (image.size() - head) / 2] ^= 0x01;
  std::string truncated = image.substr(0, image.size() - 1);
  const struct {
    const char* name;
    std::string bytes;
    int exitCode;
  } cases[] = {
      {"a payload byte flipped", flipped, 1},
      {"the last byte cut off", truncated, 1},
      {"a non-zero byte appended", image + "\x01", 1},
      {"zero bytes appended", image + std::string(5, '\0'), 0},  // zeros add nothing to the sum
  };
  for (const auto& c : cases) {
    WriteFile(Path("changed"), c.bytes);
    const Outcome verify = Verify(Path("changed"));
    EXPECT_EQ(verify.exitCode, c.exitCode) << c.name << ": " << verify.output;
    if (c.exitCode != 0) EXPECT_NE(verify.output.find("offset"), std::string::npos) << c.name << ": " << verify.output;
  }
}

TEST_F(MkimageCli, FailedBuildsNameTheCauseAndLeaveNoImage) {
  const std::string package = Path("package");
  std::system(("cp -r '" VORN_PACKAGE_DIR "' '" + package + "'").c_str());
  std::remove((package + "/popups.ini").c_str());
  WriteFile(Path("signature-head"), Head(vorn::testing::Signature()));
  WriteFile(Path("untagged-head"), std::string(400, 'h'));
  WriteFile(Path("image"), "an older image");

  const struct {
    const char* name;
    std::string head;
    std::string package;
    const char* cause;
  } cases[] = {
      {"a package file missing", Path("head"), package, "popups.ini"},
      {"a signature in the head", Path("signature-head"), VORN_PACKAGE_DIR, "head"},
      {"no checksum record in the head", Path("untagged-head"), VORN_PACKAGE_DIR, "checksum record"},
  };
  for (const auto& c : cases) {
    const Outcome build = Build(c.head, c.package, Path("image"));
    EXPECT_EQ(build.exitCode, 1) << c.name;
    EXPECT_NE(build.output.find(c.cause), std::string::npos) << c.name << ": " << build.output;
    EXPECT_FALSE(Exists(Path("image"))) << c.name;
    EXPECT_FALSE(Exists(Path("image.tmp"))) << c.name;
  }
}

TEST_F(MkimageCli, ListsAndExtractsTheStreams) {
  ASSERT_EQ(BuildSample().exitCode, 0);
  const Outcome list = RunMkimage("list '" + Path("image") + "'");
  EXPECT_EQ(list.exitCode, 0);
  ASSERT_EQ(RunMkimage("extract '" + Path("image") + "' '" + Path("out") + "'").exitCode, 0);
  for (const char* name : InstallManifest) {
    EXPECT_NE(list.output.find(name), std::string::npos) << name;
    EXPECT_EQ(ReadFile(Path("out/") + name), ReadFile(std::string(VORN_PACKAGE_DIR "/") + name)) << name;
  }
}

}  // namespace
