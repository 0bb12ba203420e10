// A script language as the engine keeps it: its name, keywords and procedure definitions, read
// from a definition text (script_api.h gives the format). Linked languages, the definition lists
// built from them and the registered procedures live in one engine-wide registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/script/script_api.h"

namespace kv::engine::script {

// The two argument kinds of a procedure definition.
enum class ArgKind : uint32_t { Keyword = 0, Variable = 1 };

struct Procedure {
  std::string name;
  std::vector<ArgKind> args;
};

struct Language {
  std::string name;
  std::vector<std::string> keywords;  // keyword k at index k
  std::vector<Procedure> procedures;

  // Index of the keyword or the procedure; -1 when the language has none of that name.
  int FindKeyword(std::string_view word) const;
  int FindProcedure(std::string_view word) const;
};

// True for a word of letters, digits and "_" that does not start with a digit.
bool IsName(std::string_view word);
// Splits a line into words at spaces and tabs.
std::vector<std::string_view> SplitWords(std::string_view line);
// Splits text into lines at "\n", dropping a "\r" before it.
std::vector<std::string_view> SplitLines(std::string_view text);

// Reads a definition text; nothing when it is malformed.
std::optional<Language> ParseDefinition(std::string_view text);

// ---- the registry --------------------------------------------------------------------------

// Links (or replaces) a language.
void Link(Language language);
void UnlinkAll();
// A new list of copies of the linked languages; null when none is linked.
KV_DEFINITION_LIST* BuildList();
void FreeList(KV_DEFINITION_LIST* list);
// The languages of a list the engine built and has not freed; null for any other list.
const std::vector<Language>* LanguagesOf(const KV_DEFINITION_LIST* list);

void AddProc(const std::string& language, const std::string& name, KV_SCRIPT_PROC proc);
void ClearProcs();
// The procedure registered for (language, name); null when none is.
KV_SCRIPT_PROC FindProc(const std::string& language, const std::string& name);

}  // namespace kv::engine::script
