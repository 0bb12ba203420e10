// A compiled script in memory and its relocatable byte form (script_api.h gives the layout). The
// compiler builds a Program and encodes it; the runtime decodes bytes from any block, checking
// every count and index against the block's size before it trusts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/script/language.h"

namespace kv::engine::script {

constexpr uint32_t kFormatVersion = 1;
constexpr uint32_t kMaxVariables = 65536;

struct Argument {
  ArgKind kind = ArgKind::Keyword;
  uint32_t value = 0;  // keyword number or variable index
};

struct Statement {
  uint32_t name = 0;  // index into Program::names, from 1
  std::vector<Argument> args;
};

struct Program {
  uint32_t variableCount = 0;
  std::vector<std::string> names;  // names[0] the language, then the procedures called
  std::vector<Statement> statements;

  // The index of a procedure name, added when new.
  uint32_t NameIndex(const std::string& name);
};

// The program's bytes.
std::vector<uint8_t> Encode(const Program& program);
// The program held by exactly size bytes at data; nothing when the bytes are not a well-formed
// program (bad magic, version or size, counts or indices out of range).
std::optional<Program> Decode(const uint8_t* data, size_t size);

}  // namespace kv::engine::script
