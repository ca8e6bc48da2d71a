// The engine fixture.
#include "tests/support/engine_fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "engine/payload.h"
#include "engine/scanner.h"
#include "platform/kernel/module.h"
#include "platform/win32.h"
#include "shell/installer_app.h"

namespace vorn::testing {

void EngineTest::SetUp() {
  prefix_ = std::make_unique<TestPrefix>();
  installerApp = InstallerApp{};
  installerApp.instance = kernel::ProgramInstance();
  installState = InstallState{};
  std::strcpy(installState.destinationDir, "c:\\vorn");
  automation::ClearMessageBoxLog();
  automation::SetMessageBoxResponder([this](const automation::MessageBoxRecord& box) {
    const bool question = (box.flags & MB_TYPEMASK) == MB_YESNO;
    if (!question || answers_.empty()) return question ? IDNO : IDOK;
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  });
}

void EngineTest::TearDown() {
  if (installState.imageStream != nullptr) std::fclose(installState.imageStream);
  if (installState.tempStream != nullptr) std::fclose(installState.tempStream);
  installState = InstallState{};
  automation::SetMessageBoxResponder(nullptr);
  kernel::SetModuleFileForTesting("");
  checksumStamp.value = 0x025B9447u;
  prefix_.reset();
}

void EngineTest::UseImage(const std::string& bytes) {
  const std::string host = Host("c:\\setup\\install.exe");
  TestPrefix::WriteFile(host, bytes);
  kernel::SetModuleFileForTesting(host);
  checksumStamp.value = static_cast<std::uint32_t>(ImageSum(bytes));
}

StepResult EngineTest::RunScan() {
  ResetInstallState();
  slices_ = 0;
  if (StepResult r = PrepareDestination(); r != Done) return r;
  if (StepResult r = OpenInstallImage(); r != Done) return r;
  StepResult result;
  do {
    result = ScanSlice();
    slices_ += 1;
  } while (result == Continue);
  return result;
}

std::vector<std::string> EngineTest::Captions() const {
  std::vector<std::string> captions;
  for (const auto& box : Boxes()) captions.push_back(box.caption);
  return captions;
}

std::vector<std::string> EngineTest::List(const std::string& winDir) const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Host(winDir), ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string PackageFile(int index) {
  std::string content = "[file " + std::to_string(index) + "]\n";
  for (int line = 0; line < 20 + index * 7; ++line) {
    content += "line " + std::to_string(line) + " of entry " + std::to_string(index) + "\n";
  }
  return content;
}

TestImage PackageImage() {
  TestImage image;
  for (int i = 0; i < kManifestEntries; ++i) image.chunks.push_back(LiteralStream(PackageFile(i)) + std::string(i % 4, '\0'));
  return image;
}

}  // namespace vorn::testing
