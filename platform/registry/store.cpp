// The registry store: its file, its text form, the safe replacement of the file, and the
// reading again of a file that another program replaced.
//
// The text form, one record a line:
//   kelvo-core registry 1
//   key <path>
//   value <type> <name> <hex bytes>
// Paths and names are escaped: bytes below '!', above '~' and '%' itself become "%XX"; an
// empty name is written "%". Values belong to the key line before them.
#include "platform/registry/store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>

#include "platform/registry/file_lock.h"
#include "platform/testing/service_hooks.h"

namespace platform::registry {
namespace {

const char kHeader[] = "kelvo-core registry 1";

// What the process knows of the registry file: the contents it read or wrote last, and that
// file, held open. Holding it keeps its inode number from going to another file, so a file at
// the path with the same device, inode, size and modification time is certainly the same one.
struct State {
  bool loaded = false;
  Keys keys;
  int file = -1;     // the file the keys came from; -1 when there was none
  struct stat seen;  // its status, valid while file >= 0
  bool locked = false;
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

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// True when the file at the path is still the one the contents came from (or there still is
// none), so they need not be read again.
bool Unchanged(const State& state, const std::string& path) {
  if (!state.loaded) return false;
  struct stat now;
  if (stat(path.c_str(), &now) != 0) return errno == ENOENT && state.file < 0;
  return state.file >= 0 && S_ISREG(now.st_mode) && SameFile(now, state.seen);
}

// Takes keys as the contents and file (-1: none) as the file they stand for.
void Adopt(State& state, Keys&& keys, int file, const struct stat* seen) {
  if (state.file >= 0) close(state.file);
  state.loaded = true;
  state.keys = std::move(keys);
  state.file = file;
  if (seen != nullptr) state.seen = *seen;
}

bool ReadAll(int file, std::string* text) {
  char buffer[4096];
  for (;;) {
    ssize_t n = read(file, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0 && errno != EINTR) return false;
    if (n > 0) text->append(buffer, static_cast<size_t>(n));
  }
}

bool WriteAll(int file, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(file, text.data() + done, text.size() - done);
    if (n < 0 && errno != EINTR) return false;
    if (n > 0) done += static_cast<size_t>(n);
  }
  return true;
}

// Creates every missing folder of the file's path (owner-only, as configuration folders are).
void MakeParents(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0700);
}

// The registry's lock for a scope. A scope inside one that holds it shares that lock, as a
// second flock of the same process on another descriptor would wait for the first forever.
class LockScope {
 public:
  explicit LockScope(State& state) : state_(state) {
    if (state.locked) return;
    lock_.emplace(FilePath() + ".lock");
    state.locked = lock_->Held();
  }
  ~LockScope() {
    if (lock_.has_value()) state_.locked = false;
  }
  bool Held() const { return state_.locked; }

 private:
  State& state_;
  std::optional<FileLock> lock_;
};

bool Load(State& state);

// A damaged file is kept aside, not overwritten by the next change, and the registry is empty.
// It is moved only under the lock and only while it is still the file at the path: a sound file
// that another program has just put there is read instead.
bool SetAside(State& state, int file, const struct stat& damaged) {
  std::string path = FilePath();
  LockScope lock(state);
  struct stat now;
  bool still = stat(path.c_str(), &now) == 0 && SameFile(now, damaged);
  if (lock.Held() && !still) {
    close(file);
    return Load(state);
  }
  if (lock.Held() && std::rename(path.c_str(), (path + ".damaged").c_str()) == 0) {
    close(file);
    Adopt(state, Keys(), -1, nullptr);
    return true;
  }
  // Left where it is, the damaged file stays the one read: it is not read again until it is
  // replaced.
  Adopt(state, Keys(), file, &damaged);
  return true;
}

// Reads the file at the path into the contents; a missing file is an empty registry. False,
// keeping the contents, when the file is there but cannot be read.
bool Load(State& state) {
  std::string path = FilePath();
  int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) {
    if (errno != ENOENT) return false;
    Adopt(state, Keys(), -1, nullptr);
    return true;
  }
  // The status is taken before reading, so a change made while reading shows as a new one.
  struct stat seen;
  std::string text;
  if (fstat(file, &seen) != 0 || !S_ISREG(seen.st_mode) || !ReadAll(file, &text)) {
    close(file);
    return false;
  }
  Keys keys;
  if (!Parse(text, &keys)) return SetAside(state, file, seen);
  Adopt(state, std::move(keys), file, &seen);
  return true;
}

// Reads the file again when it is not the one read last; false when it cannot be read.
bool Refresh(State& state) { return Unchanged(state, FilePath()) || Load(state); }

// Writes keys to a new file that replaces the registry file, and takes them as the contents;
// false when the file cannot be written, in which case the file on disk is left as it was.
bool Save(State& state, Keys&& keys) {
  std::string path = FilePath();
  std::string temporary = path + ".tmp" + std::to_string(getpid());
  int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (file < 0) return false;
  struct stat seen;
  bool written = WriteAll(file, Serialize(keys)) && fsync(file) == 0 && fstat(file, &seen) == 0;
  // The old file is replaced only by a complete new one.
  if (!written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    close(file);
    std::remove(temporary.c_str());
    return false;
  }
  // A rename keeps the file's inode and modification time: the new file is known as it is.
  Adopt(state, std::move(keys), file, &seen);
  return true;
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

const Keys& Contents() {
  State& state = TheState();
  Refresh(state);
  return state.keys;
}

LSTATUS Update(const std::function<LSTATUS(Keys&)>& change) {
  // A change that fails or alters nothing on the file as it is now needs neither the lock nor
  // a write: its answer holds for this moment.
  const Keys& now = Contents();
  Keys trial = now;
  LSTATUS status = change(trial);
  if (status != ERROR_SUCCESS || trial == now) return status;

  State& state = TheState();
  MakeParents(FilePath());
  LockScope lock(state);
  // Without the file as it is, writing would lose what other programs put in it.
  if (!lock.Held() || !Refresh(state)) return ERROR_WRITE_FAULT;
  Keys changed = state.keys;
  status = change(changed);
  if (status != ERROR_SUCCESS || changed == state.keys) return status;
  return Save(state, std::move(changed)) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
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

}  // namespace platform::registry

namespace platform {

void ForgetRegistry() {
  registry::State& state = registry::TheState();
  if (state.file >= 0) close(state.file);
  state = {};
}

}  // namespace platform

namespace platform::testing {

std::string RegistryFile() { return registry::FilePath(); }

}  // namespace platform::testing
