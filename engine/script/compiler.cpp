// Compiling script text line by line: directives declare the language and the variables,
// statements are checked against the language's procedure definitions as they are read.
#include "engine/script/compiler.h"

#include <map>
#include <string>

namespace kv::engine::script {
namespace {

class Compiler {
 public:
  explicit Compiler(const std::vector<Language>& languages) : languages_(languages) {}

  std::optional<Program> Run(std::string_view text) {
    if (languages_.empty()) return std::nullopt;
    for (std::string_view line : SplitLines(text)) {
      if (!Line(StripComment(line))) return std::nullopt;
    }
    if (language_ == nullptr) Choose(languages_.front());
    return std::move(program_);
  }

 private:
  const std::vector<Language>& languages_;
  const Language* language_ = nullptr;
  std::map<std::string, uint32_t, std::less<>> variables_;
  Program program_;

  static std::string_view StripComment(std::string_view line) {
    size_t hash = line.find('#');
    return hash == std::string_view::npos ? line : line.substr(0, hash);
  }

  void Choose(const Language& language) {
    language_ = &language;
    program_.names = {language.name};
  }

  bool Line(std::string_view line) {
    // Control characters other than tabs have no place in a script outside comments.
    for (char c : line)
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return false;
    std::vector<std::string_view> words = SplitWords(line);
    if (words.empty()) return true;
    if (words[0] == "!LANGUAGE:") return LanguageDirective(words);
    if (words[0] == "!VARIABLES:") return VariablesDirective(words);
    if (words[0][0] == '!') return false;
    return StatementLine(words);
  }

  bool LanguageDirective(const std::vector<std::string_view>& words) {
    if (words.size() != 2 || language_ != nullptr) return false;
    for (const Language& language : languages_) {
      if (language.name == words[1]) {
        Choose(language);
        return true;
      }
    }
    return false;
  }

  bool VariablesDirective(const std::vector<std::string_view>& words) {
    // Keywords are checked against the language in use, so it is fixed from here on.
    if (language_ == nullptr) Choose(languages_.front());
    for (size_t i = 1; i < words.size(); ++i) {
      std::string_view name = words[i];
      if (!IsName(name) || language_->FindKeyword(name) >= 0) return false;
      if (variables_.count(name) != 0 || program_.variableCount >= kMaxVariables) return false;
      variables_.emplace(std::string(name), program_.variableCount++);
    }
    return true;
  }

  bool StatementLine(const std::vector<std::string_view>& words) {
    if (language_ == nullptr) Choose(languages_.front());
    int index = language_->FindProcedure(words[0]);
    if (index < 0) return false;
    const Procedure& procedure = language_->procedures[static_cast<size_t>(index)];
    if (words.size() - 1 != procedure.args.size()) return false;
    Statement statement;
    statement.name = program_.NameIndex(procedure.name);
    for (size_t i = 0; i < procedure.args.size(); ++i) {
      Argument arg;
      arg.kind = procedure.args[i];
      if (!ArgumentValue(arg.kind, words[i + 1], arg.value)) return false;
      statement.args.push_back(arg);
    }
    program_.statements.push_back(std::move(statement));
    return true;
  }

  bool ArgumentValue(ArgKind kind, std::string_view word, uint32_t& value) const {
    if (kind == ArgKind::Keyword) {
      int keyword = language_->FindKeyword(word);
      if (keyword < 0) return false;
      value = static_cast<uint32_t>(keyword);
      return true;
    }
    auto found = variables_.find(word);
    if (found == variables_.end()) return false;
    value = found->second;
    return true;
  }
};

}  // namespace

std::optional<Program> Compile(std::string_view text, const std::vector<Language>& languages) {
  return Compiler(languages).Run(text);
}

}  // namespace kv::engine::script
