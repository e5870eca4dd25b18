// The rule file writer against the ways a rule file is held on Windows: by a program loading
// the rules (read sharing, then a mapping), by a read-only attribute, by a folder that takes no
// new file. Whatever the outcome, the file holds the old bytes or the new ones, and no temporary
// file stays.
#include "rule_file_writer.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <thread>

#include "harness/temp_dir.h"
#include "owned.h"

using namespace rule_engine;

namespace {

const char kRules[] = "killwnd_custom.txt";

// Opened as the plug-in opens a rule file to load it.
HANDLE OpenAsLoader(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, NULL);
}

TEST(RuleFileWriter, KeepsEveryByteOfTheNewContent) {
  const struct {
    const char* name;
    const char* before;  // null: no file yet
    std::string after;
  } cases[] = {
      {"created", nullptr, "// mine\r\ntitle,Sale\r\n"},
      {"CR LF", "class,Ad\r\n", "class,Ad\r\ntitle,Sale\r\n"},
      {"LF", "// mine\ntitle,Sale", "// mine\ntitle,Sale\ntitle,Flash sale\n"},
      {"no final line end", "title,Sale\r\n", "title,Sale\r\ntitle,Last"},
      {"Shift_JIS", "title,\x8A\xFA\x8A\xD4\r\n",
       "title,\x8A\xFA\x8A\xD4\r\ntitle,\x83\x5C\x83\x74\r\n"},
      {"byte order mark", "\xEF\xBB\xBFtitle,Sale\r\n", "\xEF\xBB\xBFtitle,Sale\r\ntitle,Ad\r\n"},
      {"CR alone and NUL", "title,a\rtitle,b", std::string("title,a\rtitle,b\r\0x\r", 17)},
      {"emptied", "title,Sale\r\n", ""},
      {"shorter", "title,Sale\r\ntitle,Flash sale\r\n", "title,Sale\r\n"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (c.before) dir.Write(kRules, c.before);
    std::string path = dir.File(kRules);
    EXPECT_EQ(WriteOutcome::kWritten, WriteRuleFile(path, c.after)) << c.name;
    EXPECT_EQ(c.after, ReadFileBytes(path)) << c.name;
    EXPECT_FALSE(FileExists(TemporaryFileFor(path))) << c.name;
  }
}

TEST(RuleFileWriter, WritesEitherRuleFileAndLeavesTheOtherAlone) {
  TempDir dir;
  dir.Write("killwnd.txt", "class,Ad\r\n");
  dir.Write(kRules, "title,Sale\r\n");
  EXPECT_EQ(WriteOutcome::kWritten, WriteRuleFile(dir.File("killwnd.txt"), "class,Promo\r\n"));
  EXPECT_EQ("class,Promo\r\n", ReadFileBytes(dir.File("killwnd.txt")));
  EXPECT_EQ("title,Sale\r\n", ReadFileBytes(dir.File(kRules)));
}

// A program loading the rules keeps the file open, then mapped; a rename over it is refused the
// whole time, and the writer gives up after its retries with the old file whole.
TEST(RuleFileWriter, BusyWhileAProgramHoldsTheFile) {
  enum Hold { kOpen, kOpenAndMapped, kViewAlone };
  const struct {
    const char* name;
    Hold hold;
  } cases[] = {{"open to load", kOpen},
               {"open and mapped, as the loader reads", kOpenAndMapped},
               {"a view left after its handles closed", kViewAlone}};
  for (const auto& c : cases) {
    TempDir dir;
    std::string path = dir.Write(kRules, "title,Sale\r\n");
    FileHandle file(OpenAsLoader(path));
    ASSERT_TRUE(file.valid()) << c.name;
    KernelHandle mapping;
    const void* view = nullptr;
    if (c.hold != kOpen) {
      mapping.reset(CreateFileMappingA(file.get(), NULL, PAGE_READONLY, 0, 0, NULL));
      ASSERT_TRUE(mapping.valid()) << c.name;
      view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
      ASSERT_NE(nullptr, view) << c.name;
    }
    if (c.hold == kViewAlone) {
      mapping.reset();
      file.reset();
    }
    EXPECT_EQ(WriteOutcome::kBusy, WriteRuleFile(path, "title,Ad\r\n")) << c.name;
    if (view) UnmapViewOfFile(view);
    mapping.reset();
    file.reset();
    EXPECT_EQ("title,Sale\r\n", ReadFileBytes(path)) << c.name;
    EXPECT_FALSE(FileExists(TemporaryFileFor(path))) << c.name;
  }
}

TEST(RuleFileWriter, WaitsForAProgramThatLetsGoDuringTheRetries) {
  TempDir dir;
  std::string path = dir.Write(kRules, "title,Sale\r\n");
  HANDLE file = OpenAsLoader(path);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  std::thread reader([file] {
    Sleep(300);
    CloseHandle(file);
  });
  WriteOutcome outcome = WriteRuleFile(path, "title,Ad\r\n");
  reader.join();
  EXPECT_EQ(WriteOutcome::kWritten, outcome);
  EXPECT_EQ("title,Ad\r\n", ReadFileBytes(path));
  EXPECT_FALSE(FileExists(TemporaryFileFor(path)));
}

// Refusals come before anything is written. A folder that takes no new file is provoked by a
// folder in the temporary file's place: the system answers access denied as it does under
// Program Files, and it does so to root as well, where permission bits would not.
TEST(RuleFileWriter, RefusesWithoutWriting) {
  namespace fs = std::filesystem;
  enum Setup { kReadOnly, kNoTemporaryFile, kMissingFolder, kFolderInItsPlace };
  const struct {
    const char* name;
    Setup setup;
    WriteOutcome expected;
  } cases[] = {{"read-only", kReadOnly, WriteOutcome::kReadOnly},
               {"no file may be made beside it", kNoTemporaryFile, WriteOutcome::kProtected},
               {"its folder is gone", kMissingFolder, WriteOutcome::kFailed},
               {"a folder of its name", kFolderInItsPlace, WriteOutcome::kFailed}};
  for (const auto& c : cases) {
    TempDir dir;
    std::string path = c.setup == kMissingFolder ? dir.File("gone/") + kRules : dir.File(kRules);
    if (c.setup == kFolderInItsPlace) {
      fs::create_directory(path);
    } else if (c.setup != kMissingFolder) {
      dir.Write(kRules, "title,Sale\r\n");
    }
    if (c.setup == kReadOnly) {
      fs::permissions(path,
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
    if (c.setup == kNoTemporaryFile) fs::create_directory(TemporaryFileFor(path));
    EXPECT_EQ(c.expected, WriteRuleFile(path, "title,Ad\r\n")) << c.name;
    if (c.setup == kReadOnly || c.setup == kNoTemporaryFile) {
      EXPECT_EQ("title,Sale\r\n", ReadFileBytes(path)) << c.name;
    }
    if (c.setup == kReadOnly) fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    bool squatted = c.setup == kNoTemporaryFile;
    EXPECT_EQ(squatted, fs::is_directory(TemporaryFileFor(path))) << c.name;
    EXPECT_EQ(squatted, FileExists(TemporaryFileFor(path))) << c.name;
  }
}

TEST(VirtualStore, MirrorsOnlyTheFoldersWindowsRedirects) {
  const struct {
    const char* path;
    const char* localAppData;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\Host\\killwnd_custom.txt", "C:\\Users\\u\\AppData\\Local",
       "C:\\Users\\u\\AppData\\Local\\VirtualStore\\Program Files\\Host\\killwnd_custom.txt"},
      {"C:\\Program Files\\Host\\killwnd.txt", "C:\\Users\\u\\AppData\\Local\\",
       "C:\\Users\\u\\AppData\\Local\\VirtualStore\\Program Files\\Host\\killwnd.txt"},
      {"c:\\program files (x86)\\Host\\killwnd.txt", "D:\\Local",
       "D:\\Local\\VirtualStore\\program files (x86)\\Host\\killwnd.txt"},
      {"C:\\ProgramData\\Host\\killwnd.txt", "L",
       "L\\VirtualStore\\ProgramData\\Host\\killwnd.txt"},
      {"C:\\Windows\\killwnd.txt", "L", "L\\VirtualStore\\Windows\\killwnd.txt"},
      // A folder name whose second byte is the separator's (ソ in code page 932) is kept whole.
      {"C:\\Program Files\\\x83\x5C\x83\x74\\killwnd.txt", "L",
       "L\\VirtualStore\\Program Files\\\x83\x5C\x83\x74\\killwnd.txt"},
      {"C:\\Program Files Extra\\killwnd.txt", "L", ""},
      {"C:\\Games\\Program Files\\killwnd.txt", "L", ""},
      {"C:\\killwnd.txt", "L", ""},
      {"\\\\server\\Program Files\\killwnd.txt", "L", ""},
      {"Program Files\\Host\\killwnd.txt", "L", ""},
      {"C:Program Files\\killwnd.txt", "L", ""},
      {"C:\\Program Files\\Host\\killwnd.txt", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, VirtualStorePath(c.path, c.localAppData)) << c.path;
  }
}

}  // namespace
