// The engine library "Kelvo Core.dll": the C-linkage Kv* functions the framework calls, the
// 8-byte object handle and the byte-exact records that cross the boundary. The engine owns every
// object behind a handle and every pointer its property queries return; callers never free them.
// Numbers are passed by their names in engine/numbers.h. All calls come from one thread.
//
// Conventions:
//  - Results: 1 success, 0 failure (bytes); counts and sizes are unsigned 32-bit values; queries
//    return pointers into the engine's storage, null for an unknown object or number.
//  - A handle with a set end flag or a value of 0 is no object. Destroy functions accept it, and
//    handles that are unknown or already destroyed, and do nothing.
//  - Angles are degrees. 2D is y-down: KvCameraOrtho(x, y, w, h, a) shows x..x+w left to right and
//    y..y+h top to bottom. Viewports and clip rectangles count y from the bottom of the target.
//  - Texture pixels are R, G, B, A bytes, rows packed, row 0 the top of the image (v = 0).
//
// The .kvt texture file (little-endian, 24-byte header, then the pixels):
//    offset 0   4 bytes  magic "KVT1"
//    offset 4   uint32   version, 1
//    offset 8   uint32   width in pixels, 1 to 16384
//    offset 12  uint32   height in pixels, 1 to 16384
//    offset 16  uint32   pixel format, 1 = RGBA, 8 bits per channel
//    offset 20  uint32   payload size in bytes, width * height * 4
//    offset 24  payload  the pixels, R G B A, top row first
//  A file must be exactly 24 + payload bytes long; a block in memory carries its size in the
//  header.
//  KvTextureLoad and KvTextureLoadFromMemory also read PNG, JPEG, BMP and TGA, recognised by their
//  first bytes, with the same size limit. The load option byte is accepted and has no effect.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/numbers.h"

// The window handle type of the window-system layer (platform/winapi/types.h declares it the same
// way).
struct HWND__;
typedef HWND__* HWND;

// ---- records crossing the boundary ------------------------------------------------------------

// An engine object handle: {end flag, 0, 2 unused bytes, 32-bit id}. Built empty (no object).
struct KV_HANDLE {
  uint8_t endFlag = 1;
  uint8_t second = 0;
  uint8_t unused[2] = {0, 0};
  uint32_t value = 0;

  // True when the handle names no object (end flag set or value 0).
  bool IsNull() const { return endFlag != 0 || value == 0; }
  // The id as the engine compares it: 0 for a null handle.
  uint32_t Id() const { return IsNull() ? 0 : value; }
  // Two handles are equal when they name the same object (every null handle is equal).
  bool operator==(const KV_HANDLE& other) const { return Id() == other.Id(); }
};
static_assert(sizeof(KV_HANDLE) == 8, "engine handles are 8 bytes");
static_assert(offsetof(KV_HANDLE, value) == 4, "the id sits in bytes 4 to 7");

// One vertex as KvDrawDataStruct reads it: 60 bytes, packed.
struct KV_VERTEX {
  float texCoord[4] = {0, 0, 0, 1};  // u, v, r, q
  float color[4] = {0, 0, 0, 1};     // r, g, b, a, 0 to 1
  float normal[3] = {0, 0, 0};       // x, y, z
  float position[4] = {0, 0, 0, 1};  // x, y, z, w
};
static_assert(sizeof(KV_VERTEX) == 60, "KV_VERTEX is 60 bytes");
static_assert(offsetof(KV_VERTEX, color) == 16 && offsetof(KV_VERTEX, normal) == 32 &&
                  offsetof(KV_VERTEX, position) == 44,
              "KV_VERTEX field offsets");

// One glyph of a font description: nine floats, pixels then texture coordinates (v down).
struct KV_GLYPH {
  float width = 0, height = 0, xoffset = 0, yoffset = 0, xadvance = 0;
  float texLeft = 0, texTop = 0, texRight = 0, texBottom = 0;
};
static_assert(sizeof(KV_GLYPH) == 36, "KV_GLYPH is 36 bytes");

// The font description record KvGenerateFont reads (9232 bytes). The framework's KV_FONT_DESC
// derives from it and adds its parsing functions.
struct KV_FONT_RECORD {
  float spacing = 0;       // extra horizontal advance after every character
  float lineSpacing = 0;   // extra height added to every line
  uint8_t lineBreak = 10;  // the line-break character
  uint8_t reserved[3] = {0, 0, 0};
  float lineHeight = 0;
  KV_GLYPH glyphs[256];  // indexed by unsigned character code
};
static_assert(sizeof(KV_FONT_RECORD) == 9232, "the font description record is 9232 bytes");
static_assert(offsetof(KV_FONT_RECORD, lineHeight) == 12 && offsetof(KV_FONT_RECORD, glyphs) == 16,
              "font description field offsets");

// Four doubles by value: the engine's view of the framework's KV_VECTOR_D and KV_ROTATION_D.
struct KV_DOUBLE4 {
  double x = 0, y = 0, z = 0, w = 0;
};
static_assert(sizeof(KV_DOUBLE4) == 32, "four doubles");

// Four floats by value: the engine's view of the framework's KV_VECTOR.
struct KV_FLOAT4 {
  float x = 0, y = 0, z = 0, w = 0;
};
static_assert(sizeof(KV_FLOAT4) == 16, "four floats");

extern "C" {

// ---- initiation and closure -------------------------------------------------------------------

// Registers the engine module "Kelvo Core.dll" and its resources; needs no window or GL. 1 on
// success.
uint8_t KvInitiation(void);
// Releases every engine object and the GL context. Safe to skip: nothing depends on it.
uint8_t KvClosure(void);
// Checks the GL entry points of the current context; 1 when every required one is present.
uint8_t KvExtensions(uint32_t option);

// ---- render targets and presentation ----------------------------------------------------------

// Makes a target drawing into the window: KV_FORMAT_OPAQUE or KV_FORMAT_ALPHA (per-pixel alpha,
// refused where the desktop cannot show it). Leaves *out null and returns 0 on failure.
uint8_t KvRenderTargetCreate(KV_HANDLE* out, HWND hwnd, uint32_t format, uint32_t colorBits,
                             uint32_t depthBits);
// Sets the target's size and viewport (x, y, w, h), field of view, depth range and extra value.
uint8_t KvRenderTargetArea(KV_HANDLE rt, int32_t x, int32_t y, int32_t w, int32_t h,
                           double fieldOfView, double rangeNear, double rangeFar, double extra);
// Shares objects between two targets: every target shares one GL context, so this only checks both.
uint8_t KvRenderTargetShare(KV_HANDLE rt, KV_HANDLE share);
// Makes rt current and applies the viewport now stored in its properties KV_RT_VIEWPORT_X to
// KV_RT_VIEWPORT_H.
uint8_t KvRenderTargetActivate(KV_HANDLE rt);
// Re-creates the target's buffers in the new format at its window's present size.
uint8_t KvRenderTargetChange(KV_HANDLE rt, uint32_t format);
// Destroys the target; null and unknown handles do nothing.
void KvRenderTargetDestroy(KV_HANDLE rt);
// Pointer to a live property (KV_RT_*) of the target; null for an unknown target or number.
void* KvRenderTargetGet(KV_HANDLE rt, uint32_t property);
// Presents the current target (KV_SCENE_PRESENT or KV_SCENE_SWAP), then clears (KV_SCENE_CLEAR_*).
uint8_t KvRenderScene(uint32_t flags);
// Turns vertical sync on or off for the current target; 1 only when presenting really waits.
uint8_t KvRenderVsync(uint8_t on);

// ---- states -----------------------------------------------------------------------------------

// Sets a state: whole numbers (int) or doubles for colours and sizes, as engine/numbers.h says per
// state. 0 for an unknown state number or a value outside the state's range.
uint8_t KvSetState(uint32_t state, ...);
// Pointer to the state's storage (16: the current target's handle); null for an unknown number.
void* KvGetState(uint32_t state);

// ---- matrices and cameras ---------------------------------------------------------------------

// Pushes a copy of the current matrix; 0 when the stack is full.
uint8_t KvMatrixPush(void);
// Pops the current matrix; 0 when only the base matrix is left.
uint8_t KvMatrixPop(void);
uint8_t KvMatrixIdentity(void);
uint8_t KvMatrixTranslate(double x, double y, double z);
// Multiplies the current matrix by a rotation of angle degrees about the axis (x, y, z).
uint8_t KvMatrixRotate(double angle, double x, double y, double z);
uint8_t KvMatrixScale(double x, double y, double z);
// Selects the current matrix: KV_MATRIX_PROJECTION or KV_MATRIX_MODELVIEW; 0 for another number.
uint8_t KvMatrixMode(uint32_t mode);
// Replaces the current matrix with m (16 doubles, column-major).
uint8_t KvMatrixLoad(const double* m);
// Copies the matrix of mode (KV_MATRIX_*) into out (16 doubles), leaving the current mode alone.
uint8_t KvMatrixSave(uint32_t mode, double* out);
// Sets the projection to the y-down view of (x, y, w, h) turned by angle degrees about its centre;
// depth from the current target's range (KV_RT_RANGE_NEAR, KV_RT_RANGE_FAR). The model-view matrix
// becomes current.
uint8_t KvCameraOrtho(double x, double y, double w, double h, double angle);
// Writes the matrix KvCameraOrtho would set into out (16 doubles, column-major).
uint8_t KvCameraOrthoBuild(void* out, double x, double y, double w, double h, double angle);
// The same in floats: out receives 16 floats.
uint8_t KvCameraOrthoBuildHalf(void* out, float x, float y, float w, float h, float angle);
// Sets a perspective projection (KV_RT_FIELD_OF_VIEW and the depth range of the current target)
// looking from position, turned by rotation (x about z, y about y, z about x). A non-zero option
// makes y point down on the screen, as in 2D. 0 when the range does not satisfy 0 < near < far.
uint8_t KvCameraPerspective(KV_DOUBLE4 rotation, KV_DOUBLE4 position, uint8_t option);
// Writes the matrix KvCameraPerspective would set into out (16 doubles).
uint8_t KvCameraPerspectiveBuild(void* out, KV_DOUBLE4 rotation, KV_DOUBLE4 position,
                                 uint8_t option);
// The same with the position in floats; out receives 16 floats.
uint8_t KvCameraPerspectiveBuildHalf(void* out, KV_DOUBLE4 rotation, KV_FLOAT4 position,
                                     uint8_t option);

// ---- vector math ------------------------------------------------------------------------------

// Writes the vector of length rotation.w turned by the angles (x in the plane, y, z) into *out:
// KvLengthdir((a, 0, 0, L)) is where KvMatrixRotate(a, 0, 0, 1) takes (L, 0, 0).
void KvLengthdir(KV_DOUBLE4 rotation, KV_DOUBLE4* out);
// Writes the angles from one point to another into *out, so that KvLengthdir of them with the
// distance gives to - from.
void KvDirection(KV_DOUBLE4 from, KV_DOUBLE4 to, KV_DOUBLE4* out);

// ---- textures ---------------------------------------------------------------------------------

// Fills *out with a new empty texture; leaves it null and returns 0 on failure.
uint8_t KvTextureCreate(KV_HANDLE* out);
void KvTextureDestroy(KV_HANDLE tex);
// Fills the texture from a file (.kvt, PNG, JPEG, BMP, TGA; "\" read as "/"), leaving it current.
uint8_t KvTextureLoad(KV_HANDLE tex, const char* path, uint8_t option);
// The same from a block in memory that says its own length; leaves the texture current.
uint8_t KvTextureLoadFromMemory(KV_HANDLE tex, const void* block, uint8_t option);
// Fills the texture from w x h RGBA pixels (top row first); leaves it current.
uint8_t KvTextureLoadRGBAFromMemory(KV_HANDLE tex, const void* rgba, uint32_t w, uint32_t h);
// Makes the texture w x h transparent black pixels; leaves it current. option is not used.
uint8_t KvTextureLoadEmpty(KV_HANDLE tex, int32_t w, int32_t h, uint32_t option);
// Copies the current target's pixels between the corners (x1, y1) and (x2, y2), window pixels
// with y down, into the texture (row 0 the top); leaves it current. flag is not used.
uint8_t KvTextureFromRender(KV_HANDLE tex, uint32_t x1, uint32_t y1, uint32_t x2, uint32_t y2,
                            uint8_t flag);
// Makes the texture current on the current unit; 0 for a null, unknown or unfilled texture.
uint8_t KvTextureActivate(KV_HANDLE tex);
// Leaves no texture current on the current unit (target KV_TEXTURE_TARGET).
uint8_t KvTextureUnactivate(uint32_t target);
// Selects the texture unit later activations act on; 0 beyond the units the engine has.
uint8_t KvTextureUnit(uint32_t unit);
// Sets a parameter of the current texture: KV_TEX_MIN_FILTER / KV_TEX_MAG_FILTER with
// KV_FILTER_*, KV_TEX_WRAP_S / KV_TEX_WRAP_T with KV_WRAP_*.
uint8_t KvTextureParameter(uint32_t parameter, float value);
// Pointer to a uint32 property (KV_TEX_WIDTH, KV_TEX_HEIGHT, KV_TEX_LOCKED_SIZE); null when
// unknown.
void* KvTextureGet(KV_HANDLE tex, uint32_t property);
// A copy of the pixels (R, G, B, A, row 0 the top) valid until KvTextureUnlock; null on failure.
void* KvTextureLock(KV_HANDLE tex, uint32_t mode);
// Releases the locked copy; KV_UNLOCK_UPLOAD first uploads the (edited) copy into the texture.
uint8_t KvTextureUnlock(KV_HANDLE tex, uint8_t option);

// ---- drawing ----------------------------------------------------------------------------------

// Draws count vertices from first (or count indices into vertices) as prim (KV_PRIM_*),
// textured by the current texture times each vertex's colour. The last six values are unused.
uint8_t KvDrawDataStruct(uint32_t prim, uint32_t first, uint32_t count, const KV_VERTEX* vertices,
                         const uint32_t* indices, uint32_t unused6, uint32_t unused7,
                         uint32_t unused8, uint32_t unused9, uint32_t unused10, uint32_t unused11);
// Draws from separate arrays of four-component vectors: elementType KV_ELEMENT_FLOAT or
// KV_ELEMENT_DOUBLE, strides in bytes (0 packed), components 0 or 4. A null colour array takes
// KV_STATE_DRAW_COLOR. With a buffer flag (the 19th to 22nd values) set, that array is a byte
// offset into the active vertex part; with indexed (the 23rd) set, count indices are read from the
// active index part from index first. Such draws go to GL straight from the buffers
// (engine/vertexbuffers/vertexbuffer_api.h).
uint8_t KvDrawData(uint32_t prim, uint32_t first, uint32_t count, const void* positions,
                   const void* colors, const void* texCoords, const void* normals,
                   const void* unused8, const void* unused9, uint32_t elementType,
                   uint32_t positionStride, uint32_t colorStride, uint32_t texCoordStride,
                   uint32_t normalStride, uint32_t unused15, uint32_t unused16, uint32_t components,
                   uint32_t unused18, uint32_t positionInBuffer, uint32_t colorInBuffer,
                   uint32_t texCoordInBuffer, uint32_t normalInBuffer, uint32_t indexed);
// Starts an immediate primitive; 0 for an unknown kind or one already started.
uint8_t KvPrimitiveBegin(uint32_t prim);
// Sets the texture coordinate of the vertices put after it.
void KvPutTexvertex(KV_DOUBLE4 texCoord);
// Adds a vertex with the current texture coordinate and draw colour (KV_STATE_DRAW_COLOR).
void KvPutVertex(KV_DOUBLE4 position);
// Draws the vertices put since KvPrimitiveBegin; 0 when none was started.
uint8_t KvPrimitiveEnd(void);

// ---- fonts ------------------------------------------------------------------------------------

// Makes a glyph table from desc (copied), or the fixed metrics of KV_STATE_TEXT_METRICS when desc
// is null.
uint8_t KvGenerateFont(KV_HANDLE* displayList, const KV_FONT_RECORD* desc);
// Draws text with the current texture and draw colour, its first line's top-left at the origin
// of the current transform, breaking lines at the character of KV_STATE_LINE_BREAK.
uint8_t KvDrawFont(KV_HANDLE displayList, const char* text);
void KvDisplaylistDestroy(KV_HANDLE displayList);

}  // extern "C"

// Virtual-file archives: the entry and file records and the KvVirtualFile* calls.
#include "engine/archives/archive_api.h"

// Sockets: TCP endpoints on POSIX sockets, the KvSocket* calls.
#include "engine/sockets/socket_api.h"

// Shader programs: GLSL shaders and programs, ARB vertex and fragment programs, the KvShader*
// calls.
#include "engine/shaders/shader_api.h"

// Frame buffers: drawing into textures, the KvFrameBuffer* calls.
#include "engine/framebuffers/framebuffer_api.h"

// Vertex buffers: meshes in GL buffer objects, the KvVertexBuffer* calls.
#include "engine/vertexbuffers/vertexbuffer_api.h"

// The script compiler and runtime: languages, compiled programs, the KvVistrel* calls.
#include "engine/script/script_api.h"

// Soft bodies: substances, covalence forces and surfaces linked into bodies, the KvDna*,
// KvSubstance*, KvCovalenceForce* and KvSurface* calls.
#include "engine/softbody/softbody_api.h"
