// Writing and reading the relocatable program bytes: little-endian 32-bit words, names padded to
// whole words, no pointers.
#include "engine/script/program_format.h"

#include <cstring>

namespace kv::engine::script {
namespace {

constexpr char kMagic[4] = {'K', 'V', 'S', '1'};
constexpr size_t kHeaderSize = 24;

void PutWord(std::vector<uint8_t>& out, uint32_t word) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(word >> (8 * i)));
}

size_t Padded(size_t length) { return (length + 3) & ~static_cast<size_t>(3); }

// Reads words and names from a block, refusing every read past its end.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Word(uint32_t& out) {
    if (size_ - at_ < 4) return false;
    out = 0;
    for (int i = 0; i < 4; ++i) out |= static_cast<uint32_t>(data_[at_ + i]) << (8 * i);
    at_ += 4;
    return true;
  }

  bool Name(std::string& out) {
    uint32_t length;
    if (!Word(length) || length == 0 || size_ - at_ < Padded(length)) return false;
    out.assign(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += Padded(length);
    return true;
  }

  size_t Remaining() const { return size_ - at_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

bool ReadStatement(Reader& reader, const Program& program, Statement& statement) {
  uint32_t count;
  if (!reader.Word(statement.name) || !reader.Word(count)) return false;
  if (statement.name == 0 || statement.name >= program.names.size()) return false;
  // Each argument takes 8 bytes: a count beyond what is left cannot be right.
  if (count > reader.Remaining() / 8) return false;
  statement.args.resize(count);
  for (Argument& arg : statement.args) {
    uint32_t kind;
    if (!reader.Word(kind) || !reader.Word(arg.value)) return false;
    if (kind == static_cast<uint32_t>(ArgKind::Keyword)) {
      arg.kind = ArgKind::Keyword;
    } else if (kind == static_cast<uint32_t>(ArgKind::Variable)) {
      arg.kind = ArgKind::Variable;
      if (arg.value >= program.variableCount) return false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

uint32_t Program::NameIndex(const std::string& name) {
  for (size_t i = 1; i < names.size(); ++i)
    if (names[i] == name) return static_cast<uint32_t>(i);
  names.push_back(name);
  return static_cast<uint32_t>(names.size() - 1);
}

std::vector<uint8_t> Encode(const Program& program) {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  PutWord(out, kFormatVersion);
  PutWord(out, 0);  // the total size, known at the end
  PutWord(out, program.variableCount);
  PutWord(out, static_cast<uint32_t>(program.names.size()));
  PutWord(out, static_cast<uint32_t>(program.statements.size()));
  for (const std::string& name : program.names) {
    PutWord(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    out.resize(Padded(out.size()), 0);
  }
  for (const Statement& statement : program.statements) {
    PutWord(out, statement.name);
    PutWord(out, static_cast<uint32_t>(statement.args.size()));
    for (const Argument& arg : statement.args) {
      PutWord(out, static_cast<uint32_t>(arg.kind));
      PutWord(out, arg.value);
    }
  }
  uint32_t size = static_cast<uint32_t>(out.size());
  for (int i = 0; i < 4; ++i) out[8 + i] = static_cast<uint8_t>(size >> (8 * i));
  return out;
}

std::optional<Program> Decode(const uint8_t* data, size_t size) {
  if (data == nullptr || size < kHeaderSize || std::memcmp(data, kMagic, 4) != 0)
    return std::nullopt;
  Reader reader(data + 4, size - 4);
  uint32_t version, total, nameCount, statementCount;
  Program program;
  if (!reader.Word(version) || !reader.Word(total) || !reader.Word(program.variableCount) ||
      !reader.Word(nameCount) || !reader.Word(statementCount))
    return std::nullopt;
  if (version != kFormatVersion || total != size || program.variableCount > kMaxVariables)
    return std::nullopt;
  // Every name takes at least 8 bytes and every statement at least 8: larger counts are lies.
  if (nameCount == 0 || nameCount > reader.Remaining() / 8) return std::nullopt;
  program.names.resize(nameCount);
  for (std::string& name : program.names)
    if (!reader.Name(name)) return std::nullopt;
  if (statementCount > reader.Remaining() / 8) return std::nullopt;
  program.statements.resize(statementCount);
  for (Statement& statement : program.statements)
    if (!ReadStatement(reader, program, statement)) return std::nullopt;
  if (reader.Remaining() != 0) return std::nullopt;
  return program;
}

}  // namespace kv::engine::script
