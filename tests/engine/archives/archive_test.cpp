// The engine's archive files: what a saved archive holds, and archives that are cut short, forged
// or not archives at all, which must be refused whole without touching the caller's entries.
#include "engine/archives/archive_api.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/kv_engine.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

std::string TempPath(const char* name) { return ProgramScratchFolder().File(name); }

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::vector<unsigned char> bytes;
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  int c;
  while ((c = fgetc(file)) != EOF) bytes.push_back((unsigned char)c);
  fclose(file);
  return bytes;
}

void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* file = fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
}

// Saves the texts as entries "a", "b", "c", ... and returns the archive's bytes.
std::vector<unsigned char> SaveTexts(const std::string& path,
                                     const std::vector<std::string>& texts) {
  std::vector<KV_VIRTUAL_FILE_RECORD> records(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    char name[2] = {(char)('a' + i), 0};
    KvVirtualFileMakeFile(&records[i], name, texts[i].data(), (uint32_t)texts[i].size());
  }
  EXPECT_EQ(KvVirtualFileSave(path.c_str(), records.data(), (uint32_t)records.size(), 0), 1);
  return ReadAll(path);
}

// An entry array holding one marker entry, to see that a refused open leaves it alone.
void Mark(KV_ARRAY<KV_VIRTUAL_FILE_ENTRY>& entries) {
  entries.Resize(1);
  strcpy(entries.data[0].name, "marker");
}

}  // namespace

TEST(Archive, SavedArchiveListsOffsetsSizesAndNames) {
  std::string path = TempPath("layout.kva");
  std::vector<unsigned char> bytes = SaveTexts(path, {"one", "", "three!"});
  ASSERT_EQ(bytes.size(), 12u + 3 * 264 + 3 + 0 + 6);
  EXPECT_EQ(memcmp(bytes.data(), "KVA1", 4), 0);

  KV_ARRAY<KV_VIRTUAL_FILE_ENTRY> entries;
  ASSERT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 1);
  ASSERT_EQ(entries.count, 3u);
  EXPECT_EQ(entries.data[0].offset, 12u + 3 * 264);
  EXPECT_EQ(entries.data[1].size, 0u);
  EXPECT_EQ(entries.data[2].offset, 12u + 3 * 264 + 3);
  EXPECT_STREQ(entries.data[2].name, "c");

  KV_VIRTUAL_FILE_RECORD record;
  ASSERT_EQ(KvVirtualFileLoad(&record, path.c_str(), &entries.data[2]), 1);
  ASSERT_EQ(KvVirtualFileSize(&record), 6u);
  char out[7] = {};
  EXPECT_EQ(KvVirtualFileGetData(&record, out, 7), 0);  // more than the entry holds
  EXPECT_EQ(KvVirtualFileGetData(&record, out, 6), 1);
  EXPECT_STREQ(out, "three!");
  KvVirtualFileFree(&record);
  EXPECT_EQ(KvVirtualFileSize(&record), 0u);
  EXPECT_EQ(KvVirtualFileInfoClose(&entries), 1);
  EXPECT_EQ(entries.count, 0u);
}

TEST(Archive, PathsWrittenTheWindowsWayNameTheSameFile) {
  std::string path = TempPath("windows.kva");
  std::string windowsPath = kvtest::WindowsPath(path);
  KV_VIRTUAL_FILE_RECORD written;
  KvVirtualFileMakeFile(&written, "a", "abc", 3);
  ASSERT_EQ(KvVirtualFileSave(windowsPath.c_str(), &written, 1, 0), 1);
  EXPECT_EQ(ReadAll(path).size(), 12u + 264 + 3);
  KV_ARRAY<KV_VIRTUAL_FILE_ENTRY> entries;
  ASSERT_EQ(KvVirtualFileInfoOpen(windowsPath.c_str(), &entries), 1);
  ASSERT_EQ(entries.count, 1u);
  KV_VIRTUAL_FILE_RECORD record;
  ASSERT_EQ(KvVirtualFileLoad(&record, windowsPath.c_str(), &entries.data[0]), 1);
  EXPECT_EQ(KvVirtualFileSize(&record), 3u);
  KvVirtualFileFree(&record);
  KvVirtualFileInfoClose(&entries);
  std::remove(path.c_str());
}

TEST(Archive, EveryCutShortCopyIsRefused) {
  std::string path = TempPath("whole.kva");
  std::vector<unsigned char> bytes = SaveTexts(path, {"alpha", "beta", "gamma"});
  std::string cut = TempPath("cut.kva");
  for (size_t n = 0; n < bytes.size(); ++n) {
    WriteAll(cut, std::vector<unsigned char>(bytes.begin(), bytes.begin() + (long)n));
    KV_ARRAY<KV_VIRTUAL_FILE_ENTRY> entries;
    Mark(entries);
    ASSERT_EQ(KvVirtualFileInfoOpen(cut.c_str(), &entries), 0) << "cut at " << n;
    ASSERT_EQ(entries.count, 1u);
    EXPECT_STREQ(entries.data[0].name, "marker");
  }
}

TEST(Archive, ForgedDirectoriesAreRefused) {
  std::string path = TempPath("forged.kva");
  std::vector<unsigned char> bytes = SaveTexts(path, {"alpha", "beta"});
  KV_ARRAY<KV_VIRTUAL_FILE_ENTRY> entries;

  std::vector<unsigned char> version = bytes;
  version[4] = 2;
  WriteAll(path, version);
  EXPECT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 0);

  std::vector<unsigned char> huge = bytes;
  memset(&huge[8], 0xFF, 4);  // a count no file could hold
  WriteAll(path, huge);
  EXPECT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 0);

  std::vector<unsigned char> inside = bytes;
  memset(&inside[12], 0, 4);  // entry 0's bytes inside the header
  WriteAll(path, inside);
  EXPECT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 0);

  std::vector<unsigned char> beyond = bytes;
  beyond[12 + 4] = 0xF0;  // entry 0 larger than the file
  WriteAll(path, beyond);
  EXPECT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 0);
  EXPECT_EQ(entries.count, 0u);

  // A name without a terminator is cut to end inside its 256 bytes.
  std::vector<unsigned char> unterminated = bytes;
  memset(&unterminated[12 + 8], 'n', 256);
  WriteAll(path, unterminated);
  ASSERT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 1);
  EXPECT_EQ(strlen(entries.data[0].name), 255u);
}

TEST(Archive, LoadChecksTheCallersEntryAgainstTheFile) {
  std::string path = TempPath("entrycheck.kva");
  SaveTexts(path, {"alpha"});
  KV_VIRTUAL_FILE_ENTRY forged = {};
  forged.offset = 12 + 264;
  forged.size = 1000;
  KV_VIRTUAL_FILE_RECORD record;
  memset(&record, 0x55, sizeof record);
  EXPECT_EQ(KvVirtualFileLoad(&record, path.c_str(), &forged), 0);
  EXPECT_EQ(KvVirtualFileSize(&record), 0u);
  EXPECT_EQ(record.data, nullptr);
  EXPECT_EQ(KvVirtualFileLoad(&record, TempPath("absent.kva").c_str(), &forged), 0);
  EXPECT_EQ(KvVirtualFileLoad(&record, path.c_str(), nullptr), 0);
  EXPECT_EQ(KvVirtualFileLoad(nullptr, path.c_str(), &forged), 0);
  KvVirtualFileFree(&record);
  KvVirtualFileFree(nullptr);
}

TEST(Archive, LongNamesAreCutAndEmptyArchivesList) {
  std::string path = TempPath("names.kva");
  std::string longName(400, 'x');
  KV_VIRTUAL_FILE_RECORD record;
  KvVirtualFileMakeFile(&record, longName.c_str(), "z", 1);
  ASSERT_EQ(KvVirtualFileSave(path.c_str(), &record, 1, 0), 1);
  KV_ARRAY<KV_VIRTUAL_FILE_ENTRY> entries;
  ASSERT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 1);
  EXPECT_EQ(std::string(entries.data[0].name), longName.substr(0, 255));

  ASSERT_EQ(KvVirtualFileSave(path.c_str(), nullptr, 0, 0), 1);
  ASSERT_EQ(KvVirtualFileInfoOpen(path.c_str(), &entries), 1);
  EXPECT_EQ(entries.count, 0u);
}

TEST(Archive, FailedSavesLeaveNoFile) {
  KV_VIRTUAL_FILE_RECORD record;
  KvVirtualFileMakeFile(&record, "a", "data", 4);
  EXPECT_EQ(KvVirtualFileSave(TempPath("no/such/dir/a.kva").c_str(), &record, 1, 0), 0);
  EXPECT_EQ(KvVirtualFileSave(nullptr, &record, 1, 0), 0);
  EXPECT_EQ(KvVirtualFileSave(TempPath("null.kva").c_str(), nullptr, 2, 0), 0);

  // A file size limit makes the write fail half-way, as a full disk would.
  std::string path = TempPath("halfway.kva");
  std::vector<char> big(4096, 'b');
  KvVirtualFileMakeFile(&record, "big", big.data(), (uint32_t)big.size());
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  void (*oldHandler)(int) = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  uint8_t saved = KvVirtualFileSave(path.c_str(), &record, 1, 0);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(saved, 0);
  EXPECT_EQ(fopen(path.c_str(), "rb"), nullptr);
}
