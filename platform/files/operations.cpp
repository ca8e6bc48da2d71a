// File operations on Windows paths with Windows semantics: a rename never replaces,
// a read-only file (no write bit) cannot be opened for writing or deleted, a
// directory is not a file. The checks are ours, so they hold even for root.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files/faults.h"
#include "platform/files/files.h"

namespace vorn::files {

namespace {

Error FromErrno(int err) {
  switch (err) {
    case ENOENT: return Error::NotFound;
    case ENOTDIR: return Error::PathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return Error::AccessDenied;
    case EEXIST: return Error::Exists;
    case ENOTEMPTY: return Error::DirNotEmpty;
    case ENOSPC:
    case EDQUOT: return Error::DiskFull;
    case ENAMETOOLONG: return Error::NameTooLong;
    case ENOMEM: return Error::OutOfMemory;
    default: return Error::AccessDenied;
  }
}

bool ReadOnly(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }

// The host path of a Windows path whose parent directory must exist.
Error HostWithParent(std::string_view winPath, std::string* host) {
  if (Error e = ToHostPath(winPath, host); e != Error::None) return e;
  const std::size_t slash = host->find_last_of('/');
  const std::string parent = slash == 0 ? "/" : host->substr(0, slash);
  struct stat st;
  if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Error::PathNotFound;
  return Error::None;
}

int OpenFlags(OpenMode mode) {
  switch (mode) {
    case OpenMode::Read: return O_RDONLY;
    case OpenMode::ReadWrite: return O_RDWR;
    case OpenMode::CreateTruncate: return O_WRONLY | O_CREAT | O_TRUNC;
    case OpenMode::CreateExclusive: return O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
  }
  return O_RDONLY;
}

}  // namespace

Error Open(std::string_view winPath, OpenMode mode, int* fd) {
  if (Error e = faults::Check(faults::Op::Open); e != Error::None) return SetLast(e);
  std::string host;
  if (Error e = HostWithParent(winPath, &host); e != Error::None) return SetLast(e);

  struct stat st;
  const bool present = lstat(host.c_str(), &st) == 0;
  if (present && mode == OpenMode::CreateExclusive) {
    // Whatever stands at the path goes first; a link is removed, not followed.
    if (S_ISDIR(st.st_mode) || (S_ISREG(st.st_mode) && ReadOnly(st))) return SetLast(Error::AccessDenied);
    if (unlink(host.c_str()) != 0) return SetLast(FromErrno(errno));
  } else if (present) {
    struct stat target;
    if (stat(host.c_str(), &target) != 0) return SetLast(mode == OpenMode::Read ? Error::NotFound : Error::AccessDenied);
    if (S_ISDIR(target.st_mode)) return SetLast(Error::AccessDenied);
    if (mode != OpenMode::Read && ReadOnly(target)) return SetLast(Error::AccessDenied);
  } else if (mode == OpenMode::Read || mode == OpenMode::ReadWrite) {
    return SetLast(Error::NotFound);
  }

  const int opened = ::open(host.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
  if (opened < 0) return SetLast(FromErrno(errno));
  *fd = opened;
  return Error::None;
}

bool Exists(std::string_view winPath) {
  std::string host;
  if (ToHostPath(winPath, &host) != Error::None) return false;
  struct stat st;
  return stat(host.c_str(), &st) == 0;
}

bool IsDirectory(std::string_view winPath) {
  std::string host;
  if (ToHostPath(winPath, &host) != Error::None) return false;
  struct stat st;
  return stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Error Rename(std::string_view from, std::string_view to) {
  if (Error e = faults::Check(faults::Op::Rename); e != Error::None) return SetLast(e);
  std::string source;
  std::string target;
  if (Error e = ToHostPath(from, &source); e != Error::None) return SetLast(e);
  if (Error e = HostWithParent(to, &target); e != Error::None) return SetLast(e);
  struct stat st;
  if (lstat(source.c_str(), &st) != 0) return SetLast(Error::NotFound);

  // The lookup maps a target that differs only in case onto the existing name;
  // renaming a file onto itself that way just changes the case of its name.
  const bool sameFile = source == target;
  if (!sameFile && lstat(target.c_str(), &st) == 0) return SetLast(Error::Exists);
  if (sameFile) {
    std::string written;
    if (FullWindowsPath(to, &written) != Error::None) return SetLast(Error::InvalidName);
    target = target.substr(0, target.find_last_of('/') + 1) + written.substr(written.find_last_of('\\') + 1);
    if (target == source) return Error::None;
  }
  // link + unlink would refuse directories; rename after the check above is
  // enough on one thread.
  if (::rename(source.c_str(), target.c_str()) != 0) return SetLast(FromErrno(errno));
  return Error::None;
}

Error Delete(std::string_view winPath) {
  if (Error e = faults::Check(faults::Op::Delete); e != Error::None) return SetLast(e);
  std::string host;
  if (Error e = ToHostPath(winPath, &host); e != Error::None) return SetLast(e);
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return SetLast(FromErrno(errno));
  if (S_ISDIR(st.st_mode)) return SetLast(Error::AccessDenied);
  if (S_ISREG(st.st_mode) && ReadOnly(st)) return SetLast(Error::AccessDenied);
  if (unlink(host.c_str()) != 0) return SetLast(FromErrno(errno));
  return Error::None;
}

Error SetReadOnly(std::string_view winPath, bool readOnly) {
  if (Error e = faults::Check(faults::Op::Attributes); e != Error::None) return SetLast(e);
  std::string host;
  if (Error e = ToHostPath(winPath, &host); e != Error::None) return SetLast(e);
  struct stat st;
  if (stat(host.c_str(), &st) != 0) return SetLast(FromErrno(errno));
  const mode_t mode = readOnly ? (st.st_mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH))
                               : (st.st_mode | S_IWUSR);
  if (chmod(host.c_str(), mode & 07777) != 0) return SetLast(FromErrno(errno));
  return Error::None;
}

Error ClearAttributes(std::string_view winPath) { return SetReadOnly(winPath, false); }

Error MakeDirectory(std::string_view winPath) {
  if (Error e = faults::Check(faults::Op::MakeDir); e != Error::None) return SetLast(e);
  std::string host;
  if (Error e = HostWithParent(winPath, &host); e != Error::None) return SetLast(e);
  if (::mkdir(host.c_str(), 0777) != 0) return SetLast(FromErrno(errno));
  return Error::None;
}

Error RemoveDirectory(std::string_view winPath) {
  if (Error e = faults::Check(faults::Op::RemoveDir); e != Error::None) return SetLast(e);
  std::string host;
  if (Error e = ToHostPath(winPath, &host); e != Error::None) return SetLast(e);
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return SetLast(FromErrno(errno));
  if (!S_ISDIR(st.st_mode)) return SetLast(Error::PathNotFound);
  if (::rmdir(host.c_str()) != 0) return SetLast(errno == EEXIST ? Error::DirNotEmpty : FromErrno(errno));
  return Error::None;
}

}  // namespace vorn::files
