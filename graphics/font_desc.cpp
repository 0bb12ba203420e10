// KV_FONT_DESC: the font description parser. The text is cut into lines at any run of "\r" and
// "\n", each line into tokens at runs of spaces and tabs (not inside double quotes, which stay in
// the token); the first token is the keyword, every later one a key=value field whose value is a
// 32-bit whole number. Only "common" (lineHeight, scaleW, scaleH) and "char" (id, x, y, width,
// height, xoffset, yoffset, xadvance) are read; other keywords and keys, as other tools write
// them ("info", "page", "kerning", face names in quotes), are passed over.
#include "graphics/font_desc.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/runtime/file_open.h"
#include "foundation/string.h"

namespace {

// The values of a "common" line; they persist over the lines that follow.
struct Scale {
  int lineHeight = 0;
  int scaleW = 0;
  int scaleH = 0;
};

// The values of one "char" line, each 0 unless the line gives it.
struct CharLine {
  int id = 0, x = 0, y = 0, width = 0, height = 0, xoffset = 0, yoffset = 0, xadvance = 0;
};

struct Field {
  const char* key;
  int* value;
};

// Finds the field's key in the table and decodes its value as a whole number; unknown keys and
// tokens without "=" change nothing.
void ReadField(const KV_STRING& token, const Field* fields, unsigned int fieldCount) {
  const char* equals = strchr(token.text, '=');
  if (equals == nullptr) return;
  size_t keyLength = (size_t)(equals - token.text);
  for (unsigned int i = 0; i < fieldCount; ++i) {
    if (strlen(fields[i].key) == keyLength && memcmp(fields[i].key, token.text, keyLength) == 0) {
      KV_STRING value(equals + 1);
      int decoded = 0;
      if (value.Decode(&decoded, 'i')) *fields[i].value = decoded;
      return;
    }
  }
}

void ReadFields(const KV_STRING* tokens, unsigned int count, const Field* fields,
                unsigned int fieldCount) {
  for (unsigned int i = 1; i < count; ++i) ReadField(tokens[i], fields, fieldCount);
}

// A texture coordinate in double precision; 0 while the "common" line's scale is unknown.
float TexCoord(int pixel, int scale) {
  return scale != 0 ? (float)((double)pixel / (double)scale) : 0.0f;
}

void ReadCommon(const KV_STRING* tokens, unsigned int count, Scale& scale, KV_FONT_DESC& desc) {
  const Field fields[] = {
      {"lineHeight", &scale.lineHeight}, {"scaleW", &scale.scaleW}, {"scaleH", &scale.scaleH}};
  ReadFields(tokens, count, fields, 3);
  desc.lineHeight = (float)scale.lineHeight;
}

void ReadChar(const KV_STRING* tokens, unsigned int count, const Scale& scale, KV_FONT_DESC& desc) {
  CharLine c;
  const Field fields[] = {{"id", &c.id},
                          {"x", &c.x},
                          {"y", &c.y},
                          {"width", &c.width},
                          {"height", &c.height},
                          {"xoffset", &c.xoffset},
                          {"yoffset", &c.yoffset},
                          {"xadvance", &c.xadvance}};
  ReadFields(tokens, count, fields, 8);
  if (c.id < 0 || c.id > 255) return;
  KV_GLYPH& g = desc.glyphs[c.id];
  g.width = (float)c.width;
  g.height = (float)c.height;
  g.xoffset = (float)c.xoffset;
  g.yoffset = (float)c.yoffset;
  g.xadvance = (float)c.xadvance;
  // Sums in 64 bits: a hostile description may give values near the 32-bit limits.
  g.texLeft = TexCoord(c.x, scale.scaleW);
  g.texTop = TexCoord(c.y, scale.scaleH);
  g.texRight = scale.scaleW != 0 ? (float)(((double)c.x + c.width) / scale.scaleW) : 0.0f;
  g.texBottom = scale.scaleH != 0 ? (float)(((double)c.y + c.height) / scale.scaleH) : 0.0f;
}

void ReadLine(const KV_STRING& line, Scale& scale, KV_FONT_DESC& desc) {
  unsigned int count = 0;
  KV_STRING* tokens = line.Split(" \t", count, "\"");
  if (count > 0) {
    if (tokens[0] == "common")
      ReadCommon(tokens, count, scale, desc);
    else if (tokens[0] == "char")
      ReadChar(tokens, count, scale, desc);
  }
  delete[] tokens;
}

}  // namespace

bool KV_FONT_DESC::Load(const char* path) {
  FILE* file = KvOpenFile(path, "rb");
  if (file == nullptr) return false;
  long length = -1;
  if (fseek(file, 0, SEEK_END) == 0) length = ftell(file);
  char* block = nullptr;
  bool read = false;
  if (length > 0 && length <= 0x7FFFFFFF && fseek(file, 0, SEEK_SET) == 0) {
    block = new (std::nothrow) char[length];
    read = block != nullptr && fread(block, 1, (size_t)length, file) == (size_t)length;
  }
  fclose(file);
  bool parsed = read && Parse(block, (unsigned int)length);
  delete[] block;
  return parsed;
}

bool KV_FONT_DESC::Parse(const char* text, unsigned int length) {
  if (text == nullptr || length == 0) return false;
  unsigned int lineCount = 0;
  KV_STRING* lines = KvSplitBuffer(text, length, "\r\n", lineCount, nullptr);
  Scale scale;
  for (unsigned int i = 0; i < lineCount; ++i) ReadLine(lines[i], scale, *this);
  delete[] lines;
  return lineCount > 0;
}
