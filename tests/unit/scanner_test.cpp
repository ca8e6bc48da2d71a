// The payload scanner over whole images: boundaries, pending signature bytes, the sum,
// and every way a scan can end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "engine/payload.h"
#include "engine/scanner.h"
#include "platform/files/faults.h"
#include "platform/rtl.h"
#include "tests/support/engine_fixture.h"

namespace vorn::testing {
namespace {

class ScanTest : public EngineTest {
 protected:
  void ExpectInstalled(int entries) {
    for (int i = 0; i < kManifestEntries; ++i) {
      const std::string path = std::string("c:\\vorn\\") + InstallManifest[i];
      if (i < entries) {
        EXPECT_EQ(Read(path), PackageFile(i)) << path;
      } else {
        EXPECT_FALSE(Exists(path)) << path;
      }
    }
  }
  void ExpectNothingLeft() {
    EXPECT_FALSE(Exists("c:\\vorn"));
    EXPECT_FALSE(Exists("c:\\windows\\temp\\vorn.tmp"));
    EXPECT_EQ(installState.imageStream, nullptr);
    EXPECT_EQ(installState.tempStream, nullptr);
  }
};

TEST_F(ScanTest, InstallsEveryStreamAndVerifiesTheSum) {
  UseImage(PackageImage());
  EXPECT_EQ(RunScan(), Done);
  EXPECT_EQ(installState.fileIndex, kManifestEntries);
  ExpectInstalled(kManifestEntries);
  EXPECT_FALSE(Exists("c:\\windows\\temp\\vorn.tmp"));
  EXPECT_EQ(installState.imageStream, nullptr);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ScanTest, ABrokenMatchIsNoBoundaryAndTheMismatchIsNotTriedAgain) {
  TestImage image = PackageImage();
  // S S Z D D in a fill: the second S breaks the match and starts none.
  image.chunks[3] += "xS" + Signature() + "y";
  UseImage(image);
  EXPECT_EQ(RunScan(), Done);
  EXPECT_EQ(installState.fileIndex, kManifestEntries);
  ExpectInstalled(kManifestEntries);
}

TEST_F(ScanTest, ASignatureSplitAcrossTwoSlicesIsRecognised) {
  for (int split = 1; split <= 3; ++split) {
    TestImage image = PackageImage();
    image.head = std::string(kSliceLimit + 1 - split, 'h');
    UseImage(image);
    EXPECT_EQ(RunScan(), Done) << split;
    EXPECT_EQ(installState.fileIndex, kManifestEntries) << split;
    ExpectInstalled(kManifestEntries);
  }
}

TEST_F(ScanTest, PendingSignatureBytesAtTheEndAreWritten) {
  for (const char* tail : {"S", "SZ", "SZD"}) {
    TestImage image;
    image.chunks.push_back(LiteralStream(PackageFile(0)));
    image.chunks.push_back(LiteralStream(std::string("ends in ") + tail));
    UseImage(image);
    EXPECT_EQ(RunScan(), Done) << tail;
    EXPECT_EQ(Read("c:\\vorn\\vlink32.exe"), std::string("ends in ") + tail);
    ASSERT_EQ(rtl::remove_file("c:\\vorn\\vorn32.exe"), 0);
    ASSERT_EQ(rtl::remove_file("c:\\vorn\\vlink32.exe"), 0);
  }
}

TEST_F(ScanTest, FewerStreamsWithAMatchingSumAreDone) {
  TestImage image = PackageImage();
  image.chunks.resize(4);
  UseImage(image);
  EXPECT_EQ(RunScan(), Done);
  EXPECT_EQ(installState.fileIndex, 4);
  ExpectInstalled(4);
}

TEST_F(ScanTest, AnImageWithoutSignatureEndsWithMessage13) {
  UseImage(std::string(20000, 'h'));
  checksumStamp.value = 0x025B9447u;  // the sum of nothing, 0, is not what the program carries
  EXPECT_EQ(RunScan(), Fatal);
  ASSERT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [13]"});
  EXPECT_EQ(Boxes()[0].text,
            "The installation file seems to be corrupt!\n\n"
            "Please try running the installation program again or download a new version!");
  ExpectNothingLeft();
}

TEST_F(ScanTest, AWrongSumTakesBackEveryPlacedFile) {
  TestImage image = PackageImage();
  UseImage(image);
  checksumStamp.value += 1;
  EXPECT_EQ(RunScan(), Fatal);
  EXPECT_EQ(installState.fileIndex, 0);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [13]"});
  ExpectNothingLeft();
}

TEST_F(ScanTest, AnImageOfNBytesTakesNOver7001PlusOneSlices) {
  TestImage image = PackageImage();
  image.head = std::string(725000 - image.Bytes().size() + image.head.size(), 'h');
  ASSERT_EQ(image.Bytes().size(), 725000u);
  UseImage(image);
  EXPECT_EQ(RunScan(), Done);
  EXPECT_EQ(slices_, 104);
}

TEST_F(ScanTest, PlacementSendingBackToSetupStopsAtTheBoundary) {
  installState.makeBackups = 1;
  Write("c:\\vorn\\vlink32.exe", "old");
  Write("c:\\vorn\\backup", "a plain file where the backup directory should be");
  UseImage(PackageImage());
  EXPECT_EQ(RunScan(), BackToSetup);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [7]"});
  EXPECT_EQ(installState.imageStream, nullptr);
  EXPECT_EQ(installState.tempStream, nullptr);
  EXPECT_FALSE(Exists("c:\\windows\\temp\\vorn.tmp"));
  EXPECT_EQ(installState.fileIndex, 1);  // the controller rolls back
}

TEST_F(ScanTest, TheTemporaryFileFallsBackToTheRootOfC) {
  struct Case {
    std::string setting;
    const char* expected;
  } cases[] = {
      {"", "c:\\vorn.tmp"},
      {"c:\\" + std::string(292, 't'), "c:\\vorn.tmp"},  // the directory fits, the name does not
      {"c:\\" + std::string(297, 't'), "c:\\vorn.tmp"},  // not even the directory fits
      {"c:\\windows", "c:\\windows\\vorn.tmp"},
  };
  for (const Case& c : cases) {
    setenv("VORN_TEMP", c.setting.c_str(), 1);
    TestImage image;
    image.chunks.push_back(LiteralStream(PackageFile(0)));
    UseImage(image);
    EXPECT_EQ(RunScan(), Done);
    EXPECT_STREQ(installState.tempPath, c.expected);
    EXPECT_FALSE(Exists(c.expected));
  }
  unsetenv("VORN_TEMP");
}

TEST_F(ScanTest, TemporaryFileProblemsEndWithMessage11) {
  UseImage(PackageImage());
  ASSERT_EQ(rtl::make_dir("c:\\windows\\temp\\vorn.tmp"), 0);  // in the way, and no file
  EXPECT_EQ(RunScan(), Fatal);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [11]"});
  EXPECT_EQ(Boxes()[0].text,
            "There seems to be a problem extracting files from the installation file.\n\n"
            "Please try running the installation program again!");
  EXPECT_EQ(installState.imageStream, nullptr);
  ASSERT_EQ(rtl::remove_dir("c:\\windows\\temp\\vorn.tmp"), 0);
}

TEST_F(ScanTest, AFullDiskUnderTheTemporaryFileIsMessage11NotACorruptFile) {
  UseImage(PackageImage());
  faults::Arm(faults::Op::Write, 1, Error::DiskFull);
  EXPECT_EQ(RunScan(), Fatal);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [11]"});
  ExpectNothingLeft();
}

TEST_F(ScanTest, AReadErrorOnTheImageEndsTheRun) {
  TestImage image = PackageImage();
  image.head = std::string(50000, 'h');  // the first reads are all the image's
  UseImage(image);
  faults::Arm(faults::Op::Read, 3, Error::ReadFault);
  EXPECT_EQ(RunScan(), Fatal);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [11]"});
  ExpectNothingLeft();
}

TEST_F(ScanTest, ExpansionErrorsNameTheLzError) {
  struct Case {
    std::string stream;
    const char* caption;
  } cases[] = {
      {LiteralStream("short", 0x41, 500), "Vorn Installation Error [5] [LZERROR_READ]"},
      {LiteralStream("other mode", 'Q', 10), "Vorn Installation Error [5] [LZERROR_UNKNOWNALG]"},
  };
  for (const Case& c : cases) {
    TestImage image = PackageImage();
    image.chunks[2] = c.stream;
    UseImage(image);
    automation::ClearMessageBoxLog();
    EXPECT_EQ(RunScan(), Fatal);
    EXPECT_EQ(Captions(), std::vector<std::string>{c.caption});
    EXPECT_EQ(Boxes()[0].text,
              "There seems to be a problem copying files to their destination.\n\n"
              "Please try running the installation program again!");
    ExpectNothingLeft();  // also the partial third file
  }
}

}  // namespace
}  // namespace vorn::testing
