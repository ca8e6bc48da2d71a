// Run-time library services on Windows paths: buffered binary streams and the file
// operations the installer needs. One implementation per target (C run-time on
// Windows, our files service elsewhere). Streams are plain FILE*.
#pragma once

#include <cstdio>

namespace rtl {

// Sizes of the pieces of a split path, terminator included: room for any path the
// installer forms, so that no piece is ever cut.
constexpr int kMaxDrive = 3;
constexpr int kMaxDir = 320;
constexpr int kMaxFname = 320;
constexpr int kMaxExt = 320;

// fopen on a Windows path; mode as for fopen ("rb", "wb").
FILE* open_stream(const char* path, const char* mode);
// Creates a new file for binary writing. Whatever stood at the path before (a file
// or a link) is removed first, and the new file is created exclusively, so no link
// planted there can redirect the write.
FILE* create_exclusive(const char* path);
// True when a file or directory exists at the path.
bool exists(const char* path);
bool is_directory(const char* path);
// Each returns 0 on success and -1 on failure, like the C run-time.
int rename_file(const char* from, const char* to);
int remove_file(const char* path);
int clear_attributes(const char* path);
int make_dir(const char* path);
int remove_dir(const char* path);
// Splits a path into drive ("c:"), directory (with trailing backslash), base name
// and extension (with its dot); each output buffer has the size named above.
void split_path(const char* path, char* drive, char* dir, char* fname, char* ext);
// Lower-cases a text in place and returns it.
char* to_lower(char* text);
// Makes drive 1 (A:) to 26 (Z:) the current drive; 0 on success.
int change_drive(int drive);

}  // namespace rtl
