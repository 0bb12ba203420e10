// The script compiler: script text (syntax in script_api.h) to a Program of the languages of a
// definition list.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "engine/script/language.h"
#include "engine/script/program_format.h"

namespace kv::engine::script {

// The compiled program; nothing on any compile error or when languages is empty.
std::optional<Program> Compile(std::string_view text, const std::vector<Language>& languages);

}  // namespace kv::engine::script
