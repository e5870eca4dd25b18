// FileStream over real files, and StreamFilter's forwarding and hooks.
#include "support/stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness/temp_dir.h"
#include "owned.h"

namespace {

class FileStreamTest : public ::testing::Test {
 protected:
  FileStream* NewStream() {
    FileStream* stream = NewFileStream();
    streams_.push_back(stream);
    return stream;
  }
  void TearDown() override {
    for (FileStream* stream : streams_) delete stream;
  }
  TempDir dir_;
  std::vector<FileStream*> streams_;
};

// Whether another reader that shares reading gets the file now.
bool OpensForReading(const std::string& path) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
  return file.valid();
}

TEST_F(FileStreamTest, FailedOpenKeepsState) {
  std::string path = dir_.Write("data", "hello");
  FileStream* s = NewStream();
  ASSERT_EQ(1, s->Open(path.c_str(), 1));
  s->ReadByte();
  EXPECT_EQ(0, s->Open(nullptr, 1));
  EXPECT_EQ(1, s->GetPosition());
  EXPECT_EQ(0, s->Open(dir_.File("missing").c_str(), 1));
  EXPECT_EQ(nullptr, s->handle);
  EXPECT_EQ(5, s->GetSize());
  EXPECT_EQ(1, s->GetPosition());
  EXPECT_EQ(1, s->mode);
}

TEST_F(FileStreamTest, ReadsBytesAndStopsAtTheEnd) {
  std::string path = dir_.Write("data", "abc");
  FileStream* s = NewStream();
  ASSERT_EQ(1, s->Open(path.c_str(), 1));
  EXPECT_EQ(3, s->GetSize());
  EXPECT_EQ('a', s->ReadByte());
  char buffer[8] = {};
  EXPECT_EQ(2u, s->Read(buffer, sizeof buffer));
  EXPECT_STREQ("bc", buffer);
  EXPECT_EQ(3, s->GetPosition());
  EXPECT_EQ(0, s->ReadByte());
  EXPECT_EQ(3, s->GetPosition());
  EXPECT_EQ(0u, s->Read(buffer, 4));
  EXPECT_EQ(0u, s->Write("x", 1));  // opened for reading only
}

TEST_F(FileStreamTest, SeekOrigins) {
  std::string path = dir_.Write("data", "0123456789");
  FileStream* s = NewStream();
  ASSERT_EQ(1, s->Open(path.c_str(), 1));
  EXPECT_EQ(1, s->Seek(4, 0));
  EXPECT_EQ(4, s->GetPosition());
  EXPECT_EQ(1, s->Seek(2, 1));
  EXPECT_EQ(6, s->GetPosition());
  EXPECT_EQ(1, s->Seek(-1, 7));  // unknown origins move from the current position
  EXPECT_EQ(5, s->GetPosition());
  EXPECT_EQ(1, s->Seek(-3, 2));
  EXPECT_EQ(7, s->GetPosition());
  EXPECT_EQ('7', s->ReadByte());
  EXPECT_EQ(0, s->Seek(-20, 0));
  EXPECT_EQ(8, s->GetPosition());
}

TEST_F(FileStreamTest, WritingKeepsTheSizeCapturedAtOpen) {
  std::string path = dir_.File("out");
  FileStream* s = NewStream();
  ASSERT_EQ(1, s->Open(path.c_str(), 2));
  EXPECT_EQ(10u, s->Write("0123456789", 10));
  EXPECT_EQ(1u, s->WriteByte('!'));
  EXPECT_EQ(0, s->GetSize());
  EXPECT_EQ(11, s->GetPosition());
  s->Close();
  EXPECT_EQ("0123456789!", ReadFileBytes(path));
  ASSERT_EQ(1, s->Open(path.c_str(), 2));  // mode 2 truncates
  s->Close();
  EXPECT_EQ("", ReadFileBytes(path));
}

TEST_F(FileStreamTest, CloseTwiceAndOperationsWhenClosed) {
  std::string path = dir_.Write("data", "abc");
  FileStream* s = NewStream();
  ASSERT_EQ(1, s->Open(path.c_str(), 3));
  s->Close();
  s->Close();
  EXPECT_EQ(0, s->GetSize());
  EXPECT_EQ(0, s->GetPosition());
  EXPECT_EQ(3, s->mode);
  char byte;
  EXPECT_EQ(0u, s->Read(&byte, 1));
  EXPECT_EQ(0u, s->WriteByte('x'));
  EXPECT_EQ(0, s->Seek(1, 0));
}

TEST_F(FileStreamTest, ModeOneSharesReadingOthersAreExclusive) {
  std::string path = dir_.Write("data", "abc");
  FileStream* reader = NewStream();
  ASSERT_EQ(1, reader->Open(path.c_str(), 1));
  ASSERT_TRUE(OpensForReading(path));
  FileStream* other = NewStream();
  EXPECT_EQ(1, other->Open(path.c_str(), 1));
  EXPECT_EQ(0, NewStream()->Open(path.c_str(), 3));
  reader->Close();
  other->Close();

  FileStream* writer = NewStream();
  ASSERT_EQ(1, writer->Open(path.c_str(), 2));
  EXPECT_FALSE(OpensForReading(path));
  EXPECT_EQ(0, NewStream()->Open(path.c_str(), 1));
  writer->Close();

  FileStream* both = NewStream();
  ASSERT_EQ(1, both->Open(path.c_str(), 3));
  EXPECT_FALSE(OpensForReading(path));
  both->Close();
  EXPECT_TRUE(OpensForReading(path));
}

TEST_F(FileStreamTest, ReopeningReleasesTheOldHandle) {
  std::string first = dir_.Write("first", "1");
  std::string second = dir_.Write("second", "22");
  FileStream* s = NewStream();
  ASSERT_EQ(1, s->Open(first.c_str(), 3));
  ASSERT_EQ(1, s->Open(second.c_str(), 1));
  EXPECT_EQ(2, s->GetSize());
  EXPECT_TRUE(OpensForReading(first));
}

TEST_F(FileStreamTest, OpenWideConvertsTheName) {
  std::string path = dir_.Write("wide.txt", "xyz");
  std::vector<WCHAR> name(path.begin(), path.end());
  name.push_back(0);
  FileStream* s = NewStream();
  EXPECT_EQ(0, s->OpenWide(nullptr, 1));
  ASSERT_EQ(1, s->OpenWide(name.data(), 1));
  EXPECT_EQ(3, s->GetSize());
}

// Records what passes through the filter's hooks, and upper-cases what is read.
class RecordingFilter : public StreamFilter {
 public:
  void OnRead(void* buffer, uint32_t count) override {
    reads.push_back(count);
    char* bytes = static_cast<char*>(buffer);
    for (uint32_t i = 0; i < count; ++i) {
      if (bytes[i] >= 'a' && bytes[i] <= 'z') bytes[i] -= 32;
    }
  }
  void OnWrite(const void*, uint32_t count) override { writes.push_back(count); }
  std::vector<uint32_t> reads;
  std::vector<uint32_t> writes;
};

// A stream that tells when it is destroyed.
class TrackedStream : public FileStream {
 public:
  explicit TrackedStream(bool* destroyed) : destroyed_(destroyed) {}
  ~TrackedStream() override { *destroyed_ = true; }

 private:
  bool* destroyed_;
};

TEST(StreamFilter, HooksSeeEveryTransferEvenAtTheEnd) {
  TempDir dir;
  std::string path = dir.Write("data", "ab");
  RecordingFilter filter;
  ASSERT_EQ(1, filter.Open(path.c_str(), 1));
  EXPECT_EQ(2, filter.GetSize());
  EXPECT_EQ('A', filter.ReadByte());
  char buffer[4] = {};
  EXPECT_EQ(1u, filter.Read(buffer, 3));
  EXPECT_STREQ("B", buffer);
  EXPECT_EQ(0u, filter.Read(buffer, 3));
  EXPECT_EQ(0, filter.ReadByte());
  EXPECT_EQ((std::vector<uint32_t>{1, 1, 0, 1}), filter.reads);
  EXPECT_EQ(2, filter.GetPosition());
  filter.Close();

  ASSERT_EQ(1, filter.Open(dir.File("out").c_str(), 2));
  EXPECT_EQ(3u, filter.Write("xyz", 3));
  EXPECT_EQ(1u, filter.WriteByte('!'));
  EXPECT_EQ(1, filter.Seek(0, 0));
  filter.Close();
  EXPECT_EQ((std::vector<uint32_t>{3, 1}), filter.writes);
  EXPECT_EQ("xyz!", ReadFileBytes(dir.File("out")));
}

TEST(StreamFilter, WithoutInnerStreamEverythingAnswersZero) {
  RecordingFilter filter;
  filter.Attach(nullptr);
  char byte = 'q';
  EXPECT_EQ(0, filter.Open("anything", 1));
  EXPECT_EQ(0u, filter.Read(&byte, 1));
  EXPECT_EQ(0, filter.ReadByte());
  EXPECT_EQ(0u, filter.Write(&byte, 1));
  EXPECT_EQ(0u, filter.WriteByte('x'));
  EXPECT_EQ(0, filter.Seek(0, 0));
  EXPECT_EQ(0, filter.GetSize());
  EXPECT_EQ(0, filter.GetPosition());
  filter.Close();
  EXPECT_TRUE(filter.reads.empty());
  EXPECT_TRUE(filter.writes.empty());
  EXPECT_EQ(0, filter.OpenWith(nullptr, "anything", 1));
}

TEST(StreamFilter, OpenWithAndAttachTakeOwnership) {
  TempDir dir;
  std::string path = dir.Write("data", "abc");
  bool firstGone = false, secondGone = false;
  {
    RecordingFilter filter;
    EXPECT_EQ(1, filter.OpenWith(new TrackedStream(&firstGone), path.c_str(), 1));
    EXPECT_EQ(3, filter.GetSize());
    filter.Attach(new TrackedStream(&secondGone));
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    EXPECT_EQ(0, filter.GetSize());
  }
  EXPECT_TRUE(secondGone);
}

}  // namespace
