// Installer images: the head (the installer program) with the package's eleven
// files appended as SZDD streams, and the payload's sum stamped into the head.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::mkimage {

using Bytes = std::vector<unsigned char>;

struct PackageFile {
  std::string name;
  Bytes data;
};

// Compresses the files (in manifest order) into streams, appends them to the head
// with no fill between them, stamps the sum into the head's checksum record and
// checks the result as the installer will read it, each stream against its file.
// False, with the reason in *error, when any step fails; *image is then empty.
bool BuildImage(const Bytes& head, const std::vector<PackageFile>& files, Bytes* image, std::string* error);

struct StreamInfo {
  std::uint64_t offset = 0;     // of its signature
  std::uint64_t chunkSize = 0;  // up to the next signature or the end of the image
  std::uint32_t length = 0;     // the uncompressed length its header declares
  std::string name;             // the manifest entry it installs
};

struct Inspection {
  std::vector<StreamInfo> streams;
  std::uint64_t headSize = 0;
  std::uint32_t stamped = 0;  // the value in the head's checksum record
  std::uint32_t sum = 0;      // the sum the installer computes over the payload
  std::string problem;        // what is wrong and where; empty for a sound image
  bool ok() const { return problem.empty(); }
};

// Scans the image with the installer's signature matcher and checks it: the head
// holds no signature, there are exactly eleven streams, each expands to the length
// its header declares, and the sum equals the stamped value. With `expanded`, it
// also keeps every stream's expansion.
Inspection InspectImage(const Bytes& image, std::vector<Bytes>* expanded);

// One line on a sound image.
std::string Summary(const Inspection& inspection);

}  // namespace vorn::mkimage
