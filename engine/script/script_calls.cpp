// The KvVistrel* entry points: linking and lists, procedure registration, compiling from texts and
// files into byte arrays or files, running a program and freeing its bytes.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "engine/script/compiler.h"
#include "engine/script/language.h"
#include "engine/script/program_format.h"
#include "engine/script/script_api.h"
#include "engine/trace/trace.h"
#include "platform/runtime/file_open.h"

namespace kv::engine::script {
namespace {

// A statement ready to run: its procedure and its argument words before variable addresses.
struct Call {
  KV_SCRIPT_PROC proc;
  const Statement* statement;
};

std::optional<std::string> ReadFile(const char* path) {
  FILE* file = KvOpenFile(path, "rb");
  if (file == nullptr) return std::nullopt;
  std::string text;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    // The text length crosses the boundary as 32 bits: longer files are refused.
    if (text.size() + got > UINT32_MAX) {
      std::fclose(file);
      return std::nullopt;
    }
    text.append(chunk, got);
  }
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return text;
}

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
  FILE* file = KvOpenFile(path, "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The program bytes of the text compiled against the list; nothing on any error.
std::optional<std::vector<uint8_t>> CompileToBytes(std::string_view text,
                                                   const KV_DEFINITION_LIST* list) {
  const std::vector<Language>* languages = LanguagesOf(list);
  if (languages == nullptr) return std::nullopt;
  std::optional<Program> program = Compile(text, *languages);
  if (!program) return std::nullopt;
  return Encode(*program);
}

uint8_t StoreProgram(KV_ARRAY<unsigned char>* out, const std::vector<uint8_t>& bytes) {
  out->Resize(static_cast<unsigned int>(bytes.size()));
  if (out->IsEmpty()) return 0;
  std::memcpy(out->data, bytes.data(), bytes.size());
  return 1;
}

const Language* FindLanguage(const std::vector<Language>& languages, const std::string& name) {
  for (const Language& language : languages)
    if (language.name == name) return &language;
  return nullptr;
}

// The calls of every statement, or nothing when one is not defined as the program uses it (the
// program may come from a file compiled against another definition) or has no procedure.
std::optional<std::vector<Call>> Resolve(const Program& program, const Language& language) {
  std::vector<Call> calls;
  for (const Statement& statement : program.statements) {
    const std::string& name = program.names[statement.name];
    int index = language.FindProcedure(name);
    if (index < 0) return std::nullopt;
    const Procedure& procedure = language.procedures[static_cast<size_t>(index)];
    if (procedure.args.size() != statement.args.size()) return std::nullopt;
    for (size_t i = 0; i < statement.args.size(); ++i) {
      const Argument& arg = statement.args[i];
      if (arg.kind != procedure.args[i]) return std::nullopt;
      if (arg.kind == ArgKind::Keyword && arg.value >= language.keywords.size())
        return std::nullopt;
    }
    KV_SCRIPT_PROC proc = FindProc(language.name, name);
    if (proc == nullptr) return std::nullopt;
    calls.push_back({proc, &statement});
  }
  return calls;
}

void RunCall(const Call& call, std::vector<uintptr_t>& variables) {
  KV_ARRAY<unsigned char> block(
      static_cast<unsigned int>(call.statement->args.size() * sizeof(uintptr_t)));
  for (size_t i = 0; i < call.statement->args.size(); ++i) {
    const Argument& arg = call.statement->args[i];
    uintptr_t word = arg.kind == ArgKind::Keyword
                         ? static_cast<uintptr_t>(arg.value)
                         : reinterpret_cast<uintptr_t>(&variables[arg.value]);
    std::memcpy(block.data + i * sizeof word, &word, sizeof word);
  }
  call.proc(&block);
}

}  // namespace
}  // namespace kv::engine::script

using namespace kv::engine;
using namespace kv::engine::script;

extern "C" {

uint8_t KvVistrelLinkDefinition(const char* name, const char* text, uint32_t length) {
  if (trace::Call("KvVistrelLinkDefinition", name, static_cast<const void*>(text), length))
    return 0;
  if (name == nullptr || text == nullptr) return 0;
  std::optional<Language> language = ParseDefinition(std::string_view(text, length));
  if (!language || language->name != name) return 0;
  Link(std::move(*language));
  return 1;
}

void KvVistrelUnlinkDefinitions(void) {
  if (trace::Call("KvVistrelUnlinkDefinitions")) return;
  UnlinkAll();
}

KV_DEFINITION_LIST* KvVistrelBuildDefinitionList(void) {
  if (trace::Call("KvVistrelBuildDefinitionList")) return nullptr;
  return BuildList();
}

void KvVistrelFreeDefinitionList(KV_DEFINITION_LIST* list) {
  if (trace::Call("KvVistrelFreeDefinitionList", list)) return;
  FreeList(list);
}

uint8_t KvVistrelAddDefinitionProc(const char* language, const char* name, KV_SCRIPT_PROC proc) {
  if (trace::Call("KvVistrelAddDefinitionProc", language, name, reinterpret_cast<void*>(proc)))
    return 0;
  if (language == nullptr || name == nullptr || proc == nullptr) return 0;
  AddProc(language, name, proc);
  return 1;
}

void KvVistrelClearDefinitionsProc(void) {
  if (trace::Call("KvVistrelClearDefinitionsProc")) return;
  ClearProcs();
}

uint8_t KvVistrelCompile(KV_ARRAY<unsigned char>* program, const char* text, uint32_t length,
                         KV_DEFINITION_LIST* list) {
  if (trace::Call("KvVistrelCompile", program, static_cast<const void*>(text), length, list))
    return 0;
  if (program == nullptr) return 0;
  program->Free();
  if (text == nullptr) return 0;
  std::optional<std::vector<uint8_t>> bytes = CompileToBytes(std::string_view(text, length), list);
  return bytes ? StoreProgram(program, *bytes) : 0;
}

uint8_t KvVistrelCompileFile(KV_ARRAY<unsigned char>* program, const char* path,
                             KV_DEFINITION_LIST* list) {
  if (trace::Call("KvVistrelCompileFile", program, path, list)) return 0;
  if (program == nullptr) return 0;
  program->Free();
  std::optional<std::string> text = ReadFile(path);
  if (!text) return 0;
  std::optional<std::vector<uint8_t>> bytes = CompileToBytes(*text, list);
  return bytes ? StoreProgram(program, *bytes) : 0;
}

uint8_t KvVistrelCompileToFile(const char* text, uint32_t length, const char* outPath,
                               KV_DEFINITION_LIST* list) {
  if (trace::Call("KvVistrelCompileToFile", static_cast<const void*>(text), length, outPath, list))
    return 0;
  if (text == nullptr || outPath == nullptr) return 0;
  std::optional<std::vector<uint8_t>> bytes = CompileToBytes(std::string_view(text, length), list);
  return bytes && WriteFile(outPath, *bytes) ? 1 : 0;
}

uint8_t KvVistrelCompileFileToFile(const char* sourcePath, const char* outPath,
                                   KV_DEFINITION_LIST* list) {
  if (trace::Call("KvVistrelCompileFileToFile", sourcePath, outPath, list)) return 0;
  if (outPath == nullptr) return 0;
  std::optional<std::string> text = ReadFile(sourcePath);
  if (!text) return 0;
  std::optional<std::vector<uint8_t>> bytes = CompileToBytes(*text, list);
  return bytes && WriteFile(outPath, *bytes) ? 1 : 0;
}

uint8_t KvVistrelExecute(const KV_ARRAY<unsigned char>* program, const uintptr_t* args,
                         uint32_t argBytes, KV_DEFINITION_LIST* list) {
  if (trace::Call("KvVistrelExecute", program, args, argBytes, list)) return 0;
  if (program == nullptr || program->IsEmpty()) return 0;
  const std::vector<Language>* languages = LanguagesOf(list);
  if (languages == nullptr) return 0;
  std::optional<Program> decoded = Decode(program->data, program->count);
  if (!decoded) return 0;
  const Language* language = FindLanguage(*languages, decoded->names[0]);
  if (language == nullptr) return 0;
  std::optional<std::vector<Call>> calls = Resolve(*decoded, *language);
  if (!calls) return 0;

  // The variables stay where they are for the whole run: procedures get their addresses.
  std::vector<uintptr_t> variables(decoded->variableCount, 0);
  size_t given = args == nullptr ? 0 : argBytes / sizeof(uintptr_t);
  if (given > variables.size()) given = variables.size();
  if (given > 0) std::memcpy(variables.data(), args, given * sizeof(uintptr_t));
  for (const Call& call : *calls) RunCall(call, variables);
  return 1;
}

void KvVistrelFree(KV_ARRAY<unsigned char>* program) {
  if (trace::Call("KvVistrelFree", program)) return;
  if (program != nullptr) program->Free();
}

}  // extern "C"
