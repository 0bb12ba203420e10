// The script compiler and runtime on a small test language: linking definition texts, compiling
// scripts, binding argument words to variables, running procedures in order, and refusing bad
// definitions, bad scripts and damaged program bytes without running anything.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/kv_engine.h"
#include "engine/testing.h"
#include "platform/windows_path.h"
#include "scratch_folder.h"

namespace {

const char kProbeDefinition[] =
    "!EXTERNAL: Probe\n"
    "!KEYWORDS: OFF ON LEFT RIGHT\n"
    "!DEFINITIONS: 3d\n"
    "SWITCH\tKEYWORD\n"
    "MOVE\tKEYWORD VARIABLE\tVARIABLE\n"
    "TOUCH\tVARIABLE\n"
    "!END\n";

struct Seen {
  std::string procedure;
  std::vector<uintptr_t> words;
  std::vector<uintptr_t> values;  // of the variable arguments, read during the call
};
std::vector<Seen> seen;

// Records the statement's argument words as the procedure reads them, with the array's Read.
// Words from firstVariable on are variable addresses.
template <int kWords, int kFirstVariable>
void Record(const char* name, KV_ARRAY<unsigned char>* arguments) {
  Seen entry{name, {}, {}};
  for (int i = 0; i < kWords; ++i) {
    uintptr_t word = 0;
    EXPECT_EQ(arguments->Read(&word, sizeof word), sizeof word);
    entry.words.push_back(word);
    if (i >= kFirstVariable) entry.values.push_back(*reinterpret_cast<uintptr_t*>(word));
  }
  EXPECT_EQ(arguments->Read(&entry, 1), 0u);  // nothing more in the block
  seen.push_back(entry);
}
void ProcSwitch(KV_ARRAY<unsigned char>* a) { Record<1, 1>("SWITCH", a); }
void ProcMove(KV_ARRAY<unsigned char>* a) { Record<3, 1>("MOVE", a); }
// TOUCH adds one to the variable it is given, so a later statement sees the change.
void ProcTouch(KV_ARRAY<unsigned char>* a) {
  Record<1, 0>("TOUCH", a);
  ++*reinterpret_cast<uintptr_t*>(seen.back().words[0]);
}

class Script : public ::testing::Test {
 protected:
  KV_DEFINITION_LIST* list = nullptr;
  KV_ARRAY<unsigned char> program;

  void SetUp() override {
    seen.clear();
    KvVistrelUnlinkDefinitions();
    ASSERT_EQ(KvVistrelLinkDefinition("Probe", kProbeDefinition, sizeof kProbeDefinition - 1), 1);
    list = KvVistrelBuildDefinitionList();
    ASSERT_NE(list, nullptr);
    KvVistrelUnlinkDefinitions();
    KvVistrelClearDefinitionsProc();
    KvVistrelAddDefinitionProc("Probe", "SWITCH", ProcSwitch);
    KvVistrelAddDefinitionProc("Probe", "MOVE", ProcMove);
    KvVistrelAddDefinitionProc("Probe", "TOUCH", ProcTouch);
  }

  void TearDown() override {
    KvVistrelFree(&program);
    KvVistrelFreeDefinitionList(list);
    KvVistrelClearDefinitionsProc();
    kv::engine::testing::StopTrace();
    kv::engine::testing::ClearTrace();
  }

  uint8_t Compile(const std::string& text) {
    return KvVistrelCompile(&program, text.data(), (uint32_t)text.size(), list);
  }
  uint8_t Run(std::vector<uintptr_t> args = {}) {
    return KvVistrelExecute(&program, args.empty() ? nullptr : args.data(),
                            (uint32_t)(args.size() * sizeof(uintptr_t)), list);
  }
};

TEST_F(Script, RunsStatementsInOrderWithKeywordNumbersAndVariableAddresses) {
  ASSERT_EQ(Compile("!VARIABLES: a b\n"
                    "# a comment line\n"
                    "SWITCH ON\n"
                    "MOVE\tRIGHT  a b   # trailing comment\r\n"
                    "\n"
                    "TOUCH b\n"
                    "MOVE LEFT b a\n"),
            1);
  ASSERT_FALSE(program.IsEmpty());
  ASSERT_EQ(Run({111, 222}), 1);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].procedure, "SWITCH");
  EXPECT_EQ(seen[0].words, std::vector<uintptr_t>{1});
  EXPECT_EQ(seen[1].procedure, "MOVE");
  EXPECT_EQ(seen[1].words[0], 3u);
  EXPECT_EQ(seen[2].procedure, "TOUCH");
  EXPECT_EQ(seen[3].procedure, "MOVE");
  EXPECT_EQ(seen[3].words[0], 2u);
  // One variable per name for the whole run: every statement sees the same addresses.
  EXPECT_EQ(seen[1].words[1], seen[3].words[2]);
  EXPECT_EQ(seen[1].words[2], seen[2].words[0]);
  EXPECT_EQ(seen[3].words[1], seen[2].words[0]);
  EXPECT_NE(seen[1].words[1], seen[1].words[2]);
  EXPECT_EQ(seen[1].values, (std::vector<uintptr_t>{111, 222}));
  // TOUCH changed b: the next statement reads the new value.
  EXPECT_EQ(seen[3].values, (std::vector<uintptr_t>{223, 111}));
  // Variables are pointer-sized, so whole pointers survive the trip.
  uintptr_t pointer = reinterpret_cast<uintptr_t>(&seen);
  seen.clear();
  ASSERT_EQ(Run({pointer, 7}), 1);
  EXPECT_EQ(seen[1].values[0], pointer);
}

TEST_F(Script, VariablesWithoutArgumentWordsAreZeroAndExtraWordsAreIgnored) {
  ASSERT_EQ(Compile("!VARIABLES: a\n!VARIABLES: b c\nTOUCH a\nTOUCH b\nTOUCH c\n"), 1);
  ASSERT_EQ(KvVistrelExecute(&program, nullptr, 0, list), 1);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].values[0], 0u);
  EXPECT_EQ(seen[2].values[0], 0u);
  seen.clear();
  // One word binds a; a partial word counts for nothing; b and c stay 0.
  uintptr_t words[3] = {5, 6, 7};
  ASSERT_EQ(KvVistrelExecute(&program, words, sizeof(uintptr_t) + 3, list), 1);
  EXPECT_EQ(seen[0].values[0], 5u);
  EXPECT_EQ(seen[1].values[0], 0u);
  seen.clear();
  ASSERT_EQ(Run({1, 2, 3, 4, 5}), 1);
  EXPECT_EQ(seen[2].values[0], 3u);
}

TEST_F(Script, AnEmptyScriptCompilesAndRunsNothing) {
  ASSERT_EQ(Compile("# nothing\n\n"), 1);
  EXPECT_EQ(Run({1, 2, 3}), 1);
  EXPECT_TRUE(seen.empty());
}

TEST_F(Script, BadScriptsAreCompileErrorsThatLeaveTheProgramEmpty) {
  const char* bad[] = {
      "JUMP ON\n",                      // no such procedure
      "SWITCH\n",                       // too few arguments
      "SWITCH ON OFF\n",                // too many
      "SWITCH MAYBE\n",                 // not a keyword
      "SWITCH on\n",                    // keywords are case-sensitive
      "TOUCH a\n",                      // variable not declared
      "TOUCH a\n!VARIABLES: a\n",       // declared too late
      "!VARIABLES: a\nSWITCH a\n",      // a variable where a keyword belongs
      "!VARIABLES: a\nMOVE ON a ON\n",  // a keyword where a variable belongs
      "!VARIABLES: a a\n",              // declared twice
      "!VARIABLES: ON\n",               // named like a keyword
      "!VARIABLES: 9lives\n",           // not a name
      "!LANGUAGE: Other\n",             // not in the list
      "SWITCH ON\n!LANGUAGE: Probe\n",  // after a statement
      "!INCLUDE: x\n",                  // unknown directive
      "SWITCH\x01ON\n",                 // control character
  };
  for (const char* text : bad) {
    ASSERT_EQ(Compile("SWITCH OFF\n"), 1);
    EXPECT_EQ(Compile(text), 0) << text;
    EXPECT_TRUE(program.IsEmpty()) << text;
    EXPECT_EQ(program.data, nullptr);
  }
  EXPECT_EQ(KvVistrelCompile(&program, nullptr, 0, list), 0);
  EXPECT_EQ(KvVistrelCompile(nullptr, "SWITCH ON", 9, list), 0);
}

TEST_F(Script, TheLanguageCanBeNamedAndTheLengthLimitsTheText) {
  EXPECT_EQ(Compile("!LANGUAGE: Probe\nSWITCH OFF\n"), 1);
  // Only the given length is read: the rest of the buffer is not part of the script.
  const char text[] = "SWITCH ONjunk";
  ASSERT_EQ(KvVistrelCompile(&program, text, 9, list), 1);
  ASSERT_EQ(Run(), 1);
  EXPECT_EQ(seen[0].words[0], 1u);
}

TEST_F(Script, ProgramsAreRelocatableIntoBlocksTheFrameworkAllocates) {
  ASSERT_EQ(Compile("!VARIABLES: v\nSWITCH RIGHT\nTOUCH v\n"), 1);
  KV_ARRAY<unsigned char> copy(program.count);
  std::memcpy(copy.data, program.data, program.count);
  KvVistrelFree(&program);
  EXPECT_TRUE(program.IsEmpty());
  EXPECT_EQ(program.cursor, nullptr);
  ASSERT_EQ(KvVistrelExecute(&copy, nullptr, 0, list), 1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].words[0], 3u);
}

TEST_F(Script, CompilesToFilesThatLoadAndRun) {
  ScratchFolder scratch;
  std::string source = scratch.File("script_source.txt");
  std::string compiled = scratch.File("script_compiled.bin");
  std::string text = "SWITCH LEFT\n";
  ASSERT_EQ(KvVistrelCompileToFile(text.data(), (uint32_t)text.size(), compiled.c_str(), list), 1);
  FILE* file = std::fopen(compiled.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  unsigned char bytes[256];
  size_t size = std::fread(bytes, 1, sizeof bytes, file);
  std::fclose(file);
  KV_ARRAY<unsigned char> loaded((unsigned int)size);
  std::memcpy(loaded.data, bytes, size);
  ASSERT_EQ(KvVistrelExecute(&loaded, nullptr, 0, list), 1);
  EXPECT_EQ(seen.at(0).words[0], 2u);

  file = std::fopen(source.c_str(), "wb");
  std::fputs("!VARIABLES: x\nTOUCH x\n", file);
  std::fclose(file);
  ASSERT_EQ(KvVistrelCompileFile(&program, source.c_str(), list), 1);
  ASSERT_EQ(KvVistrelCompileFileToFile(source.c_str(), compiled.c_str(), list), 1);
  // Both paths may be written the Windows way.
  std::string windowsSource = kvtest::WindowsPath(source);
  std::string windowsCompiled = kvtest::WindowsPath(compiled + "2");
  ASSERT_EQ(KvVistrelCompileFile(&program, windowsSource.c_str(), list), 1);
  ASSERT_EQ(KvVistrelCompileFileToFile(windowsSource.c_str(), windowsCompiled.c_str(), list), 1);
  EXPECT_EQ(std::remove((compiled + "2").c_str()), 0);
  ASSERT_EQ(
      KvVistrelCompileToFile(text.data(), (uint32_t)text.size(), windowsCompiled.c_str(), list), 1);
  EXPECT_EQ(std::remove((compiled + "2").c_str()), 0);
  EXPECT_EQ(KvVistrelCompileFile(&program, "/nonexistent/script.txt", list), 0);
  EXPECT_EQ(KvVistrelCompileFileToFile(source.c_str(), "/nonexistent/dir/out.bin", list), 0);
  EXPECT_EQ(KvVistrelCompileToFile("JUMP\n", 5, compiled.c_str(), list), 0);
}

TEST_F(Script, DamagedProgramBytesRunNothing) {
  ASSERT_EQ(Compile("!VARIABLES: a b\nSWITCH ON\nMOVE LEFT a b\n"), 1);
  std::vector<unsigned char> good(program.data, program.data + program.count);
  // Every shorter block, and every block with one byte changed, is refused or runs a whole,
  // valid program; none crashes or reads past the block.
  for (size_t length = 0; length < good.size(); ++length) {
    KV_ARRAY<unsigned char> cut((unsigned int)length);
    if (length > 0) std::memcpy(cut.data, good.data(), length);
    EXPECT_EQ(KvVistrelExecute(&cut, nullptr, 0, list), 0) << length;
  }
  for (size_t at = 0; at < good.size(); ++at) {
    for (unsigned flip : {0x01u, 0x80u, 0xFFu}) {
      KV_ARRAY<unsigned char> changed((unsigned int)good.size());
      std::memcpy(changed.data, good.data(), good.size());
      changed.data[at] ^= (unsigned char)flip;
      seen.clear();
      if (KvVistrelExecute(&changed, nullptr, 0, list) == 0) {
        EXPECT_TRUE(seen.empty()) << at;
      }
    }
  }
  EXPECT_TRUE(seen.size() <= 2);
  EXPECT_EQ(KvVistrelExecute(nullptr, nullptr, 0, list), 0);
}

TEST_F(Script, StatementsWithoutARegisteredProcedureStopTheWholeRun) {
  ASSERT_EQ(Compile("!VARIABLES: v\nSWITCH ON\nTOUCH v\n"), 1);
  KvVistrelClearDefinitionsProc();
  KvVistrelAddDefinitionProc("Probe", "SWITCH", ProcSwitch);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(seen.empty());
  // Procedures are found when the program runs, not when it was compiled.
  KvVistrelAddDefinitionProc("Probe", "TOUCH", ProcTouch);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(seen.size(), 2u);
  EXPECT_EQ(KvVistrelAddDefinitionProc("Probe", "TOUCH", nullptr), 0);
}

TEST_F(Script, ListsOutliveUnlinkingAndFreedListsAreEmpty) {
  ASSERT_EQ(Compile("SWITCH ON\n"), 1);
  KvVistrelFreeDefinitionList(list);
  KV_DEFINITION_LIST* stale = list;
  list = nullptr;
  // A freed list is never read again: compiling and running against it fail cleanly.
  EXPECT_EQ(KvVistrelExecute(&program, nullptr, 0, stale), 0);
  EXPECT_EQ(KvVistrelCompile(&program, "SWITCH ON", 9, stale), 0);
  KvVistrelFreeDefinitionList(stale);
  KvVistrelFreeDefinitionList(nullptr);
  EXPECT_EQ(KvVistrelBuildDefinitionList(), nullptr);  // nothing is linked any more
}

TEST_F(Script, ProgramsRunOnlyAgainstTheDefinitionsTheyWereCompiledFor) {
  ASSERT_EQ(Compile("!VARIABLES: a b\nMOVE RIGHT a b\n"), 1);
  // The same language linked again with MOVE taking other kinds: the old program is refused.
  const char changed[] =
      "!EXTERNAL: Probe\n!KEYWORDS: OFF ON\n!DEFINITIONS: 2\nSWITCH KEYWORD\nMOVE KEYWORD KEYWORD "
      "KEYWORD\n!END\n";
  ASSERT_EQ(KvVistrelLinkDefinition("Probe", changed, sizeof changed - 1), 1);
  KV_DEFINITION_LIST* other = KvVistrelBuildDefinitionList();
  KvVistrelUnlinkDefinitions();
  EXPECT_EQ(KvVistrelExecute(&program, nullptr, 0, other), 0);
  // RIGHT (3) is beyond the new keyword list.
  ASSERT_EQ(KvVistrelCompile(&program, "SWITCH ON\n", 10, list), 1);
  EXPECT_EQ(KvVistrelExecute(&program, nullptr, 0, other), 1);
  KvVistrelFreeDefinitionList(other);
  EXPECT_TRUE(seen.size() == 1);
}

TEST(ScriptDefinition, MalformedDefinitionsDoNotLink) {
  const std::string good = kProbeDefinition;
  auto links = [](const std::string& name, const std::string& text) {
    return KvVistrelLinkDefinition(name.c_str(), text.data(), (uint32_t)text.size());
  };
  EXPECT_EQ(links("Probe", good), 1);
  EXPECT_EQ(links("Other", good), 0);  // the text names another language
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  EXPECT_EQ(links("Probe", replaced("3d", "4d")), 0);
  EXPECT_EQ(links("Probe", replaced("3d", "x3")), 0);
  EXPECT_EQ(links("Probe", replaced("!END\n", "")), 0);
  EXPECT_EQ(links("Probe", replaced("!END\n", "!END\nMORE\n")), 0);
  EXPECT_EQ(links("Probe", replaced("KEYWORD VARIABLE", "KEYWORD NUMBER")), 0);
  EXPECT_EQ(links("Probe", replaced("LEFT", "ON")), 0);     // duplicate keyword
  EXPECT_EQ(links("Probe", replaced("TOUCH", "MOVE")), 0);  // duplicate procedure
  EXPECT_EQ(links("Probe", replaced("!KEYWORDS:", "!WORDS:")), 0);
  EXPECT_EQ(links("Probe", good.substr(0, 40)), 0);
  EXPECT_EQ(KvVistrelLinkDefinition("Probe", nullptr, 0), 0);
  // Blank lines and CR LF endings are accepted.
  EXPECT_EQ(links("Probe", replaced("!END\n", "\r\n!END\r\n\n")), 1);
  KvVistrelUnlinkDefinitions();
}

TEST(ScriptDefinition, CallsAreTracedAndCanBeForcedToFail) {
  namespace t = kv::engine::testing;
  t::StartTrace();
  KvVistrelLinkDefinition("Probe", kProbeDefinition, sizeof kProbeDefinition - 1);
  t::StopTrace();
  ASSERT_EQ(t::TracedCalls().size(), 1u);
  EXPECT_EQ(t::TracedCalls()[0], "KvVistrelLinkDefinition(\"Probe\", ptr, " +
                                     std::to_string(sizeof kProbeDefinition - 1) + ")");
  t::ClearTrace();
  t::FailNext("KvVistrelBuildDefinitionList");
  EXPECT_EQ(KvVistrelBuildDefinitionList(), nullptr);
  KV_DEFINITION_LIST* list = KvVistrelBuildDefinitionList();
  EXPECT_NE(list, nullptr);
  KvVistrelFreeDefinitionList(list);
  KvVistrelUnlinkDefinitions();
}

}  // namespace
