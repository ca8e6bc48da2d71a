// Windows paths on the Linux file system: the prefix with its drives, case-insensitive
// lookup, and file operations with Windows semantics (rename never replaces, a
// read-only file cannot be written or deleted, even for root).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/core/error.h"

namespace vorn::files {

// The prefix directory (VORN_PREFIX, else under $XDG_DATA_HOME), laid out on first
// use: drive_c/ with windows/ and windows/temp/, and dosdevices/ with c: and z:.
const std::string& PrefixRoot();
// Forgets the prefix and current directories, so that the next call reads the
// environment again. For tests that switch prefixes.
void Reset();

// The absolute, normalised form of a Windows path ("c:\dir\name", drive in lower case,
// "." and ".." resolved, trailing dots and spaces of names dropped), or why it is refused.
Error FullWindowsPath(std::string_view winPath, std::string* full);
// Host path for a Windows path. Components are looked up ignoring case (an exact
// match wins); missing trailing components are kept as written. Relative paths are
// taken from the current directory of their drive.
Error ToHostPath(std::string_view winPath, std::string* hostPath);
// Windows path of a host path: the most specific drive that contains it.
Error ToWindowsPath(const std::string& hostPath, std::string* winPath);
// GetDriveTypeA for a drive letter ('a' to 'z', either case).
unsigned DriveType(char letter);
// "C:\windows" and "C:\windows\temp\".
std::string WindowsDirectory();
std::string TempDirectory();
// The drive letters mapped in the prefix, in order ('c', 'z', ...).
std::string Drives();
// The current directory as a Windows path ("c:\dir"), that of a drive, and changes.
std::string CurrentDirectory();
std::string CurrentDirectoryOf(char letter);
Error SetCurrentDirectory(std::string_view winPath);
Error SetCurrentDrive(char letter);

enum class OpenMode {
  Read,             // existing file, read only
  ReadWrite,        // existing file
  CreateTruncate,   // create, or truncate an existing writable file
  CreateExclusive,  // remove what stands there (without following a link), then create anew
};
// Opens a file and returns a host file descriptor.
Error Open(std::string_view winPath, OpenMode mode, int* fd);
// A buffered stdio stream over Open, whose reads and writes pass the fault switch.
Error OpenStream(std::string_view winPath, OpenMode mode, std::FILE** stream);

bool Exists(std::string_view winPath);
bool IsDirectory(std::string_view winPath);
Error Rename(std::string_view from, std::string_view to);
Error Delete(std::string_view winPath);
Error ClearAttributes(std::string_view winPath);
Error SetReadOnly(std::string_view winPath, bool readOnly);
Error MakeDirectory(std::string_view winPath);
Error RemoveDirectory(std::string_view winPath);

}  // namespace vorn::files
