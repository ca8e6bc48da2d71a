// The image builder's file input and output: the package directory, whole files,
// and outputs that appear complete or not at all.
#pragma once

#include <string>
#include <vector>

#include "tools/mkimage/image.h"

namespace vorn::mkimage {

bool ReadWholeFile(const std::string& path, Bytes* out, std::string* error);

// The manifest's files from `dir`, in manifest order; false with a message that
// names the first file missing or unreadable.
bool ReadPackage(const std::string& dir, std::vector<PackageFile>* files, std::string* error);

// Writes beside `path` and renames over it, so that `path` never holds a partial
// file; an executable output gets mode 0755.
bool WriteFileAtomically(const std::string& path, const Bytes& data, bool executable, std::string* error);

}  // namespace vorn::mkimage
