// KV_SPRITE: the framework's textured quad. It holds a list of animation frames (engine
// textures), the frame being drawn, a pixel size with a pivot (the drawing origin), a collision
// rectangle and four KV_VERTEX with texture coordinates, colour, normal and position.
// A sprite that a loader filled is "loaded" and owns its frame textures: Destroy(0) frees them.
// A copy of a sprite gets its own frame list (same textures, same frame selected) but owns no
// texture: it is not loaded, so nothing a copy does can free the textures the original shows.
#pragma once

#include <cstdint>

#include "engine/kv_engine.h"
#include "foundation/list.h"
#include "foundation/vector.h"

class KV_SPRITE {
 public:
  uint8_t loaded = 0;                        // set by the loaders; Destroy(0) frees textures
  KV_LIST<KV_HANDLE> frames;                 // the animation frames in order
  KV_LIST_ITERATOR<KV_HANDLE> currentFrame;  // the frame drawn; end when none is selected
  float framePosition = -1.0f;               // frame cursor in frame units; -1 without a frame
  int32_t stripCount = 0;                    // cells side by side in each texture (0, 1: none)
  float stripPosition = 0;                   // position within the strip, in cells
  int32_t width = 0;                         // frame width in pixels (one cell with a strip)
  int32_t height = 0;                        // frame height in pixels
  int32_t pivotX = 0, pivotY = 0;            // drawing origin from the frame's top-left
  int32_t boxWidth = 0, boxHeight = 0;       // collision rectangle size
  int32_t boxX = 0, boxY = 0;                // collision rectangle origin, measured like the pivot
  KV_VERTEX vertices[4];                     // top-left, top-right, bottom-right, bottom-left

  // An empty sprite: no frames, white vertices facing +z, texture coordinates over the quad.
  KV_SPRITE();
  // Copies every field; the copy's frame list is its own and selects the same frame, and the
  // copy is not loaded (it never frees the textures it shows).
  KV_SPRITE(const KV_SPRITE& other);
  KV_SPRITE& operator=(const KV_SPRITE& other);
  // Moves hand the frames and the ownership of the textures over; the source is left empty.
  KV_SPRITE(KV_SPRITE&& other) noexcept;
  KV_SPRITE& operator=(KV_SPRITE&& other) noexcept;
  // Frees the frame list only, never the textures.
  ~KV_SPRITE() = default;

  // ---- loaders (sprite_load.cpp) ----
  // The six trailing integers are pivotX, pivotY, boxWidth, boxHeight, boxX, boxY; a negative
  // box size takes the frame size and the pivot. Sources that cannot be loaded are skipped.

  // One frame per file of a ";"-separated list; false only for a null list.
  bool Load(const char* files, uint8_t loadOption, float minFilter, float magFilter, int32_t pivotX,
            int32_t pivotY, int32_t boxWidth, int32_t boxHeight, int32_t boxX, int32_t boxY);
  // One frame per non-null block (texture files in memory); false for a null array or count < 1.
  bool LoadFromMemory(const void* const* blocks, int32_t count, uint8_t loadOption, float minFilter,
                      float magFilter, int32_t pivotX, int32_t pivotY, int32_t boxWidth,
                      int32_t boxHeight, int32_t boxX, int32_t boxY);
  // One frame copied from the area (x1, y1, x2, y2) of the current render; always true.
  bool LoadFromRender(uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2, float minFilter,
                      float magFilter, int32_t pivotX, int32_t pivotY, int32_t boxWidth,
                      int32_t boxHeight, int32_t boxX, int32_t boxY);
  // One frame per image file (PNG, JPEG, BMP, TGA, GIF) of a ";"-separated list, read through
  // the imaging interface (image_files.h); false only for a null list.
  bool LoadImages(const char* files, float minFilter, float magFilter, int32_t pivotX,
                  int32_t pivotY, int32_t boxWidth, int32_t boxHeight, int32_t boxX, int32_t boxY);
  // One empty frame of w x h pixels; false when w < 1 or h < 1.
  bool LoadEmpty(int32_t w, int32_t h, float minFilter, float magFilter, int32_t pivotX,
                 int32_t pivotY, int32_t boxWidth, int32_t boxHeight, int32_t boxX, int32_t boxY);

  // ---- frames and animation (sprite_frames.cpp) ----

  // Appends a frame; false for a null handle.
  bool AddFrame(KV_HANDLE texture);
  // Removes the first frame with that texture (not destroying it); false for a null handle or
  // when no frame matches. Removing the selected frame leaves no frame selected.
  bool RemoveFrame(KV_HANDLE texture);
  // Number of frames.
  uint32_t GetFrameCount() const;
  // Selects frame trunc(index); false, and no frame selected, for an index outside the list.
  bool SetFrame(float index);
  // The selected frame's texture; the null handle when none is selected.
  KV_HANDLE GetTexture() const;
  // The selected frame's stored handle; null when none is selected.
  KV_HANDLE* GetFramePtr() const;
  float GetFramePosition() const;
  // Moves the frame cursor by delta frames, wrapping at both ends of the list.
  void Animate(float delta);
  // Moves through the strip by delta cells, wrapping, and updates the texture coordinates.
  void AnimateTime(float delta);

  // ---- geometry and colour (sprite.cpp) ----

  // The same colour (0 to 1) on all four vertices.
  void SetColor(float r, float g, float b, float a);
  // The colour of vertex 0.
  KV_VECTOR GetColor() const;
  // Puts the pivot at the frame's centre (whole pixels) and updates the vertex positions.
  void CenterPivot();
  // The collision rectangle becomes the frame rectangle around the pivot.
  void ResetRect();
  // Vertex positions from width, height and pivot.
  void UpdateSize();
  // Texture coordinates from the strip (the whole texture without one).
  void UpdateCoords();
  // Locks the selected frame's pixels (R, G, B, A, top row first) and writes its size to the
  // outputs given; null when the engine cannot lock it.
  void* Lock(int32_t* outWidth = nullptr, int32_t* outHeight = nullptr);
  // Unlocks the selected frame (option 1 keeps the edits); the engine's result.
  uint8_t Unlock(uint8_t option);
  // Marks the sprite as owning its textures (1) or not (0).
  void SetLoaded(uint8_t value);
  // Empties the frame list; unless keepTextures is set, a loaded sprite destroys the textures.
  void Destroy(uint8_t keepTextures);

  // ---- drawing (sprite_draw.cpp) ----

  // Draws the selected frame with its pivot at position, turned (degrees; x in the plane) and
  // scaled about the pivot. Nothing without a selected frame.
  void Draw(KV_VECTOR_D position, KV_VECTOR_D rotation, KV_VECTOR_D scale);
  // Draws the selected frame over the rectangle a..b with texture coordinates 0..u, 0..v.
  void DrawRect(KV_VECTOR a, KV_VECTOR b, float u, float v);
  // Draws the selected frame tiled over the rectangle a..b, repeating every frame size divided
  // by the factors.
  void DrawEx(KV_VECTOR a, KV_VECTOR b, float repeatX, float repeatY);

  // ---- saving (sprite_save.cpp) ----

  // Writes the selected frame's raw locked bytes to a file; false when it cannot be locked or
  // the file cannot be written.
  bool SaveFrame(const char* path);
  // Writes every frame that can be locked into an archive, entries named "0", "1", ... in
  // order; frames that cannot be locked are skipped. The archive save's result.
  bool SaveFrames(const char* path);

 private:
  // What fills one freshly created texture from source i; true on success.
  typedef bool (*FILL)(KV_HANDLE texture, const void* context, uint32_t i);
  // The loaders' shared body: create, fill, set filters and add a frame per source, then
  // select the first frame and settle sizes, pivot, box, strip and vertices.
  void LoadSources(uint32_t sourceCount, FILL fill, const void* context, bool activateAfterFill,
                   float minFilter, float magFilter, const int32_t six[6]);
  // currentFrame := the frame at index in this sprite's own list (end when out of range).
  void SelectIndex(int64_t index);
  // Index of the selected frame in the list; -1 when none.
  int64_t SelectedIndex() const;
  // Copies every field but the frame list and the selection.
  void CopyValues(const KV_SPRITE& other);
};
