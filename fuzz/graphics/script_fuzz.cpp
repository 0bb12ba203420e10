// Fuzzes the script compiler and runtime. The first byte chooses what the rest is: a definition
// text to link, a script to compile and run against a fixed list of two languages (a small one of
// its own, first, and the technique language, which "!LANGUAGE: TechniqueShader" picks), or
// program bytes to run.
// Any input must give a clean result; whatever compiles must run, and must survive being written
// out and read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/script/script_api.h"
#include "graphics/technique.h"

namespace {

const char kDefinition[] =
    "!EXTERNAL: Fuzz\n"
    "!KEYWORDS: A B C D\n"
    "!DEFINITIONS: 4d\n"
    "ONE\tKEYWORD\n"
    "TWO\tKEYWORD\tVARIABLE\n"
    "THREE\tVARIABLE VARIABLE KEYWORD\n"
    "NONE\n"
    "!END\n";

// Reads every argument word and every variable it points at, as real procedures do.
void Consume(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t word;
  while (arguments->Read(&word, sizeof word) == sizeof word) {
    volatile uintptr_t keep = word;
    (void)keep;
  }
}
void ReadVariable(KV_ARRAY<unsigned char>* arguments) {
  uintptr_t word;
  arguments->Read(&word, sizeof word);
  if (arguments->Read(&word, sizeof word) == sizeof word) {
    volatile uintptr_t value = *reinterpret_cast<uintptr_t*>(word);
    (void)value;
  }
}

// The technique language's procedures; here they only read their arguments, since the real ones
// draw with the canvases and shaders of a running technique.
const char* const kTechniqueProcedures[] = {"EXECUTE", "CLEAR", "PASS",  "CANVAS", "RECT",
                                            "IMAGE",   "COLOR", "BLEND", "PARAM",  "ATTRIB"};

KV_DEFINITION_LIST* List() {
  static KV_DEFINITION_LIST* list = [] {
    const char* technique = KV_TECHNIQUE::definitionText;
    if (!KvVistrelLinkDefinition("Fuzz", kDefinition, sizeof kDefinition - 1) ||
        !KvVistrelLinkDefinition("TechniqueShader", technique, std::strlen(technique)))
      std::abort();
    KV_DEFINITION_LIST* built = KvVistrelBuildDefinitionList();
    KvVistrelUnlinkDefinitions();
    KvVistrelAddDefinitionProc("Fuzz", "ONE", Consume);
    KvVistrelAddDefinitionProc("Fuzz", "TWO", ReadVariable);
    KvVistrelAddDefinitionProc("Fuzz", "THREE", Consume);
    KvVistrelAddDefinitionProc("Fuzz", "NONE", Consume);
    for (const char* name : kTechniqueProcedures)
      KvVistrelAddDefinitionProc("TechniqueShader", name, Consume);
    return built;
  }();
  return list;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  KV_DEFINITION_LIST* list = List();
  const char* text = reinterpret_cast<const char*>(data + 1);
  uint32_t length = static_cast<uint32_t>(size - 1);
  uintptr_t args[3] = {1, 2, 3};
  KV_ARRAY<unsigned char> program;
  switch (data[0] % 3) {
    case 0:
      if (KvVistrelLinkDefinition("Fuzz", text, length)) {
        KV_DEFINITION_LIST* other = KvVistrelBuildDefinitionList();
        KvVistrelUnlinkDefinitions();
        KvVistrelFreeDefinitionList(other);
      }
      break;
    case 1:
      if (KvVistrelCompile(&program, text, length, list)) {
        if (program.IsEmpty() || KvVistrelExecute(&program, args, sizeof args, list) != 1)
          std::abort();
        KV_ARRAY<unsigned char> copy(program.count);
        std::memcpy(copy.data, program.data, program.count);
        if (KvVistrelExecute(&copy, nullptr, 0, list) != 1) std::abort();
      } else if (!program.IsEmpty()) {
        std::abort();
      }
      KvVistrelFree(&program);
      break;
    default:
      program.Resize(length);
      if (length > 0) std::memcpy(program.data, text, length);
      KvVistrelExecute(&program, args, sizeof args, list);
      break;
  }
  return 0;
}
