// How each read of the mapped text reader stops, and what it leaves in FieldEnd and the counters.
#include "support/text_reader.h"

#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "harness/temp_dir.h"
#include "owned.h"

namespace {

class ReaderTest : public ::testing::Test {
 protected:
  // Opens the reader on a file holding data, with a comma as delimiter. A file the reader has
  // open cannot be rewritten on Windows: a second one in a test takes another name.
  void OpenOn(const std::string& data, const char* name = "data.txt") {
    path_ = dir_.Write(name, data);
    reader_.delimiter = ',';
    ASSERT_EQ(1, reader_.Open(path_.c_str(), 1));
  }
  // Reads a field and checks its text and how it ended.
  void ExpectField(const char* text, int end) {
    const char* field = reader_.ReadField(0);
    EXPECT_STREQ(text, field);
    EXPECT_EQ(end, reader_.FieldEnd) << "after field '" << field << "'";
  }
  TempDir dir_;
  std::string path_;
  MappedTextReader reader_;
};

TEST_F(ReaderTest, EmptyAndMissingFilesCannotBeOpened) {
  std::string empty = dir_.Write("empty.txt", "");
  EXPECT_EQ(0, reader_.Open(empty.c_str(), 1));
  EXPECT_EQ(nullptr, reader_.file);
  EXPECT_EQ(0, reader_.Open(dir_.File("missing.txt").c_str(), 1));
  EXPECT_EQ(0, reader_.OpenWide(nullptr, 1));
}

TEST_F(ReaderTest, DelimiterThenEndOfData) {
  OpenOn("a,b");
  ExpectField("a", FieldEndDelimiter);
  EXPECT_EQ(1, reader_.fieldIndex);
  ExpectField("b", FieldEndData);
  EXPECT_EQ(0, reader_.lineCount);
  EXPECT_EQ(1, reader_.fieldIndex);
  ExpectField("", FieldEndData);
  EXPECT_EQ(0, reader_.SkipLine());
}

TEST_F(ReaderTest, LineEnds) {
  OpenOn("a\r\nb\nc\rd\n\re\r");
  ExpectField("a", FieldEndLine);  // CR LF: one line end
  EXPECT_EQ(1, reader_.lineCount);
  ExpectField("b", FieldEndLine);
  ExpectField("c", FieldEndLine);  // lone CR
  ExpectField("d", FieldEndLine);  // LF CR: two line ends
  ExpectField("", FieldEndLine);
  EXPECT_EQ(5, reader_.lineCount);
  ExpectField("e", FieldEndData);  // CR as the last byte
  EXPECT_EQ(6, reader_.lineCount);
  EXPECT_EQ(0, reader_.fieldIndex);
}

TEST_F(ReaderTest, CrLeavesTheNextByteToBeRead) {
  OpenOn("a\rb");
  ExpectField("a", FieldEndLine);
  EXPECT_EQ(2, reader_.GetPosition());
  ExpectField("b", FieldEndData);
}

TEST_F(ReaderTest, DelimitersAtLineEdges) {
  OpenOn("a,\n,b\n");
  ExpectField("a", FieldEndDelimiter);
  ExpectField("", FieldEndLine);
  EXPECT_EQ(0, reader_.fieldIndex);
  ExpectField("", FieldEndDelimiter);
  ExpectField("b", FieldEndLine);
}

TEST_F(ReaderTest, IgnoringTheDelimiterReadsTheWholeLine) {
  OpenOn("one,two,three\nnext");
  EXPECT_STREQ("one,two,three", reader_.ReadField(1));
  EXPECT_EQ(FieldEndLine, reader_.FieldEnd);
  EXPECT_EQ(0, reader_.fieldIndex);
}

TEST_F(ReaderTest, SkipLineConsumesThroughTheLineEnd) {
  OpenOn("x,y,z\r\nnext");
  EXPECT_EQ(1, reader_.SkipLine());
  EXPECT_EQ(FieldEndLine, reader_.FieldEnd);
  ExpectField("next", FieldEndData);
  EXPECT_EQ(0, reader_.SkipLine());
  EXPECT_EQ(1, reader_.lineCount);
  // A CR that ends the data ends the line, and the data with it.
  OpenOn("skip\r", "final_cr.txt");
  EXPECT_EQ(1, reader_.SkipLine());
  EXPECT_EQ(FieldEndData, reader_.FieldEnd);
}

TEST_F(ReaderTest, NulInsideAFieldIsKeptAndConsumed) {
  OpenOn(std::string("ab\0cd,e", 7));
  const char* field = reader_.ReadField(0);
  EXPECT_EQ(std::string("ab\0cd", 5), std::string(field, 5));
  EXPECT_EQ(FieldEndDelimiter, reader_.FieldEnd);
  ExpectField("e", FieldEndData);
}

TEST_F(ReaderTest, LineBufferGrowsInSteps) {
  OpenOn(std::string(1024, 'x') + "\n" + std::string(3000, 'y'));
  EXPECT_EQ(1024u, strlen(reader_.ReadField(0)));
  EXPECT_EQ(2048u, reader_.lineCapacity);
  const char* line = reader_.ReadField(0);
  EXPECT_EQ(std::string(3000, 'y'), line);
  EXPECT_EQ(3072u, reader_.lineCapacity);
  reader_.CloseReader();
  EXPECT_EQ(nullptr, reader_.lineBuffer);
  EXPECT_EQ(0u, reader_.lineCapacity);
  EXPECT_EQ(1, reader_.lineCount);  // counters survive closing
}

TEST_F(ReaderTest, SeekClampsToTheData) {
  OpenOn("12345");
  reader_.Seek(10, 0);
  EXPECT_EQ(4, reader_.GetPosition());
  reader_.Seek(5, 0);
  EXPECT_EQ(5, reader_.GetPosition());
  reader_.Seek(-3, 0);
  EXPECT_EQ(0, reader_.GetPosition());
  reader_.Seek(-2, 2);
  EXPECT_EQ(3, reader_.GetPosition());
  reader_.Seek(1, 1);
  EXPECT_EQ(4, reader_.GetPosition());
  reader_.Seek(2, 9);  // unknown origins count from the start
  EXPECT_EQ(2, reader_.GetPosition());
  char buffer[8] = {};
  EXPECT_EQ(3u, reader_.Read(buffer, 8));
  EXPECT_STREQ("345", buffer);
  EXPECT_EQ(0, reader_.ReadByte());
  EXPECT_EQ(5, reader_.GetPosition());
}

TEST_F(ReaderTest, AClosedReaderReadsAndSeeksNothing) {
  EXPECT_STREQ("", reader_.ReadField(0));
  EXPECT_EQ(FieldEndData, reader_.FieldEnd);
  EXPECT_EQ(0, reader_.SkipLine());
  reader_.Seek(10, 0);
  reader_.Seek(3, 1);
  EXPECT_EQ(0, reader_.GetPosition());
}

TEST_F(ReaderTest, ReopeningAndWritingAndForeignStreams) {
  OpenOn("first");
  reader_.ReadField(0);
  std::string other = dir_.Write("other.txt", "22");
  ASSERT_EQ(1, reader_.Open(other.c_str(), 2));  // mode 2 still reads
  EXPECT_EQ(2, reader_.GetSize());
  EXPECT_EQ(0, reader_.GetPosition());
  EXPECT_EQ(0u, reader_.Write("x", 1));
  EXPECT_EQ(0u, reader_.WriteByte('x'));
  EXPECT_EQ("22", ReadFileBytes(other));

  FileStream* mine = NewFileStream();
  EXPECT_EQ(0, reader_.OpenWith(mine, other.c_str(), 1));
  reader_.Attach(mine);
  EXPECT_EQ(0, reader_.OpenWideWith(mine, nullptr, 1));
  EXPECT_EQ(nullptr, mine->handle);
  delete mine;  // still ours: the reader must not have taken it
}

TEST_F(ReaderTest, OpenFileIsSharedForReadingOnly) {
  OpenOn("abc");
  auto opens = [this](DWORD access) {
    FileHandle file(CreateFileA(path_.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, 0, NULL));
    return file.valid();
  };
  EXPECT_TRUE(opens(GENERIC_READ));
  EXPECT_FALSE(opens(GENERIC_WRITE));
  reader_.Close();
  EXPECT_TRUE(opens(GENERIC_WRITE));
}

}  // namespace
