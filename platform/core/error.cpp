// Error codes at the Win32 edge.
#include "platform/core/error.h"

#include "platform/api/kernel.h"

namespace vorn {

std::uint32_t ToWin32Error(Error error) {
  switch (error) {
    case Error::None: return ERROR_SUCCESS;
    case Error::NotFound: return ERROR_FILE_NOT_FOUND;
    case Error::PathNotFound: return ERROR_PATH_NOT_FOUND;
    case Error::AccessDenied: return ERROR_ACCESS_DENIED;
    case Error::Exists: return ERROR_ALREADY_EXISTS;
    case Error::InvalidName: return ERROR_INVALID_NAME;
    case Error::NameTooLong: return ERROR_FILENAME_EXCED_RANGE;
    case Error::DirNotEmpty: return ERROR_DIR_NOT_EMPTY;
    case Error::DiskFull: return ERROR_HANDLE_DISK_FULL;
    case Error::ReadFault: return ERROR_READ_FAULT;
    case Error::WriteFault: return ERROR_WRITE_FAULT;
    case Error::InvalidHandle: return ERROR_INVALID_HANDLE;
    case Error::OutOfMemory: return ERROR_NOT_ENOUGH_MEMORY;
    case Error::Unsupported: return ERROR_INVALID_PARAMETER;
  }
  return ERROR_INVALID_PARAMETER;
}

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

Error SetLast(Error error) {
  lastError = ToWin32Error(error);
  return error;
}

}  // namespace vorn

DWORD WINAPI GetLastError(void) { return vorn::lastError; }
void WINAPI SetLastError(DWORD error) { vorn::lastError = error; }
