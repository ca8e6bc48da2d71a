// Whole-file reads and all-or-nothing writes for the image builder.
#include "tools/mkimage/files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/manifest.h"

namespace vorn::mkimage {

bool ReadWholeFile(const std::string& path, Bytes* out, std::string* error) {
  out->clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  unsigned char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) out->insert(out->end(), buffer, buffer + n);
  const bool failed = std::ferror(file) != 0;
  const int reason = errno;
  std::fclose(file);
  if (failed) {
    *error = path + ": cannot read: " + std::strerror(reason);
    return false;
  }
  return true;
}

bool ReadPackage(const std::string& dir, std::vector<PackageFile>* files, std::string* error) {
  files->clear();
  for (const char* name : InstallManifest) {
    PackageFile file{name, {}};
    if (!ReadWholeFile(dir + "/" + name, &file.data, error)) {
      *error = "package file " + *error;
      return false;
    }
    files->push_back(std::move(file));
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, const Bytes& data, bool executable, std::string* error) {
  const std::string temp = path + ".tmp";
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (file == nullptr) {
    *error = temp + ": cannot create: " + std::strerror(errno);
    return false;
  }
  bool ok = data.empty() || std::fwrite(data.data(), 1, data.size(), file) == data.size();
  int reason = errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    reason = errno;
  }
  if (ok && executable && ::chmod(temp.c_str(), 0755) != 0) {
    ok = false;
    reason = errno;
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    reason = errno;
  }
  if (!ok) {
    std::remove(temp.c_str());
    *error = path + ": cannot write: " + std::strerror(reason);
  }
  return ok;
}

}  // namespace vorn::mkimage
