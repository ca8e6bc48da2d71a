// The one error type inside the platform. Services return it; the Win32 edge turns
// it into the API's return values and last-error codes.
#pragma once

#include <cstdint>

namespace vorn {

enum class Error : std::uint32_t {
  None = 0,
  NotFound,        // the file does not exist
  PathNotFound,    // a directory on the way does not exist
  AccessDenied,    // read-only, a directory where a file was meant, or no permission
  Exists,          // the target already exists
  InvalidName,     // forbidden characters, reserved names, no such drive
  NameTooLong,     // longer than MAX_PATH - 1
  DirNotEmpty,
  DiskFull,
  ReadFault,
  WriteFault,
  InvalidHandle,
  OutOfMemory,
  Unsupported,
};

// The Win32 last-error code for an error.
std::uint32_t ToWin32Error(Error error);
// Records the error as the thread's last error (GetLastError) and returns it.
Error SetLast(Error error);

}  // namespace vorn
