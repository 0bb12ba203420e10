// Reading definition texts, and the registry of linked languages, definition lists and procedures.
#include "engine/script/language.h"

#include <algorithm>
#include <memory>
#include <set>

// A definition list: copies of the languages linked when it was built, so that unlinking later
// leaves it whole.
struct KV_DEFINITION_LIST {
  std::vector<kv::engine::script::Language> languages;
};

namespace kv::engine::script {
namespace {

// Bounds that keep a hostile text from making the engine allocate without limit.
constexpr uint32_t kMaxProcedures = 65535;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The value of "!NAME:" when the line is that directive (leading blanks of the value dropped).
std::optional<std::string_view> Directive(std::string_view line, std::string_view name) {
  if (line.size() < name.size() + 2 || line[0] != '!') return std::nullopt;
  if (line.substr(1, name.size()) != name || line[name.size() + 1] != ':') return std::nullopt;
  return line.substr(name.size() + 2);
}

// The procedure count: decimal digits, optionally followed by one whole-number type letter.
std::optional<uint32_t> ParseCount(std::string_view word) {
  if (!word.empty() && std::string_view("cbswid").find(word.back()) != std::string_view::npos)
    word.remove_suffix(1);
  if (word.empty() || word.size() > 9) return std::nullopt;
  uint32_t value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return value;
}

std::optional<Procedure> ParseProcedureLine(std::string_view line) {
  std::vector<std::string_view> words = SplitWords(line);
  if (words.empty() || !IsName(words[0])) return std::nullopt;
  Procedure procedure;
  procedure.name = words[0];
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "KEYWORD")
      procedure.args.push_back(ArgKind::Keyword);
    else if (words[i] == "VARIABLE")
      procedure.args.push_back(ArgKind::Variable);
    else
      return std::nullopt;
  }
  return procedure;
}

bool HasDuplicates(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return std::adjacent_find(names.begin(), names.end()) != names.end();
}

struct Registry {
  std::vector<Language> linked;
  std::set<const KV_DEFINITION_LIST*> lists;  // the lists alive, owned here
  std::map<std::pair<std::string, std::string>, KV_SCRIPT_PROC> procs;

  ~Registry() {
    for (const KV_DEFINITION_LIST* list : lists) delete list;
  }
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

int Language::FindKeyword(std::string_view word) const {
  for (size_t i = 0; i < keywords.size(); ++i)
    if (keywords[i] == word) return static_cast<int>(i);
  return -1;
}

int Language::FindProcedure(std::string_view word) const {
  for (size_t i = 0; i < procedures.size(); ++i)
    if (procedures[i].name == word) return static_cast<int>(i);
  return -1;
}

bool IsName(std::string_view word) {
  if (word.empty() || (word[0] >= '0' && word[0] <= '9')) return false;
  return std::all_of(word.begin(), word.end(), [](char c) {
    return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::optional<Language> ParseDefinition(std::string_view text) {
  std::vector<std::string_view> lines = SplitLines(text);
  lines.erase(std::remove_if(lines.begin(), lines.end(),
                             [](std::string_view line) { return SplitWords(line).empty(); }),
              lines.end());
  // !EXTERNAL, then !KEYWORDS, then !DEFINITIONS with its lines, then !END.
  if (lines.size() < 4) return std::nullopt;
  std::optional<std::string_view> external = Directive(lines[0], "EXTERNAL");
  std::optional<std::string_view> keywords = Directive(lines[1], "KEYWORDS");
  std::optional<std::string_view> definitions = Directive(lines[2], "DEFINITIONS");
  if (!external || !keywords || !definitions) return std::nullopt;

  Language language;
  std::vector<std::string_view> name = SplitWords(*external);
  if (name.size() != 1 || !IsName(name[0])) return std::nullopt;
  language.name = name[0];
  for (std::string_view word : SplitWords(*keywords)) {
    if (!IsName(word)) return std::nullopt;
    language.keywords.emplace_back(word);
  }
  std::vector<std::string_view> countWords = SplitWords(*definitions);
  std::optional<uint32_t> count = countWords.size() == 1 ? ParseCount(countWords[0]) : std::nullopt;
  if (!count || *count > kMaxProcedures || lines.size() != *count + 4) return std::nullopt;
  for (uint32_t i = 0; i < *count; ++i) {
    std::optional<Procedure> procedure = ParseProcedureLine(lines[3 + i]);
    if (!procedure) return std::nullopt;
    language.procedures.push_back(std::move(*procedure));
  }
  if (lines.back() != "!END") return std::nullopt;

  std::vector<std::string> procedureNames;
  for (const Procedure& procedure : language.procedures) procedureNames.push_back(procedure.name);
  if (HasDuplicates(language.keywords) || HasDuplicates(procedureNames)) return std::nullopt;
  return language;
}

// ---- the registry --------------------------------------------------------------------------

void Link(Language language) {
  std::vector<Language>& linked = TheRegistry().linked;
  for (Language& existing : linked) {
    if (existing.name == language.name) {
      existing = std::move(language);
      return;
    }
  }
  linked.push_back(std::move(language));
}

void UnlinkAll() { TheRegistry().linked.clear(); }

KV_DEFINITION_LIST* BuildList() {
  Registry& registry = TheRegistry();
  if (registry.linked.empty()) return nullptr;
  auto* list = new KV_DEFINITION_LIST{registry.linked};
  registry.lists.insert(list);
  return list;
}

void FreeList(KV_DEFINITION_LIST* list) {
  // Only lists found alive are freed: a stale or foreign pointer is never dereferenced.
  if (TheRegistry().lists.erase(list) == 1) delete list;
}

const std::vector<Language>* LanguagesOf(const KV_DEFINITION_LIST* list) {
  const Registry& registry = TheRegistry();
  if (registry.lists.count(list) == 0) return nullptr;
  return &list->languages;
}

void AddProc(const std::string& language, const std::string& name, KV_SCRIPT_PROC proc) {
  TheRegistry().procs[{language, name}] = proc;
}

void ClearProcs() { TheRegistry().procs.clear(); }

KV_SCRIPT_PROC FindProc(const std::string& language, const std::string& name) {
  const auto& procs = TheRegistry().procs;
  auto found = procs.find({language, name});
  return found == procs.end() ? nullptr : found->second;
}

}  // namespace kv::engine::script
