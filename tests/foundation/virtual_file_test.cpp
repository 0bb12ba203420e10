// KV_VIRTUAL_FILE_INFO on the engine's archives: saving named buffers, listing, finding and
// loading entries back, the engine calls a load makes, and archives that cannot be read.
#include "foundation/virtual_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/testing.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

std::string TempPath(const char* name) { return ProgramScratchFolder().File(name); }

// Three buffers "0", "1", "2" of different sizes, the middle one with zero bytes inside.
struct ThreeFiles {
  KV_BUFFER buffers[3];
  KV_VIRTUAL_FILE_DATA files[3];
  ThreeFiles() {
    buffers[0].WriteString("first entry", false);
    const unsigned char binary[] = {0, 1, 2, 0, 255, 254};
    buffers[1].Write(binary, sizeof binary);
    for (int i = 0; i < 1000; ++i) buffers[2].Write(&i, sizeof i);
    for (int i = 0; i < 3; ++i) {
      files[i].name.Format("%u", i);
      files[i].buffer = &buffers[i];
    }
  }
};

class VirtualFile : public ::testing::Test {
 protected:
  void TearDown() override {
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearTrace();
    kv::engine::testing::ClearFailures();
  }
};

}  // namespace

TEST_F(VirtualFile, ThreeSavedEntriesLoadBackByteForByte) {
  std::string path = TempPath("three.kva");
  ThreeFiles three;
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(path.c_str(), three.files, 3));

  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open(path.c_str()));
  EXPECT_STREQ(info.path.c_str(), path.c_str());
  ASSERT_EQ(info.GetCount(), 3u);
  for (unsigned int i = 0; i < 3; ++i) {
    EXPECT_STREQ(info.GetEntryName(i), three.files[i].name.c_str());
    EXPECT_EQ(info.GetEntrySize(i), three.buffers[i].length);
    KV_BUFFER loaded;
    ASSERT_TRUE(info.LoadEntry(&loaded, i));
    ASSERT_EQ(loaded.length, three.buffers[i].length);
    EXPECT_EQ(memcmp(loaded.GetData(), three.buffers[i].GetData(), loaded.length), 0);
    EXPECT_EQ(loaded.Tell(), 0u);
  }
  EXPECT_EQ(info.GetEntryName(3), nullptr);
  EXPECT_EQ(info.GetEntrySize(3), 0u);
  EXPECT_EQ(info.Close(), 1);
  EXPECT_EQ(info.GetCount(), 0u);
  EXPECT_STREQ(info.path.c_str(), "");
}

TEST_F(VirtualFile, ArchivesNamedTheWindowsWaySaveOpenAndLoad) {
  std::string path = TempPath("windows.kva");
  std::string windows = kvtest::WindowsPath(path);
  ThreeFiles three;
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(windows.c_str(), three.files, 3));
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open(windows.c_str()));
  ASSERT_EQ(info.GetCount(), 3u);
  KV_BUFFER loaded;
  ASSERT_TRUE(info.LoadEntry(&loaded, 2));
  EXPECT_EQ(loaded.length, three.buffers[2].length);
  info.Close();
  EXPECT_EQ(std::remove(path.c_str()), 0);  // saved where the slashes say
}

TEST_F(VirtualFile, FindGivesTheFirstMatchAndLeavesIndexAloneOtherwise) {
  std::string path = TempPath("find.kva");
  ThreeFiles three;
  three.files[2].name = "1";
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(path.c_str(), three.files, 3));
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open(path.c_str()));
  unsigned int index = 77;
  EXPECT_TRUE(info.Find("1", index));
  EXPECT_EQ(index, 1u);
  index = 77;
  EXPECT_FALSE(info.Find("9", index));
  EXPECT_FALSE(info.Find(nullptr, index));
  EXPECT_EQ(index, 77u);
}

TEST_F(VirtualFile, LoadEntryCallsTheEngineInOrder) {
  std::string path = TempPath("trace.kva");
  ThreeFiles three;
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(path.c_str(), three.files, 3));
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open(path.c_str()));
  KV_BUFFER loaded;
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(info.LoadEntry(&loaded, 1));
  const std::vector<std::string>& calls = kv::engine::testing::TracedCalls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], "KvVirtualFileLoad(ptr, \"" + path + "\", ptr)");
  EXPECT_EQ(calls[1], "KvVirtualFileSize(ptr)");
  EXPECT_EQ(calls[2], "KvVirtualFileGetData(ptr, ptr, 6)");
  EXPECT_EQ(calls[3], "KvVirtualFileFree(ptr)");
}

TEST_F(VirtualFile, FailedCopyStillFreesAndKeepsTheBuffer) {
  std::string path = TempPath("fail.kva");
  ThreeFiles three;
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(path.c_str(), three.files, 3));
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open(path.c_str()));
  KV_BUFFER loaded;
  loaded.WriteString("old", false);
  kv::engine::testing::StartTrace();
  kv::engine::testing::FailNext("KvVirtualFileGetData");
  EXPECT_FALSE(info.LoadEntry(&loaded, 0));
  EXPECT_EQ(kv::engine::testing::TracedCalls().back(), "KvVirtualFileFree(ptr)");
  EXPECT_EQ(loaded.length, 3u);
  EXPECT_EQ(memcmp(loaded.GetData(), "old", 3), 0);
}

TEST_F(VirtualFile, LoadEntryRefusesWithoutAnOpenArchive) {
  KV_VIRTUAL_FILE_INFO info;
  KV_BUFFER buffer;
  EXPECT_FALSE(info.LoadEntry(&buffer, 0));
  std::string path = TempPath("refuse.kva");
  ThreeFiles three;
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(path.c_str(), three.files, 3));
  ASSERT_TRUE(info.Open(path.c_str()));
  EXPECT_FALSE(info.LoadEntry(nullptr, 0));
  EXPECT_FALSE(info.LoadEntry(&buffer, 3));
  // The archive was replaced by something shorter after it was listed.
  FILE* file = fopen(path.c_str(), "wb");
  fputs("KVA1", file);
  fclose(file);
  EXPECT_FALSE(info.LoadEntry(&buffer, 2));
  EXPECT_EQ(buffer.length, 0u);
}

TEST_F(VirtualFile, UnreadableArchivesOpenNothing) {
  std::string garbage = TempPath("garbage.kva");
  FILE* file = fopen(garbage.c_str(), "wb");
  fputs("this is not an archive at all, just text", file);
  fclose(file);

  KV_VIRTUAL_FILE_INFO info;
  EXPECT_FALSE(info.Open(TempPath("missing.kva").c_str()));
  EXPECT_FALSE(info.Open(garbage.c_str()));
  EXPECT_FALSE(info.Open(nullptr));
  EXPECT_EQ(info.GetCount(), 0u);
  EXPECT_STREQ(info.path.c_str(), "");
}

TEST_F(VirtualFile, SaveReportsWhatTheEngineDid) {
  ThreeFiles three;
  EXPECT_FALSE(KV_VIRTUAL_FILE_INFO::Save(TempPath("none.kva").c_str(), nullptr, 3));
  EXPECT_FALSE(KV_VIRTUAL_FILE_INFO::Save(TempPath("none.kva").c_str(), three.files, 0));
  EXPECT_FALSE(KV_VIRTUAL_FILE_INFO::Save(TempPath("no/such/dir/a.kva").c_str(), three.files, 3));

  // A file without a buffer becomes an empty entry.
  std::string path = TempPath("nobuffer.kva");
  three.files[1].buffer = nullptr;
  kv::engine::testing::StartTrace();
  ASSERT_TRUE(KV_VIRTUAL_FILE_INFO::Save(path.c_str(), three.files, 3));
  EXPECT_EQ(kv::engine::testing::TracedCalls()[1], "KvVirtualFileMakeFile(ptr, \"1\", 0, 0)");
  EXPECT_EQ(kv::engine::testing::TracedCalls().back(),
            "KvVirtualFileSave(\"" + path + "\", ptr, 3, 0)");
  KV_VIRTUAL_FILE_INFO info;
  ASSERT_TRUE(info.Open(path.c_str()));
  EXPECT_EQ(info.GetEntrySize(1), 0u);
  KV_BUFFER loaded;
  EXPECT_TRUE(info.LoadEntry(&loaded, 1));
  EXPECT_EQ(loaded.length, 0u);
}
