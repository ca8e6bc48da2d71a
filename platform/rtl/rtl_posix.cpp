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

int change_drive(int drive) {
  if (drive < 1 || drive > 26) return -1;
  return Result(files::SetCurrentDrive(static_cast<char>('a' + drive - 1)));
}

}  // namespace rtl
