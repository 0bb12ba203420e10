// The registry's contents: a tree of keys under the predefined roots, each key with named
// values of a type and raw bytes, names compared without case and kept as first written.
// They live in one text file under the user's configuration folder that every program on the
// framework shares. A read sees the file as it is now; a change is made to the file as it is
// at that moment, under a lock, and written again, whole, through a temporary file and a
// rename. Internal to platform/registry.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/winapi/registry.h"

namespace platform::registry {

struct Value {
  std::string name;  // as written; "" is the key's default value
  uint32_t type = 0;
  std::vector<uint8_t> data;
  bool operator==(const Value&) const = default;
};

struct Key {
  std::string path;  // "<root>\A\B" as first written; the root is its number in hex
  std::vector<Value> values;
  bool operator==(const Key&) const = default;
};

// The keys by folded path. A key's parents are keys too (the roots are not stored).
typedef std::map<std::string, Key> Keys;

// The path with every letter folded to lower case (ASCII and ISO-8859-1), for comparisons.
std::string Fold(const std::string& text);

// The contents as the registry file holds them now: the file is read again whenever it is not
// the one read last, so that what other programs wrote is seen. A damaged file is set aside
// and the registry is empty; a file that cannot be read leaves the contents as last read.
const Keys& Contents();
// Applies change to the contents as the file holds them at this moment and writes the result
// through; the file is locked against the other programs from before it is read until the new
// one is in place, so nothing they write in between is lost. change returns its call's result
// and must leave the keys as they were when it fails; a failed change, or one that alters
// nothing, writes nothing. ERROR_WRITE_FAULT, with nothing changed, when the file cannot be
// locked, read or written.
LSTATUS Update(const std::function<LSTATUS(Keys&)>& change);
// The registry file: the tests' choice, else $XDG_CONFIG_HOME or ~/.config, then
// kelvo-core/registry.
std::string FilePath();

// The text of a store and its reading back; Parse is false for a text that is not a store,
// leaving out untouched.
std::string Serialize(const Keys& keys);
bool Parse(const std::string& text, Keys* out);

}  // namespace platform::registry
