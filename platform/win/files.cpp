// File and folder calls over POSIX.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "fileapi.h"
#include "module.h"
#include "paths.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL FailErrno() { return Fail(win::ErrorFromErrno(errno)); }

bool PathOk(LPCWSTR path) { return path && *path; }

std::string Posix(LPCWSTR path) { return win::ToPosixPath(path); }

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : m_fd(fd) {}
  ~Fd() {
    if (m_fd >= 0) close(m_fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return m_fd; }
  // Closes now and reports whether everything written reached the file.
  bool Close() {
    int fd = m_fd;
    m_fd = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int m_fd;
};

bool CopyContents(int from, int to) {
  char buf[65536];
  for (;;) {
    ssize_t n = read(from, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(to, buf + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += w;
    }
  }
}

BOOL CopyFilePosix(const std::string& from, const std::string& to, bool failIfExists) {
  Fd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.Get() < 0) return FailErrno();
  struct stat st {};
  if (fstat(in.Get(), &st) != 0) return FailErrno();
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  struct stat target {};
  if (stat(to.c_str(), &target) == 0) {
    if (failIfExists) return Fail(ERROR_FILE_EXISTS);
    if (target.st_dev == st.st_dev && target.st_ino == st.st_ino) return Fail(ERROR_SHARING_VIOLATION);
    if (S_ISDIR(target.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  }
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
  Fd out(open(to.c_str(), flags, st.st_mode & 07777));
  if (out.Get() < 0) return FailErrno();
  if (!CopyContents(in.Get(), out.Get())) return FailErrno();
  fchmod(out.Get(), st.st_mode & 07777);
  if (!out.Close()) return FailErrno();
  return TRUE;
}

}  // namespace

namespace win {

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case ENOSPC:
    case EIO:
      return ERROR_WRITE_FAULT;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_INVALID_FUNCTION;
  }
}

}  // namespace win

DWORD GetFileAttributesW(LPCWSTR fileName) {
  if (!PathOk(fileName)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat st {};
  if (stat(Posix(fileName).c_str(), &st) != 0) {
    SetLastError(win::ErrorFromErrno(errno));
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes) {
  if (!PathOk(fileName)) return Fail(ERROR_INVALID_PARAMETER);
  std::string path = Posix(fileName);
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return FailErrno();
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH))
                                                : (mode | S_IWUSR);
  if (chmod(path.c_str(), mode) != 0) return FailErrno();
  return TRUE;
}

BOOL DeleteFileW(LPCWSTR fileName) {
  if (!PathOk(fileName)) return Fail(ERROR_INVALID_PARAMETER);
  std::string path = Posix(fileName);
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0) return FailErrno();
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  // A read-only file cannot be deleted, as on the original platform.
  if (!S_ISLNK(st.st_mode) && !(st.st_mode & S_IWUSR)) return Fail(ERROR_ACCESS_DENIED);
  if (unlink(path.c_str()) != 0) return FailErrno();
  return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES) {
  if (!PathOk(pathName)) return Fail(ERROR_INVALID_PARAMETER);
  if (mkdir(Posix(pathName).c_str(), 0777) != 0) {
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : win::ErrorFromErrno(errno));
  }
  return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR pathName) {
  if (!PathOk(pathName)) return Fail(ERROR_INVALID_PARAMETER);
  if (rmdir(Posix(pathName).c_str()) != 0) {
    return Fail(errno == ENOTDIR ? ERROR_DIRECTORY : win::ErrorFromErrno(errno));
  }
  return TRUE;
}

BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
  if (!PathOk(existingFileName) || !PathOk(newFileName)) return Fail(ERROR_INVALID_PARAMETER);
  return CopyFilePosix(Posix(existingFileName), Posix(newFileName), failIfExists != FALSE);
}

BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
  return MoveFileExW(existingFileName, newFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags) {
  if (!PathOk(existingFileName) || !PathOk(newFileName)) return Fail(ERROR_INVALID_PARAMETER);
  std::string from = Posix(existingFileName);
  std::string to = Posix(newFileName);
  struct stat st {};
  if (lstat(from.c_str(), &st) != 0) return FailErrno();
  bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  struct stat target {};
  bool targetExists = lstat(to.c_str(), &target) == 0;
  // Renaming a file to another spelling of its own name is allowed.
  bool same = targetExists && target.st_dev == st.st_dev && target.st_ino == st.st_ino;
  if (targetExists && !same) {
    if (!replace) return Fail(ERROR_ALREADY_EXISTS);
    if (S_ISDIR(target.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  }
  if (::rename(from.c_str(), to.c_str()) == 0) return TRUE;
  if (errno != EXDEV || S_ISDIR(st.st_mode) || !(flags & MOVEFILE_COPY_ALLOWED)) {
    return Fail(errno == EXDEV ? ERROR_NOT_SAME_DEVICE : win::ErrorFromErrno(errno));
  }
  if (!CopyFilePosix(from, to, !replace)) return FALSE;
  if (unlink(from.c_str()) != 0) return FailErrno();
  return TRUE;
}

BOOL PathFileExistsW(LPCWSTR path) {
  if (!PathOk(path)) return FALSE;
  struct stat st {};
  return stat(Posix(path).c_str(), &st) == 0 ? TRUE : FALSE;
}
