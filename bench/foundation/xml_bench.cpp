// Reading a few megabytes of theme-like markup (styles with attributes, textures,
// fonts, skins with text) with KV_XML::Parse, and the same text with two common
// readers for comparison. Each iteration builds a document and destroys it again.
// The KV_XML row also prints its speed relative to the faster common reader.
#include "foundation/xml.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <tinyxml2.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

// About 4 MB of markup in the shape of a GUI theme file, with CR LF line ends and
// tab indentation as an editor writes them.
const std::string& ThemeText() {
  static std::string text;
  if (!text.empty()) return text;
  text = "<Theme Name=\"Default\">\r\n";
  for (int i = 0; text.size() < (4u << 20); ++i) {
    std::string n = std::to_string(i);
    text +=
        "\t<Texture Name=\"tex" + n + "\" File=\"data/gui/skin" + n + ".png\" Filter=\"1\" />\r\n";
    text += "\t<Font Name=\"font" + n + "\" Texture=\"tex" + n +
            "\" Description=\"data/gui/font.fnt\" />\r\n";
    text += "\t<Style Name=\"Button" + n + "\" Texture=\"tex" + n + "\">\r\n";
    text +=
        "\t\t<Area Id=\"0\" Coordinates=\"0:0:0.25:0.25\" Tile=\"0\" "
        "Colors=\"ffffffff:ffffffff:ffcccccc:ffcccccc\" />\r\n";
    text += "\t\t<Area Id=\"4\" Coordinates=\"0.25:0.25:0.5:0.5\" Tile=\"1\" />\r\n";
    text += "\t\t<Text Font=\"font" + n +
            "\" Offset=\"2:1\" Scale=\"1\" Color=\"ff202020\" Align=\"center\" />\r\n";
    text += "\t\t<Border>4:4:4:4</Border>\r\n";
    text += "\t</Style>\r\n";
    text += "\t<Skin Name=\"skin" + n + "\">\r\n";
    text += "\t\t<Part Name=\"AreaActive\">Button" + n + "</Part>\r\n";
    text += "\t\t<Part Name=\"BarBackH\">Button" + n + "</Part>\r\n";
    text += "\t</Skin>\r\n";
  }
  text += "</Theme>\r\n";
  return text;
}

bool ParseWithKvXml(const std::string& text) {
  KV_XML xml;
  return xml.Parse(text.data(), (unsigned int)text.size(), " \t\n\r", true);
}

bool ParseWithPugixml(const std::string& text) {
  pugi::xml_document doc;
  return doc.load_buffer(text.data(), text.size());
}

double SecondsOf(bool (*parse)(const std::string&), const std::string& text) {
  auto start = std::chrono::steady_clock::now();
  bool ok = parse(text);
  benchmark::DoNotOptimize(ok);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// KV_XML::Parse timed alone (the reported time), each iteration paired with one pugixml read of
// the same text, in alternating order, so that the load of a shared machine weighs on both alike.
// "vs_pugixml" is the median pugixml time over the median KV_XML time: above 1 means faster.
void KvXmlParse(benchmark::State& state) {
  const std::string& text = ThemeText();
  std::vector<double> own;
  std::vector<double> peer;
  for (auto _ : state) {
    bool peerFirst = own.size() % 2 == 1;
    if (peerFirst) peer.push_back(SecondsOf(ParseWithPugixml, text));
    own.push_back(SecondsOf(ParseWithKvXml, text));
    if (!peerFirst) peer.push_back(SecondsOf(ParseWithPugixml, text));
    state.SetIterationTime(own.back());
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
  if (!own.empty()) state.counters["vs_pugixml"] = Median(peer) / Median(own);
}
BENCHMARK(KvXmlParse)->Unit(benchmark::kMillisecond)->UseManualTime();

void Tinyxml2Parse(benchmark::State& state) {
  const std::string& text = ThemeText();
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLError error = doc.Parse(text.data(), text.size());
    benchmark::DoNotOptimize(error);
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
}
BENCHMARK(Tinyxml2Parse)->Unit(benchmark::kMillisecond);

void PugixmlParse(benchmark::State& state) {
  const std::string& text = ThemeText();
  for (auto _ : state) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    benchmark::DoNotOptimize(result);
  }
  state.SetBytesProcessed(state.iterations() * (int64_t)text.size());
}
BENCHMARK(PugixmlParse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
