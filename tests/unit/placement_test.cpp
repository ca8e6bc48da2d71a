// Placing one collected stream: the error names, and the failures of each open.
#include <gtest/gtest.h>

#include "engine/path_pieces.h"
#include "placement/place_file.h"
#include "platform/files/files.h"
#include "platform/rtl.h"
#include "tests/support/engine_fixture.h"

namespace vorn::testing {
namespace {

using PlacementTest = EngineTest;

TEST(LzErrorNames, EveryCodeAndTheRest) {
  struct Case {
    LONG code;
    const char* name;
  } cases[] = {
      {-1, "LZERROR_BADINHANDLE"}, {-2, "LZERROR_BADOUTHANDLE"}, {-3, "LZERROR_READ"},
      {-4, "LZERROR_WRITE"},       {-5, "LZERROR_GLOBALLOC"},    {-6, "LZERROR_GLOBLOCK"},
      {-7, "LZERROR_BADVALUE"},    {-8, "LZERROR_UNKNOWNALG"},   {-9, "UNKNOWN ERROR"},
      {-1000, "UNKNOWN ERROR"},
  };
  for (const Case& c : cases) EXPECT_STREQ(LzErrorName(c.code), c.name) << c.code;
}

class PlaceTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ResetInstallState();
    ASSERT_EQ(PrepareDestination(), Done);
    SplitIntoPathPieces("c:\\vorn\\vorn32.exe");
  }
};

TEST_F(PlaceTest, APlainSourceIsCopiedAndTheEntryAdvances) {
  Write("c:\\windows\\temp\\vorn.tmp", "not compressed");
  EXPECT_EQ(PlaceFile("c:\\windows\\temp\\vorn.tmp"), Done);
  EXPECT_EQ(installState.fileIndex, 1);
  EXPECT_EQ(Read("c:\\vorn\\vorn32.exe"), "not compressed");
}

TEST_F(PlaceTest, ASourceThatCannotBeOpenedIsError3AndTouchesNothing) {
  Write("c:\\vorn\\vorn32.exe", "old");
  EXPECT_EQ(PlaceFile("c:\\windows\\temp\\missing.tmp"), Fatal);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [3]"});
  EXPECT_EQ(Boxes()[0].text,
            "There seems to be a problem reading the installation file.\n\n"
            "Please try running the installation program again!");
  EXPECT_EQ(Read("c:\\vorn\\vorn32.exe"), "old");
  EXPECT_EQ(installState.fileIndex, 0);
}

TEST_F(PlaceTest, ADestinationThatCannotBeOpenedIsError4) {
  Write("c:\\windows\\temp\\vorn.tmp", LiteralStream("data"));
  ASSERT_EQ(rtl::make_dir("c:\\vorn\\vorn32.exe"), 0);  // a directory in the way
  EXPECT_EQ(PlaceFile("c:\\windows\\temp\\vorn.tmp"), Fatal);
  EXPECT_EQ(Captions(), std::vector<std::string>{"Vorn Installation Error [4]"});
  EXPECT_EQ(installState.fileIndex, 0);
}

TEST_F(PlaceTest, TheStatusNamesTheFileBeingValidated) {
  // ShowFileStatus left the pieces of the entry whose stream began.
  SplitIntoPathPieces("c:\\vorn\\readme.txt");
  Write("c:\\windows\\temp\\vorn.tmp", LiteralStream("data"));
  installState.fileIndex = 4;
  EXPECT_EQ(PlaceFile("c:\\windows\\temp\\vorn.tmp"), Done);
  EXPECT_EQ(Read("c:\\vorn\\readme.txt"), "data");
}

}  // namespace
}  // namespace vorn::testing
