// vorn-mkimage: builds an installer image from a head and a package directory, and
// checks, lists and unpacks finished images.
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mkimage/files.h"
#include "tools/mkimage/image.h"

namespace {

using vorn::mkimage::Bytes;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage() {
  std::fputs(
      "usage: vorn-mkimage build --head HEAD --package DIR -o IMAGE\n"
      "       vorn-mkimage verify IMAGE\n"
      "       vorn-mkimage list IMAGE\n"
      "       vorn-mkimage extract IMAGE DIR\n",
      stderr);
  return kUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "vorn-mkimage: %s\n", message.c_str());
  return kFailed;
}

int Build(const std::string& headPath, const std::string& packageDir, const std::string& imagePath) {
  // A failed build leaves no image behind, not even an older one that would pass
  // for the result.
  std::error_code ignored;
  std::filesystem::remove(imagePath, ignored);
  std::string error;
  Bytes head;
  if (!vorn::mkimage::ReadWholeFile(headPath, &head, &error)) return Fail("head " + error);
  std::vector<vorn::mkimage::PackageFile> files;
  if (!vorn::mkimage::ReadPackage(packageDir, &files, &error)) return Fail(error);
  Bytes image;
  if (!vorn::mkimage::BuildImage(head, files, &image, &error)) return Fail(imagePath + ": " + error);
  if (!vorn::mkimage::WriteFileAtomically(imagePath, image, true, &error)) return Fail(error);
  return 0;
}

// Reads and checks an image; prints what is wrong when it is not sound.
bool Inspect(const std::string& imagePath, vorn::mkimage::Inspection* inspection, std::vector<Bytes>* expanded) {
  Bytes image;
  std::string error;
  if (!vorn::mkimage::ReadWholeFile(imagePath, &image, &error)) {
    Fail(error);
    return false;
  }
  *inspection = vorn::mkimage::InspectImage(image, expanded);
  if (!inspection->ok()) {
    Fail(imagePath + ": " + inspection->problem);
    return false;
  }
  return true;
}

int Verify(const std::string& imagePath) {
  vorn::mkimage::Inspection inspection;
  if (!Inspect(imagePath, &inspection, nullptr)) return kFailed;
  std::printf("%s: %s\n", imagePath.c_str(), vorn::mkimage::Summary(inspection).c_str());
  return 0;
}

int List(const std::string& imagePath) {
  vorn::mkimage::Inspection inspection;
  if (!Inspect(imagePath, &inspection, nullptr)) return kFailed;
  std::printf("%10s %10s %10s  %s\n", "offset", "bytes", "expanded", "name");
  for (const auto& stream : inspection.streams) {
    std::printf("%10" PRIu64 " %10" PRIu64 " %10" PRIu32 "  %s\n", stream.offset, stream.chunkSize, stream.length,
                stream.name.c_str());
  }
  return 0;
}

int Extract(const std::string& imagePath, const std::string& dir) {
  vorn::mkimage::Inspection inspection;
  std::vector<Bytes> expanded;
  if (!Inspect(imagePath, &inspection, &expanded)) return kFailed;
  std::error_code failure;
  std::filesystem::create_directories(dir, failure);
  if (failure) return Fail(dir + ": cannot create: " + failure.message());
  for (std::size_t i = 0; i < inspection.streams.size(); ++i) {
    std::string error;
    if (!vorn::mkimage::WriteFileAtomically(dir + "/" + inspection.streams[i].name, expanded[i], false, &error)) {
      return Fail(error);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  if (command == "build") {
    std::string head, package, image;
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
      if (args[i] == "--head") {
        head = args[i + 1];
      } else if (args[i] == "--package") {
        package = args[i + 1];
      } else if (args[i] == "-o") {
        image = args[i + 1];
      } else {
        return Usage();
      }
    }
    if (args.size() % 2 == 0 || head.empty() || package.empty() || image.empty()) return Usage();
    return Build(head, package, image);
  }
  if (command == "verify" && args.size() == 2) return Verify(args[1]);
  if (command == "list" && args.size() == 2) return List(args[1]);
  if (command == "extract" && args.size() == 3) return Extract(args[1], args[2]);
  return Usage();
}
