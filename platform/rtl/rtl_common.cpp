// The run-time services that are the same on every target: splitting paths and
// lower-casing, written out so that no piece can overflow its buffer.
#include <cstring>

#include "platform/rtl.h"

namespace rtl {

namespace {

// Copies at most size - 1 characters of [begin, end) and terminates.
void CopyPiece(char* out, int size, const char* begin, const char* end) {
  if (out == nullptr || size <= 0) return;
  std::size_t count = static_cast<std::size_t>(end - begin);
  if (count > static_cast<std::size_t>(size - 1)) count = static_cast<std::size_t>(size - 1);
  std::memcpy(out, begin, count);
  out[count] = '\0';
}

}  // namespace

void split_path(const char* path, char* drive, char* dir, char* fname, char* ext) {
  const char* p = path;
  const char* end = path + std::strlen(path);
  if (end - p >= 2 && p[1] == ':') {
    CopyPiece(drive, kMaxDrive, p, p + 2);
    p += 2;
  } else {
    CopyPiece(drive, kMaxDrive, p, p);
  }
  const char* lastSeparator = nullptr;
  for (const char* q = p; q < end; ++q) {
    if (*q == '\\' || *q == '/') lastSeparator = q;
  }
  const char* nameStart = lastSeparator == nullptr ? p : lastSeparator + 1;
  CopyPiece(dir, kMaxDir, p, nameStart);
  const char* dot = nullptr;
  for (const char* q = nameStart; q < end; ++q) {
    if (*q == '.') dot = q;
  }
  if (dot == nullptr) dot = end;
  CopyPiece(fname, kMaxFname, nameStart, dot);
  CopyPiece(ext, kMaxExt, dot, end);
}

char* to_lower(char* text) {
  for (char* p = text; *p != '\0'; ++p) {
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
  }
  return text;
}

}  // namespace rtl
