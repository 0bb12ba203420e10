// The committed data/ against the data generator: the same files, byte for byte. When a drawing
// changes, remake the files with `build/tools/data/make_data data` from the top folder and commit
// them with the change.
#include "tools/data/game_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const std::filesystem::path kDataFolder = std::filesystem::path(KV_SOURCE_ROOT) / "data";

std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "" when equal; else where the two first differ, for a failure message that says more than
// "not equal" about a 2-megabyte texture.
std::string FirstDifference(const std::vector<uint8_t>& made, const std::vector<uint8_t>& kept) {
  if (made == kept) return "";
  auto [m, k] = std::mismatch(made.begin(), made.end(), kept.begin(), kept.end());
  return "the generator makes " + std::to_string(made.size()) + " bytes, data/ holds " +
         std::to_string(kept.size()) + "; they first differ at byte " +
         std::to_string(m - made.begin());
}

}  // namespace

TEST(GameData, CommittedFilesEqualWhatTheGeneratorMakes) {
  std::vector<data::DataFile> files = data::GameDataFiles();
  ASSERT_EQ(files.size(), 14u);
  for (const data::DataFile& file : files) {
    std::filesystem::path path = kDataFolder / file.name;
    ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path << " is missing";
    EXPECT_EQ(FirstDifference(file.bytes, ReadFile(path)), "") << "in " << path;
  }
}

TEST(GameData, FolderHoldsNothingTheGeneratorDoesNotMake) {
  std::set<std::string> made;
  for (const data::DataFile& file : data::GameDataFiles()) made.insert(file.name);
  std::set<std::string> kept;
  for (const auto& entry : std::filesystem::directory_iterator(kDataFolder))
    kept.insert(entry.path().filename().string());
  EXPECT_EQ(kept, made);
}
