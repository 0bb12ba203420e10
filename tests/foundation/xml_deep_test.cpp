// KV_XML on documents far deeper than any file the framework writes: a million comments,
// each read as an element that stays open, parse into a million levels. Reading, walking,
// saving and destroying such a document must neither recurse per level (the call stack would
// overflow) nor build a text it then refuses (its tabs alone would be about 10^12 bytes).
// Each of these tests runs in a forked child under a memory budget of a few hundred MB, so a
// writer that builds first or a walk that recurses kills the child and fails the test, not
// the machine. The budget is an address-space limit (RLIMIT_AS); under a sanitizer, which
// reserves terabytes of address space for its shadow, it is the sanitizer's own count of the
// bytes the child holds, kept by its allocation hooks, which also give Save's peak.
#include "foundation/xml.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KV_SHADOW_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer) || __has_feature(hwaddress_sanitizer)
#define KV_SHADOW_SANITIZER 1
#endif
#endif

#if KV_SHADOW_SANITIZER
// The sanitizer runtime's allocator interface (not every compiler ships its header).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
int __sanitizer_get_ownership(const volatile void* p);
size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#endif

namespace {

typedef KV_XML::NODE NODE;

const uint64_t kMaxText = 0xFFFFFFFFu;  // the longest text an array holds
const size_t kMillion = 1000000;
const size_t kBudget = size_t(512) << 20;  // what a child may hold beyond what it had at fork

// ---------------------------------------------------------------- the child's budget

// The child's report: failures go to the parent through a pipe, one line each.
int reportFd = -1;
bool failed = false;

void Fail(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
  if (n < 0) return;
  if ((size_t)n > sizeof line - 2) n = (int)sizeof line - 2;
  line[n++] = '\n';
  if (write(reportFd, line, (size_t)n) < 0) _exit(3);
  failed = true;
}

#define CHILD_CHECK(condition)                                           \
  do {                                                                   \
    if (!(condition)) Fail("%s:%d: %s", __FILE__, __LINE__, #condition); \
  } while (0)

#if KV_SHADOW_SANITIZER
// Bytes the child allocated and still holds since the hooks went in, and the most it held.
int64_t held = 0;
int64_t peak = 0;

void OnMalloc(const volatile void*, size_t size) {
  held += (int64_t)size;
  if (held > peak) peak = held;
  if (held > (int64_t)kBudget) {
    static const char message[] = "the child went over its memory budget\n";
    if (write(reportFd, message, sizeof message - 1) < 0) _exit(3);
    _exit(2);
  }
}

void OnFree(const volatile void* p) {
  if (p != nullptr && __sanitizer_get_ownership(p))
    held -= (int64_t)__sanitizer_get_allocated_size(p);
}

void StartBudget() { __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree); }

// Save's peak: what it held at most beyond what was held before it.
struct PEAK {
  int64_t before = held;
  PEAK() { peak = held; }
  int64_t Bytes() const { return peak - before; }
};
const bool kMeasuresPeak = true;
#else
// The address space the child has mapped, in bytes.
size_t MappedBytes() {
  FILE* f = fopen("/proc/self/statm", "r");
  unsigned long pages = 0;
  if (f != nullptr) {
    if (fscanf(f, "%lu", &pages) != 1) pages = 0;
    fclose(f);
  }
  return (size_t)pages * (size_t)sysconf(_SC_PAGESIZE);
}

void StartBudget() {
  struct rlimit limit;
  limit.rlim_cur = limit.rlim_max = MappedBytes() + kBudget;
  if (setrlimit(RLIMIT_AS, &limit) != 0) Fail("setrlimit(RLIMIT_AS) failed");
}

struct PEAK {
  int64_t Bytes() const { return 0; }
};
const bool kMeasuresPeak = false;
#endif

// Runs body in a forked child under the budget and turns what the child reports, or how it
// ended, into failures of the calling test.
void RunInChild(void (*body)()) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  fflush(nullptr);
  pid_t pid = fork();
  ASSERT_NE(pid, -1);
  if (pid == 0) {
    close(fds[0]);
    reportFd = fds[1];
    StartBudget();
    // Nothing may leave the child but its report and its exit: an exception that reached
    // gtest would be taken as the child's own test failing and the child would go on with
    // the rest of the suite. _exit: nothing of the parent's (gtest's state, buffered
    // output, static destructors) runs again here.
    try {
      body();
    } catch (const std::exception& e) {
      Fail("an exception left the child: %s", e.what());
      _exit(4);
    } catch (...) {
      Fail("an exception left the child");
      _exit(4);
    }
    _exit(failed ? 1 : 0);
  }
  close(fds[1]);
  std::string report;
  char buffer[512];
  for (;;) {
    ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    report.append(buffer, (size_t)n);
  }
  close(fds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  if (WIFSIGNALED(status)) {
    int signal = WTERMSIG(status);
    ADD_FAILURE() << "the child died of signal " << signal << " (" << strsignal(signal)
                  << (signal == SIGSEGV   ? ": a stack overflow, or memory refused"
                      : signal == SIGABRT ? ": an abort, such as an uncaught std::bad_alloc"
                                          : "")
                  << ")\n"
                  << report;
    return;
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_TRUE(WEXITSTATUS(status) == 0 && report.empty())
      << "the child exited with " << WEXITSTATUS(status) << "\n"
      << report;
}

// ---------------------------------------------------------------- documents

// n comments, each an open element "!--" with the attributes "c" and "--".
std::string Comments(size_t n) {
  std::string text;
  text.reserve(n * 10);
  for (size_t i = 0; i < n; ++i) text += "<!-- c -->";
  return text;
}

bool Parse(KV_XML& xml, const std::string& text) {
  return xml.Parse(text.data(), (unsigned int)text.size(), " \t\n\r", true);
}

// The number of levels below node, following first children (no recursion), and the deepest.
size_t Depth(const NODE& node, const NODE** deepest) {
  size_t depth = 0;
  const NODE* at = &node;
  while (at->Count() != 0) {
    at = at->Begin().Get();
    ++depth;
  }
  *deepest = at;
  return depth;
}

bool IsComment(const NODE& node) {
  const KV_XML_NODE& v = node.value;
  return strcmp(v.name.text, "!--") == 0 && v.attributes.Count() == 2 &&
         strcmp(v.attributes.first->value.name.text, "c") == 0 &&
         strcmp(v.attributes.last->value.name.text, "--") == 0 && node.Count() <= 1;
}

// An array holding "abc", and a check that it still holds exactly that block.
struct ARRAY_BEFORE {
  KV_ARRAY<unsigned char> out{3};
  unsigned char* data;
  ARRAY_BEFORE() {
    memcpy(out.data, "abc", 3);
    out.cursor = out.data + 1;
    data = out.data;
  }
  bool Unchanged() const {
    return out.data == data && out.Size() == 3 && memcmp(out.data, "abc", 3) == 0 &&
           out.cursor == out.data + 1;
  }
};

// A chain of levels elements "n" with one text of textLength bytes innermost: its text is
// levels^2 + 11 levels + textLength + 2 bytes (an element at depth k writes 2k + 11 bytes,
// the text depth + textLength + 2).
void Chain(KV_XML& xml, size_t levels, size_t textLength) {
  std::string text;
  for (size_t i = 0; i < levels; ++i) text += "<n>";
  text.append(textLength, 'x');
  Parse(xml, text);
}

// The chain whose text is exactly length bytes long.
void ChainOfLength(KV_XML& xml, uint64_t length) {
  uint64_t levels = 0;
  while ((levels + 1) * (levels + 1) + 11 * (levels + 1) + 2 + 1 <= length) ++levels;
  Chain(xml, (size_t)levels, (size_t)(length - (levels * levels + 11 * levels + 2)));
}

// ---------------------------------------------------------------- the children's bodies

// A text too long for the array is refused without being built: Save holds no more than its
// walk (one frame per level it has gone down, never the text), and the array stays as it was.
void RefusedUnbuilt(const KV_XML& xml) {
  CHILD_CHECK(xml.SaveLength() > kMaxText);
  ARRAY_BEFORE array;
  PEAK peak;
  CHILD_CHECK(!xml.Save(array.out));
  if (kMeasuresPeak && peak.Bytes() > (int64_t(16) << 20))
    Fail("Save held %lld bytes at its peak", (long long)peak.Bytes());
  CHILD_CHECK(array.Unchanged());
}

// A million levels: read, walked to the bottom, looked up by a path of a million segments,
// refused by Save without building the text (and without touching the tree or the array),
// emptied and destroyed, all without recursion.
void MillionLevels() {
  KV_XML* xml = new KV_XML;
  {
    std::string text = Comments(kMillion);
    CHILD_CHECK(text.size() == 10 * kMillion);
    CHILD_CHECK(Parse(*xml, text));
  }
  const NODE* deepest = nullptr;
  CHILD_CHECK(xml->Count() == 1);
  CHILD_CHECK(Depth(*xml, &deepest) == kMillion);
  CHILD_CHECK(IsComment(*deepest));

  std::string path;
  path.reserve(4 * kMillion);
  for (size_t i = 1; i < kMillion; ++i) path += "!--/";
  path += "!--";
  CHILD_CHECK(xml->Find(path.c_str(), 2, nullptr).Get() == deepest);

  RefusedUnbuilt(*xml);
  const NODE* after = nullptr;
  CHILD_CHECK(Depth(*xml, &after) == kMillion);
  CHILD_CHECK(after == deepest && IsComment(*after));

  // Emptied and refilled, then destroyed full.
  xml->Clear();
  CHILD_CHECK(xml->Count() == 0);
  CHILD_CHECK(Parse(*xml, Comments(kMillion)));
  CHILD_CHECK(Depth(*xml, &deepest) == kMillion);
  delete xml;
}

// The smaller case: 100,000 levels, a text of about 10^10 bytes, once built whole
// before it was refused.
void HundredThousandLevels() {
  KV_XML xml;
  CHILD_CHECK(Parse(xml, Comments(kMillion / 10)));
  RefusedUnbuilt(xml);
}

// At the array's limit: a text of 2^32 bytes is one too many and refused unbuilt; one of
// 2^32 - 1 bytes is counted exactly, and where it cannot be had (under the address-space
// limit) Save gives false rather than aborting, the array left as it was.
void TheLimitExactly() {
  {
    KV_XML xml;
    ChainOfLength(xml, kMaxText + 1);
    RefusedUnbuilt(xml);
  }
  KV_XML xml;
  ChainOfLength(xml, kMaxText);
  CHILD_CHECK(xml.SaveLength() == kMaxText);
  if (!kMeasuresPeak) {
    // 4 GB is far past the budget: the block is refused, not a crash.
    ARRAY_BEFORE array;
    CHILD_CHECK(!xml.Save(array.out));
    CHILD_CHECK(array.Unchanged());
  }
}

}  // namespace

TEST(XmlDeep, AMillionCommentsReadWalkRefuseToSaveAndGoWithoutRecursion) {
  RunInChild(MillionLevels);
}

TEST(XmlDeep, AHundredThousandLevelsAreRefusedWithoutBuildingTheText) {
  RunInChild(HundredThousandLevels);
}

TEST(XmlDeep, TheArrayLimitIsCountedExactly) { RunInChild(TheLimitExactly); }

// The counting chain itself, at a size that is written: its formula, its count and its text.
TEST(XmlDeep, ChainLengthsAreWhatTheCountSays) {
  for (uint64_t length : {uint64_t(13), uint64_t(14), uint64_t(100), uint64_t(54321)}) {
    KV_XML xml;
    ChainOfLength(xml, length);
    EXPECT_EQ(xml.SaveLength(), length);
    KV_ARRAY<unsigned char> out;
    ASSERT_TRUE(xml.Save(out));
    EXPECT_EQ(out.Size(), length);
  }
}

// Texts that fit: the empty document is refused, one of empty texts only is an empty text.
TEST(XmlDeep, EmptyTextsGiveAnEmptyArray) {
  KV_XML xml;
  EXPECT_EQ(xml.SaveLength(), 0u);
  ARRAY_BEFORE array;
  EXPECT_FALSE(xml.Save(array.out));
  EXPECT_TRUE(array.Unchanged());
  xml.Add(KV_XML_NODE());
  xml.Add(KV_XML_NODE());
  EXPECT_EQ(xml.SaveLength(), 0u);
  EXPECT_TRUE(xml.Save(array.out));
  EXPECT_EQ(array.out.Size(), 0u);
  EXPECT_EQ(array.out.data, nullptr);
}
