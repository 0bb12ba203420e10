// KV_FONT: a bitmap font. It owns a font texture, the engine display list made from it and, for
// a font loaded with a description, the glyph metrics (KV_FONT_DESC); without a description the
// engine's fixed text metrics apply. Text is printed in one piece or line by line, aligned
// horizontally and vertically around the position.
#pragma once

#include "engine/kv_engine.h"
#include "foundation/vector.h"
#include "graphics/font_desc.h"

class KV_FONT {
 public:
  unsigned char loaded;   // set by a successful load; cleared by Destroy
  int valign;             // vertical alignment of printed text: -1 top, 0 centre, 1 bottom
  int halign;             // horizontal alignment: -1 left, 0 centre, 1 right
  KV_HANDLE texture;      // the font texture
  KV_HANDLE displayList;  // the display list made by KvGenerateFont
  KV_FONT_DESC* desc;     // the metrics, owned; null for a font without description

  // Not loaded, aligned top left.
  KV_FONT();
  // A copy has a description of its own; the engine objects are shared by handle.
  KV_FONT(const KV_FONT& other);
  KV_FONT& operator=(const KV_FONT& other);
  // Frees the description. The engine objects are released by Destroy (or the engine's closure).
  ~KV_FONT();

  // Loads the texture file and, when descFile is given, the description, then makes the display
  // list; lineBreak becomes the engine's line-break character. False on any failure.
  bool Load(const char* textureFile, const char* descFile, unsigned char lineBreak, int minFilter,
            int magFilter);
  // The same from an image block in memory and a description text of descLength bytes (used only
  // when both are given).
  bool LoadFromMemory(const void* image, const char* descText, unsigned int descLength,
                      unsigned char lineBreak, int minFilter, int magFilter);
  // As Load, with the texture read from an image file (PNG, JPEG, BMP, TGA, GIF) through the
  // imaging interface (image_files.h). False on any failure.
  bool LoadImage(const char* imageFile, const char* descFile, unsigned char lineBreak,
                 int minFilter, int magFilter);
  // Draws text placed at position, scaled and turned in the current transform; nothing for a
  // null text or a font without texture or display list.
  void Print(const char* text, KV_VECTOR_D position, KV_VECTOR_D scale, KV_VECTOR_D rotation);
  // (width, height, 0, 1) of text in pixels before scaling; (0, 0, 0, 1) for a null text.
  KV_VECTOR_D Measure(const char* text) const;
  // Releases the texture, the display list and the description when loaded.
  void Destroy();
  // loaded := value.
  void SetLoaded(unsigned char value) { loaded = value; }
  // Sets the engine's fixed text metrics: character width, height, horizontal and vertical spacing.
  static void SetState95(double width, double height, double hspacing, double vspacing);

 private:
  // The steps both loads share after the texture is filled: filters, description, display list.
  bool FinishLoad(int minFilter, int magFilter, const char* descFile, const char* descText,
                  unsigned int descLength);
  // Draws one piece of text with the push, placement, offset and pop of a print.
  void DrawPiece(const char* text, const KV_VECTOR_D& position, const KV_VECTOR_D& scale,
                 const KV_VECTOR_D& rotation, const double* offset);
};
