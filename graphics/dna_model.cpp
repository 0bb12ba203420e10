// Reading the soft-body model file: one value per line, counts as typed literals with the suffix
// d, numbers with the suffix r, names as whole lines. A section's records are only allocated once
// the lines they need are known to be there.
#include "graphics/dna_model.h"

namespace {

const char kMagic[] = "envboxmodel2d";
const char kVersion[] = "2";

// Lines each record of a section takes.
constexpr uint32_t kSubstanceLines = 5;
constexpr uint32_t kSurfaceLines = 10;
constexpr uint32_t kForceLines = 3;
constexpr uint32_t kSpriteLines = 8;

// The file's lines and the next one to read. Every read is checked by the section before it, so
// the cursor never passes the end.
class LINE_READER {
 public:
  LINE_READER(const void* data, uint32_t size) {
    lines_ = KvSplitBuffer(data, size, "\r\n", count_, nullptr);
  }
  ~LINE_READER() { delete[] lines_; }
  LINE_READER(const LINE_READER&) = delete;
  LINE_READER& operator=(const LINE_READER&) = delete;

  uint32_t Count() const { return count_; }
  const KV_STRING& Line(uint32_t i) const { return lines_[i]; }
  // True when n more lines remain.
  bool Has(uint64_t n) const { return n <= count_ - next_; }
  // The next line as a name.
  const KV_STRING& Name() { return lines_[next_++]; }
  // The next line as a double (0 when it does not read as one).
  double Number() {
    double value = 0;
    lines_[next_++].Decode(&value, 'r');
    return value;
  }
  // Reads a count line and checks that count records of linesEach lines follow it.
  bool Count(uint32_t linesEach, uint32_t* out) {
    if (!Has(1)) return false;
    uint32_t value = 0;
    lines_[next_++].Decode(&value, 'd');
    if (!Has(static_cast<uint64_t>(value) * linesEach)) return false;
    *out = value;
    return true;
  }
  // The next line as an index below limit (a number truncated toward zero); false outside. An
  // empty section has no index at all, not even the 0 that a value between -1 and 0 truncates to.
  bool Index(uint32_t limit, uint32_t* out) {
    double value = Number();
    if (limit == 0 || !(value > -1.0 && value < static_cast<double>(limit))) return false;
    *out = static_cast<uint32_t>(value);
    return true;
  }

  void Seek(uint32_t line) { next_ = line; }

 private:
  KV_STRING* lines_ = nullptr;
  uint32_t count_ = 0;
  uint32_t next_ = 0;
};

bool ReadSubstances(LINE_READER& in, std::vector<KV_DNA_MODEL::SUBSTANCE>& out) {
  uint32_t n;
  if (!in.Count(kSubstanceLines, &n)) return false;
  out.resize(n);
  for (KV_DNA_MODEL::SUBSTANCE& s : out) {
    s.x = in.Number();
    s.y = in.Number();
    s.mass = in.Number();
    s.range = in.Number();
    s.solid = in.Number();
  }
  return true;
}

bool ReadSurfaces(LINE_READER& in, uint32_t substanceCount,
                  std::vector<KV_DNA_MODEL::SURFACE>& out) {
  uint32_t n;
  if (!in.Count(kSurfaceLines, &n)) return false;
  out.resize(n);
  for (KV_DNA_MODEL::SURFACE& f : out) {
    for (uint32_t& index : f.substances) {
      if (!in.Index(substanceCount, &index)) return false;
    }
    for (auto& coord : f.coords) {
      coord[0] = in.Number();
      coord[1] = in.Number();
    }
    f.texture = in.Name();
  }
  return true;
}

bool ReadForces(LINE_READER& in, uint32_t substanceCount, std::vector<KV_DNA_MODEL::FORCE>& out) {
  uint32_t n;
  if (!in.Count(kForceLines, &n)) return false;
  out.resize(n);
  for (KV_DNA_MODEL::FORCE& c : out) {
    if (!in.Index(substanceCount, &c.substances[0]) || !in.Index(substanceCount, &c.substances[1]))
      return false;
    c.resilience = in.Number();
  }
  return true;
}

bool ReadSprites(LINE_READER& in, uint32_t forceCount, std::vector<KV_DNA_MODEL::SPRITE>& out) {
  uint32_t n;
  if (!in.Count(kSpriteLines, &n)) return false;
  out.resize(n);
  for (KV_DNA_MODEL::SPRITE& p : out) {
    p.texture = in.Name();
    p.pivotX = in.Number();
    p.pivotY = in.Number();
    p.width = in.Number();
    p.height = in.Number();
    if (!in.Index(forceCount, &p.force)) return false;
    p.reversed = in.Number() != 0;
    p.stretched = in.Number() != 0;
  }
  return true;
}

}  // namespace

bool KV_DNA_MODEL::Read(const void* data, uint32_t size) {
  Clear();
  if (data == nullptr || size == 0) return false;
  LINE_READER in(data, size);
  if (in.Count() < 2 || in.Line(0) != kMagic || in.Line(1) != kVersion) return false;
  in.Seek(2);
  bool read = ReadSubstances(in, substances) &&
              ReadSurfaces(in, static_cast<uint32_t>(substances.size()), surfaces) &&
              ReadForces(in, static_cast<uint32_t>(substances.size()), forces) &&
              ReadSprites(in, static_cast<uint32_t>(forces.size()), sprites);
  if (!read) Clear();
  return read;
}

void KV_DNA_MODEL::Clear() {
  // Swapping with empty vectors gives the memory back, not only the elements.
  std::vector<SUBSTANCE>().swap(substances);
  std::vector<SURFACE>().swap(surfaces);
  std::vector<FORCE>().swap(forces);
  std::vector<SPRITE>().swap(sprites);
}
