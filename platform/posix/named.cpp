// Named kernel objects, as processes of one desktop share them: events, mutexes and mappings
// backed by memory, which is what the debug-output buffer is made of. Here the desktop is this
// process, and its threads play the programs.
#include "named.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

enum class Type { Event, Mutex, Mapping };

struct Object {
  Type type;
  std::string name;  // empty for an unnamed object
  int handles = 0;
  int views = 0;
  bool signalled = false;  // events
  bool manualReset = false;
  std::thread::id owner;  // mutexes: none while free
  int recursion = 0;
  std::vector<char> memory;  // mappings
  DWORD protect = 0;
};

struct Handle {
  Object* object;
};

std::mutex lock;
std::condition_variable changed;
std::map<std::string, Object*> byName;
std::set<Handle*> handles;
std::multimap<const void*, Object*> views;

Object* Find(HANDLE handle, Type type) {
  Handle* found = static_cast<Handle*>(handle);
  if (!handles.count(found) || found->object->type != type) return nullptr;
  return found->object;
}

HANDLE NewHandle(Object* object) {
  ++object->handles;
  Handle* handle = new Handle{object};
  handles.insert(handle);
  return handle;
}

void DropIfUnused(Object* object) {
  if (object->handles || object->views) return;
  if (!object->name.empty()) byName.erase(object->name);
  delete object;
}

// Create*: opens the object of that name if there is one (ERROR_ALREADY_EXISTS), else makes
// it with make(). Unnamed objects are always new.
template <typename Make>
HANDLE CreateNamed(Type type, LPCSTR name, Make make) {
  std::lock_guard<std::mutex> guard(lock);
  if (name && *name) {
    auto found = byName.find(name);
    if (found != byName.end()) {
      if (found->second->type != type) {
        SetLastError(ERROR_INVALID_HANDLE);
        return NULL;
      }
      HANDLE handle = NewHandle(found->second);
      SetLastError(ERROR_ALREADY_EXISTS);
      return handle;
    }
  }
  Object* object = new Object{};
  object->type = type;
  if (name) object->name = name;
  make(*object);
  if (!object->name.empty()) byName[object->name] = object;
  SetLastError(ERROR_SUCCESS);
  return NewHandle(object);
}

HANDLE OpenNamed(Type type, LPCSTR name) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = name ? byName.find(name) : byName.end();
  if (found == byName.end() || found->second->type != type) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return NULL;
  }
  return NewHandle(found->second);
}

// Whether the calling thread may take the object now; takes it if so.
bool TakeIfFree(Object& object) {
  if (object.type == Type::Event) {
    if (!object.signalled) return false;
    if (!object.manualReset) object.signalled = false;
    return true;
  }
  std::thread::id me = std::this_thread::get_id();
  if (object.recursion && object.owner != me) return false;
  object.owner = me;
  ++object.recursion;
  return true;
}

}  // namespace

extern "C" DWORD GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

extern "C" HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState,
                               LPCSTR name) {
  return CreateNamed(Type::Event, name, [&](Object& object) {
    object.manualReset = manualReset != 0;
    object.signalled = initialState != 0;
  });
}

extern "C" HANDLE OpenEventA(DWORD, BOOL, LPCSTR name) { return OpenNamed(Type::Event, name); }

extern "C" BOOL SetEvent(HANDLE event) {
  std::lock_guard<std::mutex> guard(lock);
  Object* object = Find(event, Type::Event);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  object->signalled = true;
  changed.notify_all();
  return TRUE;
}

extern "C" HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCSTR name) {
  return CreateNamed(Type::Mutex, name, [&](Object& object) {
    if (initialOwner) TakeIfFree(object);
  });
}

extern "C" HANDLE OpenMutexA(DWORD, BOOL, LPCSTR name) { return OpenNamed(Type::Mutex, name); }

extern "C" BOOL ReleaseMutex(HANDLE mutex) {
  std::lock_guard<std::mutex> guard(lock);
  Object* object = Find(mutex, Type::Mutex);
  if (!object || !object->recursion || object->owner != std::this_thread::get_id()) {
    SetLastError(object ? ERROR_NOT_OWNER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (--object->recursion == 0) object->owner = std::thread::id();
  changed.notify_all();
  return TRUE;
}

extern "C" void Sleep(DWORD milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The first object of the list that can be taken, in the list's order, as Windows gives it.
// Waiting for all of them at once is left out: no caller waits so.
extern "C" DWORD WaitForMultipleObjects(DWORD count, const HANDLE* objects, BOOL waitAll,
                                        DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || waitAll) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::unique_lock<std::mutex> guard(lock);
  std::vector<Object*> waited;
  for (DWORD i = 0; i < count; ++i) {
    Handle* found = static_cast<Handle*>(objects[i]);
    if (!handles.count(found) || found->object->type == Type::Mapping) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    waited.push_back(found->object);
  }
  auto takeFirst = [&]() -> DWORD {
    for (DWORD i = 0; i < count; ++i) {
      if (TakeIfFree(*waited[i])) return i;
    }
    return count;
  };
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  DWORD taken;
  while ((taken = takeFirst()) == count) {
    if (milliseconds == INFINITE) {
      changed.wait(guard);
    } else if (changed.wait_until(guard, deadline) == std::cv_status::timeout) {
      taken = takeFirst();
      if (taken == count) return WAIT_TIMEOUT;
      break;
    }
  }
  return WAIT_OBJECT_0 + taken;
}

extern "C" DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

extern "C" HANDLE OpenFileMappingA(DWORD, BOOL, LPCSTR name) {
  return OpenNamed(Type::Mapping, name);
}

HANDLE named::CreateMemoryMapping(DWORD protect, DWORD size, LPCSTR name) {
  if (size == 0 || (protect != PAGE_READWRITE && protect != PAGE_READONLY)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return NULL;
  }
  return CreateNamed(Type::Mapping, name, [&](Object& object) {
    object.memory.assign(size, 0);
    object.protect = protect;
  });
}

bool named::Close(HANDLE handle) {
  std::lock_guard<std::mutex> guard(lock);
  Handle* found = static_cast<Handle*>(handle);
  if (!handles.erase(found)) return false;
  Object* object = found->object;
  delete found;
  --object->handles;
  DropIfUnused(object);
  return true;
}

bool named::MapView(HANDLE handle, DWORD access, SIZE_T bytes, LPVOID& view) {
  std::lock_guard<std::mutex> guard(lock);
  Handle* found = static_cast<Handle*>(handle);
  if (!handles.count(found)) return false;
  Object* object = Find(handle, Type::Mapping);
  view = NULL;
  if (!object || bytes > object->memory.size() ||
      ((access & FILE_MAP_WRITE) && object->protect != PAGE_READWRITE)) {
    SetLastError(object ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
    return true;
  }
  // One view a mapping at a time is all its users need; a second shares the first's memory.
  view = object->memory.data();
  ++object->views;
  views.emplace(view, object);
  return true;
}

bool named::Unmap(LPCVOID view) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = views.find(view);
  if (found == views.end()) return false;
  Object* object = found->second;
  views.erase(found);
  --object->views;
  DropIfUnused(object);
  return true;
}
