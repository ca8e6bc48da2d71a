// The run-time services on Windows: the C run-time's own calls.
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "platform/rtl.h"

namespace rtl {

FILE* open_stream(const char* path, const char* mode) { return std::fopen(path, mode); }

FILE* create_exclusive(const char* path) {
  // Whatever stands there goes first; the new file must then be ours alone.
  DeleteFileA(path);
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(file);
    return nullptr;
  }
  FILE* stream = _fdopen(fd, "wb");
  if (stream == nullptr) _close(fd);
  return stream;
}

bool exists(const char* path) { return _access(path, 0) == 0; }

bool is_directory(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int rename_file(const char* from, const char* to) { return std::rename(from, to) == 0 ? 0 : -1; }
int remove_file(const char* path) { return std::remove(path) == 0 ? 0 : -1; }
int clear_attributes(const char* path) { return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) ? 0 : -1; }
int make_dir(const char* path) { return _mkdir(path) == 0 ? 0 : -1; }
int remove_dir(const char* path) { return _rmdir(path) == 0 ? 0 : -1; }

int change_drive(int drive) { return _chdrive(drive) == 0 ? 0 : -1; }

}  // namespace rtl
