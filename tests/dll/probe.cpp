// lunet-probe: a second process for the cross-process tests, which maps lunet.dll itself or
// plays a debug viewer that stalls.
//
// Usage: lunet-probe --stall-debug-output EVENT
//   takes the debug-output buffer, prints "listening", reads one text and keeps the buffer
//   until the named event is set, then hands it back and reads one more; prints each text as
//   "text <writer's pid> <text>".
// Usage: lunet-probe --code-pages
//   prints "ansi <GetACP()> oem <GetOEMCP()>": the system a test runs on, for tests that need one.
// Usage: lunet-probe DLL [--reserve-base] [--menu] [--load DIR]
//   --reserve-base  reserve the DLL's preferred image base first, so the loader must relocate it
//   --menu          send an "OnMenuExec" request and print "menu <reported length>"
//   --load DIR      call load with DIR and print "load <result>"
// Always prints "preferred 0x<base from the file> loaded 0x<where it was mapped>" first.
// Exit 0, or 1 with a message on stderr when the DLL cannot be read, mapped or used.
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include <string>

#include "debug_listener.h"
#include "harness/protocol/protocol.h"
#include "harness/windows_kit.h"
#include "owned.h"
#include "plugin_module.h"

namespace {

// The image base and size the DLL asks for, from its headers on disk: the optional header is
// PE32 in the 32-bit build and PE32+ (a 64-bit ImageBase) in the 64-bit one.
bool PreferredPlace(const char* path, ULONGLONG& base, DWORD& size) {
  FileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
  if (!file.valid()) return false;
  BYTE headers[4096];
  DWORD read = 0;
  BOOL ok = ReadFile(file.get(), headers, sizeof headers, &read, NULL);
  if (!ok || read < sizeof(IMAGE_DOS_HEADER)) return false;
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(headers);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew < 0 ||
      static_cast<DWORD>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > read) {
    return false;
  }
  const BYTE* nt = headers + dos->e_lfanew;
  if (*reinterpret_cast<const DWORD*>(nt) != IMAGE_NT_SIGNATURE) return false;
  const IMAGE_OPTIONAL_HEADER32* pe32 =
      &reinterpret_cast<const IMAGE_NT_HEADERS32*>(nt)->OptionalHeader;
  const IMAGE_OPTIONAL_HEADER64* pe64 =
      &reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt)->OptionalHeader;
  if (pe32->Magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    base = pe32->ImageBase;
    size = pe32->SizeOfImage;
  } else if (pe64->Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    base = pe64->ImageBase;
    size = pe64->SizeOfImage;
  } else {
    return false;
  }
  return true;
}

int Fail(const char* what) {
  fprintf(stderr, "lunet-probe: %s (error %lu)\n", what, GetLastError());
  return 1;
}

bool PrintNext(DebugListener& listener, bool handBack) {
  DWORD processId = 0;
  std::string text;
  bool got = handBack ? NextReport(listener, 10000, processId, text)
                      : listener.Take(10000, processId, text);
  if (got) printf("text %lu %s", processId, text.c_str());
  fflush(stdout);
  return got;
}

int StallDebugOutput(const char* eventName) {
  KernelHandle letGo(OpenEventA(SYNCHRONIZE, FALSE, eventName));
  if (!letGo.valid()) return Fail("cannot open the event");
  DebugListener listener;
  std::string error;
  if (!listener.Open(error)) return Fail(error.c_str());
  printf("listening\n");
  fflush(stdout);
  if (!PrintNext(listener, false)) return Fail("no text came");
  WaitForSingleObject(letGo.get(), 60000);
  listener.HandBack();
  return PrintNext(listener, true) ? 0 : Fail("no text came after the hand-back");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr,
            "usage: lunet-probe DLL [--reserve-base] [--menu] [--load DIR]\n"
            "       lunet-probe --code-pages\n");
    return 2;
  }
  if (strcmp(argv[1], "--code-pages") == 0) {
    printf("ansi %u oem %u\n", GetACP(), GetOEMCP());
    return 0;
  }
  if (strcmp(argv[1], "--stall-debug-output") == 0) {
    return argc == 3 ? StallDebugOutput(argv[2]) : Fail("--stall-debug-output needs an event");
  }
  const char* dll = argv[1];
  ULONGLONG base = 0;
  DWORD size = 0;
  if (!PreferredPlace(dll, base, size)) return Fail("cannot read the DLL's headers");
  for (int i = 2; i < argc; ++i) {
    if (strcmp(argv[i], "--reserve-base") == 0 &&
        !VirtualAlloc(reinterpret_cast<void*>(static_cast<UINT_PTR>(base)), size, MEM_RESERVE,
                      PAGE_NOACCESS)) {
      return Fail("cannot reserve the preferred base");
    }
  }
  PluginModule module;
  if (!module.Map(dll)) return Fail("cannot map the DLL");
  printf("preferred 0x%08llx loaded 0x%08llx\n", base,
         static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(module.handle())));
  if (!module.request || !module.load) return Fail("missing exports");
  for (int i = 2; i < argc; ++i) {
    if (strcmp(argv[i], "--menu") == 0) {
      printf("menu %ld\n", static_cast<long>(AskId(module.request, "OnMenuExec").length));
    } else if (strcmp(argv[i], "--load") == 0 && i + 1 < argc) {
      std::string directory = argv[++i];
      printf("load %d\n", CallLoad(module.load, directory));
    }
  }
  fflush(stdout);
  return 0;
}
