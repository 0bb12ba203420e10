// The game's data files as the generator makes them, in memory: each file's name inside data/
// and its bytes. make_data writes them to a folder; a test compares them with the committed
// data/, so the generator and the files the game ships cannot drift apart unnoticed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace data {

struct DataFile {
  std::string name;  // the file's name inside data/, e.g. "1.kvt"
  std::vector<uint8_t> bytes;
};

// The twelve sprite textures and the font texture ("1.kvt" to "13.kvt") and the font
// description "5.fnt", in that order.
std::vector<DataFile> GameDataFiles();

}  // namespace data
