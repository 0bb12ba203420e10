// The registry file shared by programs that run at once, each program a forked process: what
// concurrent writers put in all survives and each of them sees it, a program that read the file
// early sees what another wrote later and does not erase it when it writes last, a key handle
// of a key another program deleted brings nothing back, and a damaged file that appears while
// a program runs is set aside.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/winapi/registry.h"
#include "platform/services_fixture.h"

namespace {

// A meeting point of the parent and its children: Arrive returns once every process holding
// the meeting has arrived (or ended). It is a pipe whose write end each process closes on
// arrival; the read end reports its end only when no process holds the write end any more.
class Meeting {
 public:
  Meeting() {
    if (pipe(ends_) != 0) ends_[0] = ends_[1] = -1;
  }
  ~Meeting() {
    for (int end : ends_)
      if (end >= 0) close(end);
  }
  void Arrive() {
    close(ends_[1]);
    ends_[1] = -1;
    char byte;
    while (read(ends_[0], &byte, 1) > 0) {}
  }

 private:
  int ends_[2];
};

// Forks count children running body(index). A child reports only through its exit status
// (0: all well) and ends with _exit, so no test framework code runs in it.
std::vector<pid_t> Fork(int count, const std::function<int(int)>& body) {
  std::vector<pid_t> children;
  for (int i = 0; i < count; ++i) {
    pid_t child = fork();
    if (child == 0) _exit(body(i));
    if (child > 0) children.push_back(child);
  }
  return children;
}

// The exit status of every child, in order; -1 for a child that did not end normally.
std::vector<int> Results(const std::vector<pid_t>& children) {
  std::vector<int> results;
  for (pid_t child : children) {
    int status = 0;
    bool ended = waitpid(child, &status, 0) == child && WIFEXITED(status);
    results.push_back(ended ? WEXITSTATUS(status) : -1);
  }
  return results;
}

int RunChild(const std::function<int()>& body) {
  std::vector<int> results = Results(Fork(1, [&](int) { return body(); }));
  return results.empty() ? -1 : results[0];
}

const int kPrograms = 8;
const int kValuesEach = 25;

class RegistryStoreTest : public ServicesTest {
 protected:
  static HKEY Create(const char* path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
  }
  static LSTATUS Open(const char* path) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key);
  }
  static LSTATUS SetText(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text.c_str(), text.size() + 1);
  }
  static std::string QueryText(HKEY key, const char* name) {
    char buffer[256] = {};
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name, nullptr, nullptr, (BYTE*)buffer, &size) != ERROR_SUCCESS)
      return "<missing>";
    return buffer;
  }
  // Re-reads the store from its file, as the next run of the program would.
  static void Reopen() { platform::testing::SetRegistryFile(platform::testing::RegistryFile()); }

  static std::string ValueName(int program, int value) {
    return "p" + std::to_string(program) + "v" + std::to_string(value);
  }
  // How many of the values every program wrote the key holds, each with its own text.
  static int ValuesOfAllPrograms(HKEY key) {
    int found = 0;
    for (int program = 0; program < kPrograms; ++program) {
      for (int value = 0; value < kValuesEach; ++value) {
        std::string name = ValueName(program, value);
        if (QueryText(key, name.c_str()) == name) ++found;
      }
    }
    return found;
  }
};

}  // namespace

TEST_F(RegistryStoreTest, ValuesThatProgramsWriteAtOnceAllSurvive) {
  // Every program has read the file before any of them writes.
  HKEY key = Create("Software\\Shared");
  ASSERT_NE(key, nullptr);
  Meeting start, written;
  std::vector<pid_t> children = Fork(kPrograms, [&](int program) {
    start.Arrive();
    for (int value = 0; value < kValuesEach; ++value) {
      std::string name = ValueName(program, value);
      if (SetText(key, name.c_str(), name) != ERROR_SUCCESS) return 1;
    }
    written.Arrive();
    return ValuesOfAllPrograms(key) == kPrograms * kValuesEach ? 0 : 2;
  });
  ASSERT_EQ(children.size(), size_t(kPrograms));
  start.Arrive();
  written.Arrive();
  EXPECT_EQ(Results(children), std::vector<int>(kPrograms, 0)) << "1: a write failed, 2: a "
                                                                  "program missed values";
  EXPECT_EQ(ValuesOfAllPrograms(key), kPrograms * kValuesEach);
  Reopen();
  EXPECT_EQ(ValuesOfAllPrograms(key), kPrograms * kValuesEach);
}

TEST_F(RegistryStoreTest, AProgramSeesAndKeepsWhatAnotherWroteAfterItRead) {
  HKEY key = Create("Software\\Shared");
  ASSERT_EQ(SetText(key, "mine", "1"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, "doomed", "x"), ERROR_SUCCESS);
  ASSERT_EQ(QueryText(key, "theirs"), "<missing>");
  ASSERT_EQ(RunChild([&] {
              bool ok = SetText(key, "theirs", "2") == ERROR_SUCCESS &&
                        RegDeleteValueA(key, "doomed") == ERROR_SUCCESS &&
                        Create("Software\\Theirs") != nullptr;
              return ok ? 0 : 1;
            }),
            0);
  EXPECT_EQ(QueryText(key, "theirs"), "2");
  EXPECT_EQ(QueryText(key, "doomed"), "<missing>");
  EXPECT_EQ(Open("Software\\Theirs"), ERROR_SUCCESS);

  // Written last, this program's change keeps the other's value, key and deletion.
  ASSERT_EQ(SetText(key, "last", "3"), ERROR_SUCCESS);
  Reopen();
  EXPECT_EQ(QueryText(key, "mine"), "1");
  EXPECT_EQ(QueryText(key, "theirs"), "2");
  EXPECT_EQ(QueryText(key, "last"), "3");
  EXPECT_EQ(QueryText(key, "doomed"), "<missing>");
  EXPECT_EQ(Open("Software\\Theirs"), ERROR_SUCCESS);
}

TEST_F(RegistryStoreTest, KeyChangesFollowTheKeysAsOtherProgramsLeftThem) {
  HKEY doomed = Create("Software\\Doomed");
  HKEY leaf = Create("Software\\Tree\\Leaf");
  ASSERT_NE(doomed, nullptr);
  ASSERT_NE(leaf, nullptr);
  ASSERT_EQ(RunChild([] {
              bool ok = RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Doomed") == ERROR_SUCCESS &&
                        Create("Software\\Tree\\Leaf\\Sub") != nullptr;
              return ok ? 0 : 1;
            }),
            0);
  // The handle of the key the other program deleted reaches nothing and brings nothing back.
  EXPECT_EQ(SetText(doomed, "v", "1"), ERROR_FILE_NOT_FOUND);
  HKEY sub = nullptr;
  EXPECT_EQ(RegCreateKeyExA(doomed, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(sub, nullptr);
  EXPECT_EQ(Open("Software\\Doomed"), ERROR_FILE_NOT_FOUND);
  // The leaf has a subkey now, so it is no leaf any more.
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree\\Leaf"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Open("Software\\Tree\\Leaf\\Sub"), ERROR_SUCCESS);
  // A key the other program made is opened, not made again.
  DWORD disposition = 0;
  EXPECT_EQ(
      RegCreateKeyExA(leaf, "Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, &disposition),
      ERROR_SUCCESS);
  EXPECT_EQ(disposition, (DWORD)REG_OPENED_EXISTING_KEY);
}

TEST_F(RegistryStoreTest, ADamagedFileThatAppearsWhileRunningIsSetAside) {
  HKEY key = Create("Software\\Kept");
  ASSERT_EQ(SetText(key, "v", "1"), ERROR_SUCCESS);
  // Another program's file, damaged, put in place as the store replaces its file.
  std::string path = platform::testing::RegistryFile();
  const std::string damaged = "kelvo-core registry 1\nvalue x\n";
  WriteText(path + ".other", damaged);
  ASSERT_EQ(std::rename((path + ".other").c_str(), path.c_str()), 0);

  EXPECT_EQ(QueryText(key, "v"), "<missing>");
  EXPECT_EQ(ReadText(path + ".damaged"), damaged);
  EXPECT_EQ(Open("Software\\Kept"), ERROR_FILE_NOT_FOUND);
  // The registry works on from empty, and nothing of the old contents comes back.
  ASSERT_NE(Create("Software\\Fresh"), nullptr);
  Reopen();
  EXPECT_EQ(Open("Software\\Fresh"), ERROR_SUCCESS);
  EXPECT_EQ(Open("Software\\Kept"), ERROR_FILE_NOT_FOUND);
}
