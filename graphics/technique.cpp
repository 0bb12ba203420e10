// KV_TECHNIQUE: the language definition, registration, compiling, loading, running and freeing.
#include "graphics/technique.h"

#include <cstring>

#include "foundation/buffer.h"

const char KV_TECHNIQUE::definitionText[] =
    "!EXTERNAL: TechniqueShader\n"
    "!KEYWORDS: FALSE TRUE COLOR DEPTH STENCIL ACCUM ENABLE DISABLE MODEL SCENE ZERO ONE SRC_COLOR "
    "ONE_MINUS_SRC_COLOR DST_COLOR ONE_MINUS_DST_COLOR SRC_ALPHA ONE_MINUS_SRC_ALPHA DST_ALPHA "
    "ONE_MINUS_DST_ALPHA SRC_ALPHA_SATURATE CONSTANT_COLOR ONE_MINUS_CONSTANT_COLOR CONSTANT_ALPHA "
    "ONE_MINUS_CONSTANT_ALPHA FLOAT VEC2 VEC3 VEC4 INT IVEC2 IVEC3 IVEC4 TEXTURE CANVAS\n"
    "!DEFINITIONS: 10d\n"
    "EXECUTE\tVARIABLE\n"
    "CLEAR\tKEYWORD\n"
    "PASS\tKEYWORD VARIABLE VARIABLE\n"
    "CANVAS\tKEYWORD\tVARIABLE KEYWORD\n"
    "RECT\tKEYWORD VARIABLE VARIABLE VARIABLE KEYWORD\n"
    "IMAGE\tVARIABLE VARIABLE KEYWORD\n"
    "COLOR\tKEYWORD VARIABLE\n"
    "BLEND\tKEYWORD KEYWORD\n"
    "PARAM\tKEYWORD VARIABLE VARIABLE VARIABLE\n"
    "ATTRIB\tKEYWORD VARIABLE VARIABLE VARIABLE\n"
    "!END\n";

KV_DEFINITION_LIST* KV_TECHNIQUE::definitionList = nullptr;

namespace {

const char kLanguage[] = "TechniqueShader";

}  // namespace

void KV_TECHNIQUE::RegisterDefinitions() {
  KvVistrelUnlinkDefinitions();
  KvVistrelFreeDefinitionList(definitionList);
  // The freed list is never handed on: when linking fails there is no list until the next
  // successful registration, and compiles and runs fail instead of reading a freed list.
  definitionList = nullptr;
  if (KvVistrelLinkDefinition(kLanguage, definitionText, (uint32_t)(sizeof definitionText - 1)) ==
      1)
    definitionList = KvVistrelBuildDefinitionList();
  KvVistrelUnlinkDefinitions();
  KvVistrelClearDefinitionsProc();
  KvVistrelAddDefinitionProc(kLanguage, "EXECUTE", ProcExecute);
  KvVistrelAddDefinitionProc(kLanguage, "CLEAR", ProcClear);
  KvVistrelAddDefinitionProc(kLanguage, "PASS", ProcPass);
  KvVistrelAddDefinitionProc(kLanguage, "CANVAS", ProcCanvas);
  KvVistrelAddDefinitionProc(kLanguage, "RECT", ProcRect);
  KvVistrelAddDefinitionProc(kLanguage, "IMAGE", ProcImage);
  KvVistrelAddDefinitionProc(kLanguage, "COLOR", ProcColor);
  KvVistrelAddDefinitionProc(kLanguage, "BLEND", ProcBlend);
  KvVistrelAddDefinitionProc(kLanguage, "PARAM", ProcParam);
  KvVistrelAddDefinitionProc(kLanguage, "ATTRIB", ProcAttrib);
}

bool KV_TECHNIQUE::CompileFile(const char* path) {
  Free();
  if (KvVistrelCompileFile(&program, path, definitionList) != 1) return false;
  engineOwned = 1;
  return true;
}

bool KV_TECHNIQUE::Compile(const char* text, unsigned int length) {
  Free();
  if (KvVistrelCompile(&program, text, length, definitionList) != 1) return false;
  engineOwned = 1;
  return true;
}

uint8_t KV_TECHNIQUE::CompileFileToFile(const char* sourcePath, const char* outPath) {
  return KvVistrelCompileFileToFile(sourcePath, outPath, definitionList);
}

uint8_t KV_TECHNIQUE::CompileToFile(const char* text, unsigned int length, const char* outPath) {
  return KvVistrelCompileToFile(text, length, outPath, definitionList);
}

bool KV_TECHNIQUE::LoadFromFile(const char* path) {
  KV_BUFFER buffer;
  buffer.LoadFromFile(path, 0, 0);
  Free();
  program.Resize(buffer.length);
  if (buffer.length > 0) memcpy(program.data, buffer.GetData(), buffer.length);
  buffer.Clear();
  engineOwned = 0;
  return true;
}

bool KV_TECHNIQUE::LoadFromMemory(const void* data, unsigned int size) {
  if (data == nullptr || size == 0) return false;
  Free();
  program.Resize(size);
  memcpy(program.data, data, size);
  engineOwned = 0;
  return true;
}

bool KV_TECHNIQUE::Execute(KV_ARRAY<uintptr_t>* arguments) {
  if (program.IsEmpty()) return false;
  if (arguments == nullptr) return KvVistrelExecute(&program, nullptr, 0, definitionList) != 0;
  return KvVistrelExecute(&program, arguments->data, arguments->ByteSize(), definitionList) != 0;
}

void KV_TECHNIQUE::Free() {
  if (program.IsEmpty()) return;
  if (engineOwned)
    KvVistrelFree(&program);
  else
    program.Free();
}
