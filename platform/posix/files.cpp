// Files, attributes and read-only mappings over POSIX descriptors, with the sharing rules of
// CreateFileA enforced between the handles of this process. Mappings of memory are in named.cpp.
#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <set>

#include "named.h"

// Files and offsets beyond 2 GiB, as on Windows, in 32-bit builds too.
static_assert(sizeof(off_t) == 8, "build with _FILE_OFFSET_BITS=64");

namespace {

enum class Kind { File, Mapping };

struct Object {
  Kind kind;
  int fd;
  DWORD access;  // files: GENERIC_READ / GENERIC_WRITE
  DWORD share;   // files: FILE_SHARE_*
  dev_t dev;
  ino_t ino;
  DWORD size;  // mappings: bytes mapped by a view
};

// A view keeps its file in use after the mapping's handle and the file's are closed.
struct View {
  size_t length;
  dev_t dev;
  ino_t ino;
};

std::mutex lock;
std::set<Object*> objects;
std::map<const void*, View> views;

Object* Find(HANDLE handle, Kind kind) {
  Object* object = static_cast<Object*>(handle);
  if (!objects.count(object) || object->kind != kind) return nullptr;
  return object;
}

DWORD ErrorFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR: return ERROR_ACCESS_DENIED;
    default: return ERROR_INVALID_PARAMETER;
  }
}

// An opener is let in only if every holder shares what it asks for, and it shares what each
// holder already has.
bool SharingAllows(dev_t dev, ino_t ino, DWORD access, DWORD share) {
  for (const Object* other : objects) {
    if (other->kind != Kind::File || other->dev != dev || other->ino != ino) continue;
    if ((access & GENERIC_READ) && !(other->share & FILE_SHARE_READ)) return false;
    if ((access & GENERIC_WRITE) && !(other->share & FILE_SHARE_WRITE)) return false;
    if ((other->access & GENERIC_READ) && !(share & FILE_SHARE_READ)) return false;
    if ((other->access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE)) return false;
  }
  return true;
}

}  // namespace

extern "C" HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                              DWORD disposition, DWORD, HANDLE) {
  if (!name || !*name) {
    SetLastError(name ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  int flags = O_CLOEXEC;
  if ((access & GENERIC_READ) && (access & GENERIC_WRITE)) {
    flags |= O_RDWR;
  } else if (access & GENERIC_WRITE) {
    flags |= O_WRONLY;
  } else {
    flags |= O_RDONLY;
  }
  bool truncate = false;
  switch (disposition) {
    case CREATE_NEW: flags |= O_CREAT | O_EXCL; break;
    case CREATE_ALWAYS:
      flags |= O_CREAT;
      truncate = true;
      break;
    case OPEN_ALWAYS: flags |= O_CREAT; break;
    case OPEN_EXISTING: break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return INVALID_HANDLE_VALUE;
  }
  std::lock_guard<std::mutex> guard(lock);
  int fd = open(name, flags, 0666);
  if (fd < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  struct stat info;
  if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  if (!SharingAllows(info.st_dev, info.st_ino, access, share)) {
    close(fd);
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;
  }
  // Truncate only once the sharing check has let us in, as the system does.
  if (truncate && ftruncate(fd, 0) != 0) {
    close(fd);
    SetLastError(ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  Object* object = new Object{Kind::File, fd, access, share, info.st_dev, info.st_ino, 0};
  objects.insert(object);
  SetLastError(ERROR_SUCCESS);
  return object;
}

namespace {

// The descriptor of a file handle opened with the given access, or -1 with the error set.
int DescriptorFor(HANDLE handle, DWORD access) {
  std::lock_guard<std::mutex> guard(lock);
  Object* file = Find(handle, Kind::File);
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (!(file->access & access)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return -1;
  }
  return file->fd;
}

// Reports a transfer's outcome the way ReadFile and WriteFile do.
BOOL Transferred(ssize_t n, LPDWORD done) {
  if (n < 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  if (done) *done = static_cast<DWORD>(n);
  return TRUE;
}

}  // namespace

extern "C" BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED) {
  if (read) *read = 0;
  int fd = DescriptorFor(handle, GENERIC_READ);
  return fd >= 0 && Transferred(::read(fd, buffer, count), read);
}

extern "C" BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, LPDWORD written,
                          LPOVERLAPPED) {
  if (written) *written = 0;
  int fd = DescriptorFor(handle, GENERIC_WRITE);
  return fd >= 0 && Transferred(::write(fd, buffer, count), written);
}

extern "C" DWORD SetFilePointer(HANDLE handle, LONG distance, PLONG distanceHigh, DWORD method) {
  std::lock_guard<std::mutex> guard(lock);
  Object* file = Find(handle, Kind::File);
  if (!file) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  int64_t offset = distance;
  if (distanceHigh)
    offset = static_cast<int64_t>((static_cast<uint64_t>(*distanceHigh) << 32) |
                                  static_cast<uint32_t>(distance));
  int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_END ? SEEK_END : SEEK_CUR;
  off_t base = whence == SEEK_SET ? 0 : lseek(file->fd, 0, whence);
  if (base + offset < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  off_t result = lseek(file->fd, offset, whence);
  if (result < 0) {
    SetLastError(ErrorFromErrno(errno));
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(result >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(result);
}

extern "C" DWORD GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
  std::lock_guard<std::mutex> guard(lock);
  Object* file = Find(handle, Kind::File);
  struct stat info;
  if (!file || fstat(file->fd, &info) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(static_cast<uint64_t>(info.st_size) >> 32);
  return static_cast<DWORD>(info.st_size);
}

extern "C" BOOL FlushFileBuffers(HANDLE handle) {
  int fd = DescriptorFor(handle, GENERIC_WRITE);
  if (fd < 0) return FALSE;
  if (fsync(fd) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

extern "C" BOOL CloseHandle(HANDLE handle) {
  if (named::Close(handle)) return TRUE;
  std::lock_guard<std::mutex> guard(lock);
  Object* object = static_cast<Object*>(handle);
  if (!objects.erase(object)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  close(object->fd);
  delete object;
  return TRUE;
}

extern "C" DWORD GetFileAttributesA(LPCSTR name) {
  struct stat info;
  if (!name || stat(name, &info) != 0) {
    SetLastError(name ? ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  // No write bit at all reads as the read-only attribute, as Wine maps it.
  DWORD readOnly = (info.st_mode & 0222) ? 0 : FILE_ATTRIBUTE_READONLY;
  return (S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE) | readOnly;
}

extern "C" BOOL DeleteFileA(LPCSTR name) {
  std::lock_guard<std::mutex> guard(lock);
  struct stat info;
  if (!name || stat(name, &info) != 0) {
    SetLastError(name ? ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // No opener in this module shares deletion, so an open file cannot be deleted.
  for (const Object* other : objects) {
    if (other->kind == Kind::File && other->dev == info.st_dev && other->ino == info.st_ino) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return FALSE;
    }
  }
  if (unlink(name) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

extern "C" HANDLE CreateFileMappingA(HANDLE handle, LPSECURITY_ATTRIBUTES, DWORD protect,
                                     DWORD sizeHigh, DWORD sizeLow, LPCSTR name) {
  if (handle == INVALID_HANDLE_VALUE) {
    if (sizeHigh) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return NULL;
    }
    return named::CreateMemoryMapping(protect, sizeLow, name);
  }
  std::lock_guard<std::mutex> guard(lock);
  Object* file = Find(handle, Kind::File);
  if (!file || protect != PAGE_READONLY || !(file->access & GENERIC_READ)) {
    SetLastError(file ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
    return NULL;
  }
  struct stat info;
  fstat(file->fd, &info);
  uint64_t wanted = (static_cast<uint64_t>(sizeHigh) << 32) | sizeLow;
  if (wanted == 0) wanted = static_cast<uint64_t>(info.st_size);
  // The system refuses to map an empty file, and a read-only mapping cannot extend one.
  if (wanted == 0) {
    SetLastError(ERROR_FILE_INVALID);
    return NULL;
  }
  if (wanted > static_cast<uint64_t>(info.st_size) || wanted > 0xFFFFFFFFu) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  int fd = dup(file->fd);
  Object* mapping =
      new Object{Kind::Mapping, fd, 0, 0, file->dev, file->ino, static_cast<DWORD>(wanted)};
  objects.insert(mapping);
  return mapping;
}

extern "C" LPVOID MapViewOfFile(HANDLE handle, DWORD access, DWORD offsetHigh, DWORD offsetLow,
                                SIZE_T bytes) {
  LPVOID view = NULL;
  if (!offsetHigh && !offsetLow && named::MapView(handle, access, bytes, view)) return view;
  std::lock_guard<std::mutex> guard(lock);
  Object* mapping = Find(handle, Kind::Mapping);
  if (!mapping || offsetHigh || offsetLow || bytes > mapping->size) {
    SetLastError(mapping ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return NULL;
  }
  size_t length = bytes ? bytes : mapping->size;
  view = mmap(nullptr, length, PROT_READ, MAP_SHARED, mapping->fd, 0);
  if (view == MAP_FAILED) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  views[view] = View{length, mapping->dev, mapping->ino};
  return view;
}

extern "C" BOOL UnmapViewOfFile(LPCVOID view) {
  if (named::Unmap(view)) return TRUE;
  std::lock_guard<std::mutex> guard(lock);
  auto found = views.find(view);
  if (found == views.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  munmap(const_cast<void*>(found->first), found->second.length);
  views.erase(found);
  return TRUE;
}

namespace {

// Whether a handle, a mapping or a view of this process holds the file.
bool InUse(dev_t dev, ino_t ino, bool mapped) {
  for (const Object* other : objects) {
    if (other->dev == dev && other->ino == ino && (mapped || other->kind == Kind::File)) {
      return true;
    }
  }
  if (!mapped) return false;
  for (const auto& view : views) {
    if (view.second.dev == dev && view.second.ino == ino) return true;
  }
  return false;
}

}  // namespace

// The source must be free to delete (no opener here shares deletion: 32, as DeleteFileA says);
// an existing target is replaced only when asked, and never while it is read-only, a folder,
// open or mapped (5), as the system refuses.
extern "C" BOOL MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags) {
  std::lock_guard<std::mutex> guard(lock);
  struct stat source, target;
  if (!from || !to || stat(from, &source) != 0) {
    SetLastError(from && to ? ErrorFromErrno(errno) : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (InUse(source.st_dev, source.st_ino, false)) {
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
  }
  if (stat(to, &target) == 0) {
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
      SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    }
    if (S_ISDIR(target.st_mode) || !(target.st_mode & 0222) ||
        InUse(target.st_dev, target.st_ino, true)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
  }
  if (rename(from, to) != 0) {
    SetLastError(ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}
