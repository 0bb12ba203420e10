// The registry's contents: a tree of keys under the predefined roots, each key with named
// values of a type and raw bytes, names compared without case and kept as first written.
// It lives in one text file under the user's configuration folder, read on first use and
// written again, whole, through a temporary file and a rename after every change.
// Internal to platform/registry.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace platform::registry {

struct Value {
  std::string name;  // as written; "" is the key's default value
  uint32_t type = 0;
  std::vector<uint8_t> data;
};

struct Key {
  std::string path;  // "<root>\A\B" as first written; the root is its number in hex
  std::vector<Value> values;
};

// The keys by folded path. A key's parents are keys too (the roots are not stored).
typedef std::map<std::string, Key> Keys;

// The path with every letter folded to lower case (ASCII and ISO-8859-1), for comparisons.
std::string Fold(const std::string& text);

// The store of the process: loaded from the registry file on first use.
Keys& Contents();
// Writes the contents to the registry file; false when the file cannot be written, in which
// case the file on disk is left as it was.
bool Save(const Keys& keys);
// The registry file: the tests' choice, else $XDG_CONFIG_HOME or ~/.config, then
// kelvo-core/registry.
std::string FilePath();

// The text of a store and its reading back; Parse is false for a text that is not a store,
// leaving out untouched.
std::string Serialize(const Keys& keys);
bool Parse(const std::string& text, Keys* out);

}  // namespace platform::registry
