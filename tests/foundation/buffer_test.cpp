// KV_BUFFER: file loads with offsets, the grow step, writes in the middle, seeks, reads and strings.
#include "foundation/buffer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

std::string TempPath(const char* name) { return ProgramScratchFolder().File(name); }

void WriteBytes(const std::string& path, const void* bytes, size_t n) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  if (n > 0) fwrite(bytes, 1, n, file);
  fclose(file);
}

std::string ReadAll(const std::string& path) {
  std::string text;
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return "<missing>";
  char c;
  while (fread(&c, 1, 1, file) == 1) text += c;
  fclose(file);
  return text;
}

}  // namespace

TEST(Buffer, LoadsFromAnOffsetIntoABlockOfTheFileSize) {
  std::string path = TempPath("buffer_offset.bin");
  WriteBytes(path, "0123456789", 10);
  KV_BUFFER buffer;
  ASSERT_TRUE(buffer.LoadFromFile(path.c_str(), 4, 0));
  EXPECT_EQ(buffer.length, 6u);
  EXPECT_EQ(buffer.bytes.count, 10u);
  EXPECT_EQ(memcmp(buffer.GetData(), "456789", 6), 0);
  EXPECT_EQ(buffer.Tell(), 0u);

  ASSERT_TRUE(buffer.LoadFromFile(path.c_str(), 2, 3));
  EXPECT_EQ(buffer.length, 3u);
  EXPECT_EQ(memcmp(buffer.GetData(), "234", 3), 0);
}

TEST(Buffer, MissingFileLeavesTheBufferAlone) {
  KV_BUFFER buffer;
  buffer.WriteString("keep", false);
  EXPECT_FALSE(buffer.LoadFromFile(TempPath("no/such/file").c_str(), 0, 0));
  EXPECT_FALSE(buffer.LoadFromFile(nullptr, 0, 0));
  EXPECT_EQ(buffer.length, 4u);
  EXPECT_EQ(memcmp(buffer.GetData(), "keep", 4), 0);
  EXPECT_EQ(buffer.GetFileSize(TempPath("no/such/file").c_str()), 0u);
  EXPECT_EQ(buffer.GetFileSize(nullptr), 4u);
}

TEST(Buffer, WindowsStylePathsOpenWithSlashes) {
  std::string path = TempPath("buffer_slash.bin");
  // The whole path written with "\" as a data file of a Windows program would carry it.
  std::string windows = kvtest::WindowsPath(path);
  KV_BUFFER buffer;
  buffer.Write("abc", 3);
  ASSERT_TRUE(buffer.SaveToFile(windows.c_str(), 0, 0));
  ASSERT_TRUE(buffer.AppendToFile(windows.c_str()));
  EXPECT_EQ(buffer.GetFileSize(windows.c_str()), 6u);
  KV_BUFFER loaded;
  ASSERT_TRUE(loaded.LoadFromFile(windows.c_str(), 0, 0));
  EXPECT_EQ(loaded.length, 6u);
  // Written where the slashes say, not into a file named with the backslashes.
  EXPECT_EQ(loaded.GetFileSize(path.c_str()), 6u);
  EXPECT_FALSE(std::filesystem::exists(windows));
  std::remove(path.c_str());
}

TEST(Buffer, EmptyFileLoadsEmpty) {
  std::string path = TempPath("buffer_empty.bin");
  WriteBytes(path, "", 0);
  KV_BUFFER buffer;
  ASSERT_TRUE(buffer.LoadFromFile(path.c_str(), 0, 0));
  EXPECT_EQ(buffer.length, 0u);
  EXPECT_EQ(buffer.GetData(), nullptr);
  KV_STRING text("x");
  EXPECT_EQ(buffer.ReadString(text, true), 0u);
}

TEST(Buffer, GrowsExactlyOrByWholeSteps) {
  KV_BUFFER exact;
  EXPECT_EQ(exact.Write("12345", 5), 5u);
  EXPECT_EQ(exact.bytes.count, 5u);
  EXPECT_EQ(exact.length, 5u);

  KV_BUFFER stepped;
  stepped.growStep = 4;
  EXPECT_EQ(stepped.Write("12345", 5), 5u);
  EXPECT_EQ(stepped.bytes.count, 8u);
  EXPECT_EQ(stepped.length, 5u);
  EXPECT_EQ(stepped.Write("678", 3), 3u);
  EXPECT_EQ(stepped.bytes.count, 8u);
  EXPECT_EQ(stepped.Write("9", 1), 1u);
  EXPECT_EQ(stepped.bytes.count, 12u);
  EXPECT_EQ(memcmp(stepped.GetData(), "123456789", 9), 0);
}

TEST(Buffer, WritesOfItsOwnBytesSurviveTheNewBlock) {
  KV_BUFFER buffer;
  buffer.Write("abcdefghijklmnopqrstuvwxyz", 26);
  EXPECT_EQ(buffer.Write(buffer.GetData(), 20), 20u);
  ASSERT_EQ(buffer.length, 46u);
  EXPECT_EQ(memcmp(buffer.GetData() + 26, "abcdefghijklmnopqrst", 20), 0);

  KV_BUFFER stepped;
  stepped.growStep = 64;
  stepped.WriteString("hello", true);
  EXPECT_EQ(stepped.WriteString((const char*)stepped.GetData(), false), 5u);
  EXPECT_EQ(memcmp(stepped.GetData(), "hello\0hello", 11), 0);
}

TEST(Buffer, WriteInTheMiddleCutsTheLength) {
  KV_BUFFER buffer;
  buffer.Write("0123456789", 10);
  buffer.Seek(2, false, false);
  EXPECT_EQ(buffer.Write("abc", 3), 3u);
  EXPECT_EQ(buffer.length, 5u);
  EXPECT_EQ(buffer.Tell(), 5u);
  EXPECT_EQ(memcmp(buffer.GetData(), "01abc", 5), 0);
  // Without a step the block now ends at the write.
  EXPECT_EQ(buffer.bytes.count, 5u);
  EXPECT_EQ(buffer.Write(nullptr, 3), 0u);
  EXPECT_EQ(buffer.length, 5u);
}

TEST(Buffer, SeeksStayInsideTheStream) {
  KV_BUFFER buffer;
  buffer.growStep = 16;
  buffer.Write("0123456789", 10);
  buffer.Seek(3, false, true);
  EXPECT_EQ(buffer.Tell(), 7u);
  buffer.Seek(50, false, true);
  EXPECT_EQ(buffer.Tell(), 0u);
  buffer.Seek(4, true, false);
  buffer.Seek(2, true, false);
  EXPECT_EQ(buffer.Tell(), 6u);
  buffer.Seek(1, true, true);
  EXPECT_EQ(buffer.Tell(), 5u);
  buffer.Seek(100, true, true);
  EXPECT_EQ(buffer.Tell(), 0u);
  // Past the used length (inside the 16-byte block) the position stops at the length.
  buffer.Seek(12, false, false);
  EXPECT_EQ(buffer.Tell(), 10u);
  EXPECT_TRUE(buffer.Eof());
}

TEST(Buffer, ReadsStopAtTheLength) {
  KV_BUFFER buffer;
  buffer.growStep = 32;
  buffer.Write("abcdef", 6);
  buffer.Seek(4, false, false);
  char out[8] = {};
  EXPECT_EQ(buffer.Read(out, 8), 2u);
  EXPECT_STREQ(out, "ef");
  EXPECT_EQ(buffer.Read(out, 8), 0u);
  EXPECT_EQ(buffer.Read(nullptr, 1), 0u);
}

TEST(Buffer, ReadStringStepsOverTheTerminator) {
  KV_BUFFER buffer;
  buffer.Write("ab\0c", 4);
  buffer.Seek(0, false, false);
  KV_STRING text;
  EXPECT_EQ(buffer.ReadString(text, true), 3u);
  EXPECT_STREQ(text.c_str(), "ab");
  EXPECT_EQ(buffer.Tell(), 3u);
  // The last text has no terminator: the position stops at the length.
  EXPECT_EQ(buffer.ReadString(text, true), 2u);
  EXPECT_STREQ(text.c_str(), "c");
  EXPECT_EQ(buffer.Tell(), 4u);
  // At the end nothing more is read, so a reading loop ends.
  EXPECT_EQ(buffer.ReadString(text, true), 0u);
  EXPECT_STREQ(text.c_str(), "");

  buffer.Seek(0, false, false);
  EXPECT_EQ(buffer.ReadString(text, false), 2u);
  EXPECT_EQ(buffer.Tell(), 2u);
}

TEST(Buffer, SavesAppendsAndReportsEmptySaves) {
  std::string path = TempPath("buffer_save.bin");
  KV_BUFFER buffer;
  buffer.WriteString("hello", true);
  ASSERT_TRUE(buffer.SaveToFile(path.c_str(), 0, 0));
  EXPECT_EQ(ReadAll(path), std::string("hello\0", 6));
  ASSERT_TRUE(buffer.SaveToFile(path.c_str(), 0, 3));
  EXPECT_EQ(ReadAll(path), "hel");
  ASSERT_TRUE(buffer.AppendToFile(path.c_str()));
  EXPECT_EQ(ReadAll(path), std::string("helhello\0", 9));
  EXPECT_EQ(buffer.GetFileSize(path.c_str()), 9u);

  KV_BUFFER empty;
  EXPECT_FALSE(empty.SaveToFile(path.c_str(), 0, 0));
  EXPECT_EQ(ReadAll(path), "");
  EXPECT_FALSE(buffer.SaveToFile(TempPath("no/such/dir/x").c_str(), 0, 0));
  EXPECT_FALSE(buffer.AppendToFile(TempPath("no/such/dir/x").c_str()));
}

TEST(Buffer, ClearAndFillLength) {
  KV_BUFFER buffer;
  buffer.growStep = 8;
  buffer.Write("abc", 3);
  EXPECT_EQ(buffer.FillLength(), 8u);
  EXPECT_EQ(buffer.length, 8u);
  buffer.Clear();
  EXPECT_EQ(buffer.length, 0u);
  EXPECT_EQ(buffer.GetData(), nullptr);
  EXPECT_TRUE(buffer.Eof());
}
