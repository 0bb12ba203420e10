// KV_FONT_DESC: the metrics of a bitmap font, read from a font description text of "common" and
// "char" lines, laid out exactly as the engine's font record (9232 bytes) so that it is handed to
// KvGenerateFont as it stands. It holds values only; nothing is borrowed.
#pragma once

#include "engine/kv_engine.h"

struct KV_FONT_DESC : KV_FONT_RECORD {
  // Reads the file at path whole and parses it; false when it cannot be read or parsed.
  bool Load(const char* path);
  // Parses a description of length bytes; false for a null text, length 0 or no line. Glyphs and
  // the line height are set from the lines read; other lines and keys are ignored.
  bool Parse(const char* text, unsigned int length);
};
static_assert(sizeof(KV_FONT_DESC) == 9232, "KV_FONT_DESC is the engine's 9232-byte font record");
