// The registry store: its file, its text form, and the safe replacement of the file.
//
// The text form, one record a line:
//   kelvo-core registry 1
//   key <path>
//   value <type> <name> <hex bytes>
// Paths and names are escaped: bytes below '!', above '~' and '%' itself become "%XX"; an
// empty name is written "%". Values belong to the key line before them.
#include "platform/registry/store.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/testing/service_hooks.h"

namespace platform::registry {
namespace {

const char kHeader[] = "kelvo-core registry 1";

struct State {
  bool loaded = false;
  Keys keys;
};

State& TheState() {
  static State state;
  return state;
}

char HexDigit(int v) { return "0123456789abcdef"[v & 15]; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Escape(const std::string& text) {
  if (text.empty()) return "%";
  std::string out;
  for (unsigned char c : text) {
    if (c < '!' || c > '~' || c == '%') {
      out += '%';
      out += HexDigit(c >> 4);
      out += HexDigit(c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool Unescape(const std::string& text, std::string* out) {
  out->clear();
  if (text == "%") return true;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) return false;
    *out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return true;
}

bool DecodeHex(const std::string& text, std::vector<uint8_t>* out) {
  out->clear();
  if (text == "-") return true;
  if (text.size() % 2 != 0) return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    int high = HexValue(text[i]), low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return false;
    out->push_back(static_cast<uint8_t>(high * 16 + low));
  }
  return true;
}

// Splits a line into words at single blanks; escaped fields never hold a blank.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

bool ReadFile(const std::string& path, std::string* text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, n);
  bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

// Creates every missing folder of the file's path (owner-only, as configuration folders are).
void MakeParents(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0700);
}

void Load(State& state) {
  state.loaded = true;
  state.keys.clear();
  std::string path = FilePath(), text;
  if (!ReadFile(path, &text)) return;
  if (Parse(text, &state.keys)) return;
  // A damaged store is kept aside, not overwritten by the next change, and the registry
  // starts empty.
  std::rename(path.c_str(), (path + ".damaged").c_str());
}

}  // namespace

std::string Fold(const std::string& text) {
  std::string out = text;
  for (char& ch : out) {
    unsigned char c = static_cast<unsigned char>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      ch = static_cast<char>(c + 32);
  }
  return out;
}

std::string FilePath() {
  const std::string& chosen = Services().registryFile;
  if (!chosen.empty()) return chosen;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : "") + "/.config";
  }
  return base + "/kelvo-core/registry";
}

Keys& Contents() {
  State& state = TheState();
  if (!state.loaded) Load(state);
  return state.keys;
}

std::string Serialize(const Keys& keys) {
  std::string text = std::string(kHeader) + "\n";
  for (const auto& [folded, key] : keys) {
    text += "key " + Escape(key.path) + "\n";
    for (const Value& value : key.values) {
      text += "value " + std::to_string(value.type) + " " + Escape(value.name) + " ";
      if (value.data.empty()) text += "-";
      for (uint8_t b : value.data) {
        text += HexDigit(b >> 4);
        text += HexDigit(b);
      }
      text += "\n";
    }
  }
  return text;
}

bool Parse(const std::string& text, Keys* out) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return false;
  Keys keys;
  Key* current = nullptr;
  while (std::getline(in, line)) {
    std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    if (words[0] == "key" && words.size() == 2) {
      Key key;
      if (!Unescape(words[1], &key.path) || key.path.empty()) return false;
      current = &(keys[Fold(key.path)] = key);
    } else if (words[0] == "value" && words.size() == 4 && current != nullptr) {
      Value value;
      char* end = nullptr;
      errno = 0;
      unsigned long type = std::strtoul(words[1].c_str(), &end, 10);
      if (*end != '\0' || errno != 0 || type > 0xFFFFFFFFul) return false;
      value.type = static_cast<uint32_t>(type);
      if (!Unescape(words[2], &value.name) || !DecodeHex(words[3], &value.data)) return false;
      current->values.push_back(value);
    } else {
      return false;
    }
  }
  *out = std::move(keys);
  return true;
}

bool Save(const Keys& keys) {
  std::string path = FilePath();
  MakeParents(path);
  std::string temporary = path + ".tmp" + std::to_string(getpid());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  std::string text = Serialize(keys);
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  written = std::fflush(file) == 0 && written;
  written = fsync(fileno(file)) == 0 && written;
  written = std::fclose(file) == 0 && written;
  // The old file is replaced only by a complete new one.
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace platform::registry

namespace platform {

void ForgetRegistry() { registry::TheState() = {}; }

}  // namespace platform

namespace platform::testing {

std::string RegistryFile() { return registry::FilePath(); }

}  // namespace platform::testing
