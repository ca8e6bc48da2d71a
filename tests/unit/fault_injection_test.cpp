// Every file operation of a whole install over an earlier installation fails in
// turn: each run must end with one specified message or succeed, and afterwards no
// file the run wrote remains, the user's settings are all still there, and no
// temporary file is left.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/scanner.h"
#include "platform/files/faults.h"
#include "tests/support/engine_fixture.h"

namespace vorn::testing {
namespace {

const char* const kWindowsSettings = "[vorn]\nfrom=windows directory\n";

// The sample package and its installer image, as the build made them.
std::string SampleFile(int index) {
  return TestPrefix::ReadFile(std::string(VORN_SOURCE_DIR) + "/resources/package/" + InstallManifest[index]);
}
// The payload of the built image behind a small head of our own: the same streams
// and the same sum, without scanning the program (large in a sanitizer build) for
// every fault.
std::string SamplePayload() {
  const std::string image = TestPrefix::ReadFile(VORN_SETUP_IMAGE);
  const std::size_t first = image.find(Signature());
  return first == std::string::npos ? std::string() : std::string(512, 'h') + image.substr(first);
}

std::string OldContent(int index) { return "earlier installation of " + std::string(InstallManifest[index]); }

struct Config {
  bool backups;
  int answer;
};

class FaultInjectionTest : public EngineTest {
 protected:
  void PrepareEarlierInstallation() {
    for (int i = 0; i < kManifestEntries; ++i) Write(std::string("c:\\vorn\\") + InstallManifest[i], OldContent(i));
    Write("c:\\windows\\vorn.ini", kWindowsSettings);
  }

  // The controller's part: a failure is rolled back.
  StepResult RunAsController() {
    const StepResult result = RunScan();
    if (result != Done) RollbackInstall();
    return result;
  }

  bool Holds(const std::string& path, const std::string& content) const {
    return Exists(path) && Read(path) == content;
  }

  void CheckAfterFailure(const std::string& what) {
    SCOPED_TRACE(what);
    static const std::set<std::string> kSpecified = {
        "Vorn Installation Error [1]", "Vorn Installation Error [3]", "Vorn Installation Error [4]",
        "Vorn Installation Error [6]", "Vorn Installation Error [7]", "Vorn Installation Error [8]",
        "Vorn Installation Error [9]", "Vorn Installation Error [11]", "Vorn Installation Error [13]",
    };
    std::vector<std::string> errors;
    for (const std::string& caption : Captions()) {
      if (caption.rfind("Vorn Installation Error [5] [", 0) == 0 || kSpecified.count(caption) != 0) {
        errors.push_back(caption);
      } else {
        EXPECT_EQ(caption, "Vorn Installation Warning");
      }
    }
    EXPECT_EQ(errors.size(), 1u);
    for (int i = 0; i < kManifestEntries; ++i) {
      const std::string name = InstallManifest[i];
      const std::string path = "c:\\vorn\\" + name;
      // Nothing the run wrote is left behind.
      if (Exists(path)) {
        EXPECT_NE(Read(path), SampleFile(i)) << name;
      }
      // Settings files are somewhere with their old content: in place, or moved
      // into the backup directory (which a rollback does not undo).
      if (i >= kFirstSettingsEntry) {
        const std::string old = OldContent(i);
        const bool kept = Holds(path, old) || Holds("c:\\vorn\\backup\\" + name, old) ||
                          (i == 6 && (Holds("c:\\vorn\\vorn.$$$", old) || Holds("c:\\vorn\\backup\\vorn.$$$", old) ||
                                      Holds("c:\\vorn\\backup\\vorn2.ini", old)));
        EXPECT_TRUE(kept) << name;
      }
    }
    EXPECT_TRUE(Holds("c:\\windows\\vorn.ini", kWindowsSettings));
    EXPECT_FALSE(Exists("c:\\windows\\temp\\vorn.tmp"));
  }

  void CheckAfterSuccess(const std::string& what) {
    SCOPED_TRACE(what);
    for (const std::string& caption : Captions()) EXPECT_EQ(caption, "Vorn Installation Warning");
    EXPECT_FALSE(Exists("c:\\windows\\temp\\vorn.tmp"));
    for (int i = 0; i < kFirstSettingsEntry; ++i) {
      EXPECT_TRUE(Holds(std::string("c:\\vorn\\") + InstallManifest[i], SampleFile(i))) << InstallManifest[i];
    }
  }
};

TEST_F(FaultInjectionTest, EveryOperationFailsInTurn) {
  const faults::Op kOps[] = {faults::Op::Open,      faults::Op::Read,   faults::Op::Write,
                             faults::Op::Rename,    faults::Op::Delete, faults::Op::MakeDir,
                             faults::Op::RemoveDir, faults::Op::Attributes};
  const char* const kOpNames[] = {"open", "read", "write", "rename", "delete", "mkdir", "rmdir", "attributes"};
  const std::string image = SamplePayload();
  ASSERT_GT(image.size(), 100000u);  // the sample package, compressed
  int injected = 0;
  for (const Config config : {Config{true, IDYES}, Config{true, IDNO}, Config{false, IDYES}, Config{false, IDNO}}) {
    // A run without faults counts the operations there are to fail.
    TearDown();
    SetUp();
    PrepareEarlierInstallation();
    installState.makeBackups = config.backups;
    Answer({config.answer});
    UseImage(image);
    ASSERT_EQ(RunAsController(), Done);
    std::map<faults::Op, int> counts;
    for (faults::Op op : kOps) counts[op] = faults::Count(op);

    for (std::size_t k = 0; k < sizeof kOps / sizeof kOps[0]; ++k) {
      for (int nth = 1; nth <= counts[kOps[k]]; ++nth) {
        TearDown();
        SetUp();
        PrepareEarlierInstallation();
        installState.makeBackups = config.backups;
        Answer({config.answer});
        UseImage(image);
        faults::Arm(kOps[k], nth, kOps[k] == faults::Op::Write ? Error::DiskFull : Error::AccessDenied);
        const StepResult result = RunAsController();
        faults::Clear();
        injected += 1;
        const std::string what = std::string(config.backups ? "backups, " : "no backups, ") +
                                 (config.answer == IDYES ? "keep, " : "replace, ") + kOpNames[k] + " #" +
                                 std::to_string(nth);
        if (result == Done) {
          CheckAfterSuccess(what);
        } else {
          CheckAfterFailure(what);
        }
      }
    }
  }
  std::printf("injected %d faults\n", injected);
  EXPECT_GT(injected, 100);
}

}  // namespace
}  // namespace vorn::testing
