// Flood fills in metafiles on the largest picture the imaging calls take (16384 x 16384, 2^28
// pixels), decoded through the image decode call as a caller does. Each case is timed twice:
// "ready/<case>" decodes the file without its flood fill (the picture's allocation and clear,
// what is drawn before the fill, the conversion to R, G, B, A), "fill/<case>" with it; the fill
// itself costs the difference. The cases: a surface fill of the whole empty picture from its
// centre, and the same over a picture painted white first; a border fill inside a black outline
// near the picture's edge; a surface fill inside a clip rectangle; a border fill over the
// picture striped by a vertical hatch (one span a stripe a row, some 33 million); and a fill
// inside an elliptic clip, which takes the general path. Run with --benchmark_repetitions, and
// alternate the two sets on a busy machine.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/imaging/image_decode.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kSide = 16384;
constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;
constexpr uint32_t kNullBrush = 0x80000005, kNullPen = 0x80000008;

void Put32(Bytes* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

Bytes Record(uint32_t kind, std::initializer_list<uint32_t> fields) {
  Bytes out;
  Put32(&out, kind);
  Put32(&out, static_cast<uint32_t>(8 + 4 * fields.size()));
  for (uint32_t field : fields) Put32(&out, field);
  return out;
}

// EMR_CREATEBRUSHINDIRECT (style 0 solid, 2 hatched) and EMR_SELECTOBJECT.
Bytes Brush(uint32_t index, uint32_t color, uint32_t style = 0, uint32_t hatch = 0) {
  return Record(39, {index, style, color, hatch});
}
Bytes Select(uint32_t index) { return Record(37, {index}); }
Bytes Rectangle(int32_t l, int32_t t, int32_t r, int32_t b) {
  return Record(43, {uint32_t(l), uint32_t(t), uint32_t(r), uint32_t(b)});
}
// EMR_EXTFLOODFILL: mode 1 fills the surface of the colour, 0 up to a border of it.
Bytes FloodFill(int32_t x, int32_t y, uint32_t color, bool surface) {
  return Record(53, {uint32_t(x), uint32_t(y), color, surface ? 1u : 0u});
}

// An EMF of kSide x kSide pixels whose device units are pixels: 960 pixels over 254 mm.
Bytes Emf(const std::vector<Bytes>& records) {
  Bytes body;
  for (const Bytes& record : records) body.insert(body.end(), record.begin(), record.end());
  Bytes end = Record(14, {0, 16, 20});
  body.insert(body.end(), end.begin(), end.end());
  int32_t frame = kSide * 2540 / 96;
  Bytes out;
  for (uint32_t field :
       {1u, 88u, 0u, 0u, 100u, 100u, 0u, 0u, uint32_t(frame), uint32_t(frame), 0x464D4520u,
        0x10000u, uint32_t(88 + body.size()), uint32_t(records.size() + 2)})
    Put32(&out, field);
  for (uint32_t field : {16u, 0u, 0u, 0u, 960u, 960u, 254u, 254u}) Put32(&out, field);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

struct Case {
  const char* name;
  std::vector<Bytes> before;  // the records drawn before the fill
  Bytes fill;
};

std::vector<Case> Cases() {
  int32_t mid = kSide / 2, in = 16;
  Bytes red = Brush(1, kRed), useRed = Select(1);
  return {
      {"surface", {red, useRed}, FloodFill(mid, mid, kWhite, true)},
      // The same over a picture painted whole first, whose memory the system has handed over
      // already: an empty picture's pages are given on the fill's first write to each.
      {"surface_painted",
       {Select(kNullPen), Brush(2, kWhite), Select(2), Rectangle(0, 0, kSide + 1, kSide + 1), red,
        useRed},
       FloodFill(mid, mid, kWhite, true)},
      {"border",
       {Select(kNullBrush), Rectangle(in, in, kSide - in, kSide - in), red, useRed},
       FloodFill(mid, mid, kBlack, false)},
      // EMR_INTERSECTCLIPRECT to the picture's middle, 16000 pixels a side.
      {"clip_rect",
       {Record(30, {192, 192, uint32_t(kSide - 192), uint32_t(kSide - 192)}), red, useRed},
       FloodFill(mid, mid, kWhite, true)},
      // A vertical hatch (HS_VERTICAL, transparent background) from the ninth row down, filled
      // from the top row: every stripe of every row is a span.
      {"stripes",
       {Select(kNullPen), Record(18, {1}), Brush(2, kBlack, 2, 1), Select(2),
        Rectangle(0, 8, kSide, kSide), red, useRed},
       FloodFill(1, 1, kBlack, false)},
      // An elliptic clip path (BeginPath, Ellipse, EndPath, SelectClipPath with RGN_AND).
      {"clip_ellipse",
       {Record(59, {}), Record(42, {64, 64, uint32_t(kSide - 64), uint32_t(kSide - 64)}),
        Record(60, {}), Record(67, {1}), red, useRed},
       FloodFill(mid, mid, kWhite, true)},
  };
}

void Decode(benchmark::State& state, Bytes file) {
  for (auto _ : state) {
    std::vector<uint8_t> rgba;
    int w = 0, h = 0;
    if (!platform::imaging::DecodeImage(file.data(), file.size(), &w, &h, &rgba) || w != kSide) {
      state.SkipWithError("refused");
      break;
    }
    benchmark::DoNotOptimize(rgba.data());
  }
}

void Register() {
  for (const Case& c : Cases()) {
    std::vector<Bytes> withFill = c.before;
    withFill.push_back(c.fill);
    for (const char* set : {"ready/", "fill/"})
      benchmark::RegisterBenchmark((std::string(set) + c.name).c_str(), Decode,
                                   Emf(set[0] == 'r' ? c.before : withFill))
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->MeasureProcessCPUTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
