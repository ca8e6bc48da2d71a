// The run-time services on Linux: the files service under the C run-time's names
// and return conventions.
#include <cctype>
#include <cstring>

#include "platform/files/files.h"
#include "platform/rtl.h"

namespace rtl {

using vorn::Error;
namespace files = vorn::files;

namespace {

int Result(Error e) { return e == Error::None ? 0 : -1; }

// Copies at most size - 1 characters of [begin, end) and terminates.
void CopyPiece(char* out, int size, const char* begin, const char* end) {
  if (out == nullptr || size <= 0) return;
  std::size_t count = static_cast<std::size_t>(end - begin);
  if (count > static_cast<std::size_t>(size - 1)) count = static_cast<std::size_t>(size - 1);
  std::memcpy(out, begin, count);
  out[count] = '\0';
}

}  // namespace

FILE* open_stream(const char* path, const char* mode) {
  files::OpenMode openMode = files::OpenMode::Read;
  if (mode[0] == 'w') openMode = files::OpenMode::CreateTruncate;
  else if (std::strchr(mode, '+') != nullptr) openMode = files::OpenMode::ReadWrite;
  else if (mode[0] != 'r') return nullptr;
  FILE* stream = nullptr;
  return files::OpenStream(path, openMode, &stream) == Error::None ? stream : nullptr;
}

FILE* create_exclusive(const char* path) {
  FILE* stream = nullptr;
  return files::OpenStream(path, files::OpenMode::CreateExclusive, &stream) == Error::None ? stream : nullptr;
}

bool exists(const char* path) { return files::Exists(path); }
bool is_directory(const char* path) { return files::IsDirectory(path); }
int rename_file(const char* from, const char* to) { return Result(files::Rename(from, to)); }
int remove_file(const char* path) { return Result(files::Delete(path)); }
int clear_attributes(const char* path) { return Result(files::ClearAttributes(path)); }
int make_dir(const char* path) { return Result(files::MakeDirectory(path)); }
int remove_dir(const char* path) { return Result(files::RemoveDirectory(path)); }

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

int change_drive(int drive) {
  if (drive < 1 || drive > 26) return -1;
  return Result(files::SetCurrentDrive(static_cast<char>('a' + drive - 1)));
}

}  // namespace rtl
