// Every number that crosses the engine boundary, by name: primitives, states, properties, modes.
// Both sides write them by these names: the engine's tables that give each number its meaning,
// and every caller. Searching for a name finds its table row and its callers; the call trace
// still records the plain values. Several meanings share a value (2 is both "clear colour" for
// KvRenderScene and "32-bit floats" for KvDrawData): the name says which call reads it.
#pragma once

#include <cstdint>

enum KV_ENGINE_NUMBER : uint32_t {
  // ---- KvRenderScene flags: present first, then clear -------------------------------------------
  KV_SCENE_PRESENT = 1,      // present the current target
  KV_SCENE_CLEAR_COLOR = 2,  // clear the colour buffer (inside the clip rectangle when on)
  KV_SCENE_CLEAR_DEPTH = 4,
  KV_SCENE_CLEAR_STENCIL = 8,
  KV_SCENE_CLEAR_ACCUM = 16,    // no accumulation buffer exists: accepted, does nothing
  KV_SCENE_SWAP = 32,           // present the current target
  KV_SCENE_LAYERED = 64,        // present with per-pixel alpha to a window that shows it
  KV_SCENE_FRAME = 35,          // the game's frame end: SWAP | CLEAR_COLOR | PRESENT
  KV_SCENE_LAYERED_FRAME = 99,  // the intro's frame end: KV_SCENE_FRAME | LAYERED

  // ---- primitive kinds (KvDrawDataStruct, KvDrawData, KvPrimitiveBegin) -------------------------
  KV_PRIM_POINTS = 4,
  KV_PRIM_LINE_LOOP = 6,
  KV_PRIM_TRIANGLES = 8,
  KV_PRIM_TRIANGLE_FAN = 10,
  KV_PRIM_QUADS = 11,

  // ---- KvDrawData element types -----------------------------------------------------------------
  KV_ELEMENT_FLOAT = 2,   // arrays of 32-bit floats
  KV_ELEMENT_DOUBLE = 3,  // arrays of doubles

  // ---- KvGetState only --------------------------------------------------------------------------
  KV_STATE_RENDER_TARGET = 16,  // the current render target's handle (8 bytes)

  // ---- render target formats (KvRenderTargetCreate, KvRenderTargetChange, KV_RT_FORMAT) ---------
  KV_FORMAT_OPAQUE = 81,  // colour without alpha
  KV_FORMAT_ALPHA = 82,   // colour with per-pixel alpha for layered windows

  // ---- KvSetState / KvGetState ------------------------------------------------------------------
  KV_STATE_TEXT_METRICS = 95,     // four doubles: fixed character width, height, spacings
  KV_STATE_TEXT_WIDTH = 96,       // double
  KV_STATE_TEXT_HEIGHT = 97,      // double
  KV_STATE_TEXT_HSPACING = 98,    // double
  KV_STATE_TEXT_VSPACING = 99,    // double
  KV_STATE_LINE_BREAK = 100,      // whole number in, byte out: the text line-break character
  KV_STATE_COLOR_MASK = 101,      // four whole numbers 0/1: write r, g, b, a
  KV_STATE_TEXTURING = 108,       // whole number 0/1: texturing allowed
  KV_STATE_BLEND = 154,           // whole number 0/1: blending on
  KV_STATE_BLEND_FUNC = 155,      // two whole numbers: source and destination factor
  KV_STATE_BLEND_EQUATION = 173,  // one whole number: KV_BLEND_ADD to KV_BLEND_MAX
  KV_STATE_CLIP_RECT = 219,       // four whole numbers x, y, w, h, y counted from the bottom
  KV_STATE_CLIP = 220,            // whole number 0/1
  KV_STATE_POINT_SIZE = 221,      // double
  KV_STATE_POINT_SPRITE = 224,    // whole number 0/1: textured points are sprites
  KV_STATE_POINT_COORD = 225,     // whole number 0/1: texture coordinates span the point sprite
  KV_STATE_POINT_SMOOTH = 226,    // whole number 0/1: round points
  KV_STATE_CLEAR_COLOR = 262,     // four doubles r, g, b, a
  KV_STATE_DRAW_COLOR = 263,      // four doubles r, g, b, a: colour of vertices without one

  // ---- blend factors (KV_STATE_BLEND_FUNC) ------------------------------------------------------
  KV_BLEND_ZERO = 158,
  KV_BLEND_ONE = 159,
  KV_BLEND_SRC_COLOR = 160,
  KV_BLEND_ONE_MINUS_SRC_COLOR = 161,
  KV_BLEND_DST_COLOR = 162,
  KV_BLEND_ONE_MINUS_DST_COLOR = 163,
  KV_BLEND_SRC_ALPHA = 164,
  KV_BLEND_ONE_MINUS_SRC_ALPHA = 165,
  KV_BLEND_DST_ALPHA = 166,
  KV_BLEND_ONE_MINUS_DST_ALPHA = 167,
  KV_BLEND_SRC_ALPHA_SATURATE = 168,
  KV_BLEND_CONSTANT_COLOR = 169,
  KV_BLEND_ONE_MINUS_CONSTANT_COLOR = 170,
  KV_BLEND_CONSTANT_ALPHA = 171,
  KV_BLEND_ONE_MINUS_CONSTANT_ALPHA = 172,

  // ---- blend equations (KV_STATE_BLEND_EQUATION) ------------------------------------------------
  KV_BLEND_ADD = 174,  // the default
  KV_BLEND_SUBTRACT = 175,
  KV_BLEND_REVERSE_SUBTRACT = 176,
  KV_BLEND_MIN = 177,
  KV_BLEND_MAX = 178,

  // ---- textures ---------------------------------------------------------------------------------
  KV_TEXTURE_TARGET = 58,   // KvTextureUnactivate, KvSurfaceSetTexture
  KV_TEX_MIN_FILTER = 237,  // KvTextureParameter
  KV_TEX_MAG_FILTER = 238,
  KV_TEX_WRAP_S = 239,
  KV_TEX_WRAP_T = 240,
  KV_FILTER_NEAREST = 242,  // the default filter
  KV_FILTER_LINEAR = 243,
  KV_WRAP_REPEAT = 248,  // the default wrap
  KV_WRAP_CLAMP = 249,
  KV_TEX_WIDTH = 258,        // KvTextureGet: uint32 width
  KV_TEX_HEIGHT = 259,       // KvTextureGet: uint32 height
  KV_TEX_LOCKED_SIZE = 261,  // KvTextureGet: uint32 byte size of the locked block
  KV_LOCK_EDIT = 0,          // KvTextureLock: a copy to read and edit (KV_UNLOCK_UPLOAD keeps it)
  KV_LOCK_READ = 1,          // KvTextureLock: a copy to read
  KV_UNLOCK_DISCARD = 0,     // KvTextureUnlock: drop the copy
  KV_UNLOCK_UPLOAD = 1,      // KvTextureUnlock: upload the (edited) copy first

  // ---- matrices ---------------------------------------------------------------------------------
  KV_MATRIX_PROJECTION = 264,
  KV_MATRIX_MODELVIEW = 265,

  // ---- soft bodies ------------------------------------------------------------------------------
  KV_DNA_KILL = 1,  // KvDnaDie: destroy every element the body owns
  KV_DNA_SUBSTANCES = 34,
  KV_DNA_FORCES = 35,
  KV_DNA_SURFACES = 36,
  KV_DNA_KIND37 = 37,
  KV_SUBSTANCE_POSITION = 315,
  KV_FORCE_FIRST = 327,
  KV_FORCE_SECOND = 328,
  KV_SURFACE_CORNER1 = 344,
  KV_SURFACE_CORNER2 = 345,
  KV_SURFACE_CORNER3 = 346,
  KV_SURFACE_COORD1 = 350,
  KV_SURFACE_COORD2 = 351,
  KV_SURFACE_COORD3 = 352,

  // ---- shaders ----------------------------------------------------------------------------------
  KV_SHADER_VERTEX_PROGRAM = 429,
  KV_SHADER_FRAGMENT_PROGRAM = 430,
  KV_SHADER_VERTEX = 431,
  KV_SHADER_FRAGMENT = 432,
  KV_SHADER_PROGRAM = 433,

  // ---- render target properties (KvRenderTargetGet) ---------------------------------------------
  KV_RT_VIEWPORT_X = 440,     // int32, writable, applied by the next KvRenderTargetActivate
  KV_RT_VIEWPORT_Y = 441,     // int32, counted from the bottom
  KV_RT_VIEWPORT_W = 442,     // int32, also the target's width
  KV_RT_VIEWPORT_H = 443,     // int32, also the target's height
  KV_RT_FIELD_OF_VIEW = 444,  // double, degrees, for perspective cameras
  KV_RT_RANGE_NEAR = 445,     // double, writable: near end of the depth range
  KV_RT_RANGE_FAR = 446,      // double, writable: far end of the depth range
  KV_RT_EXTRA = 447,          // double, kept as given
  KV_RT_FORMAT = 448,         // int32: KV_FORMAT_OPAQUE or KV_FORMAT_ALPHA

  // ---- frame buffers (KvFrameBufferGet) ---------------------------------------------------------
  KV_FB_WIDTH = 449,
  KV_FB_HEIGHT = 450,
  KV_FB_TEXTURE = 451,

  // ---- vertex buffers ---------------------------------------------------------------------------
  KV_VB_VERTICES = 452,
  KV_VB_INDICES = 453,
  KV_VB_STATIC_DRAW = 454,  // usage codes (KvVertexBufferCreate): the default
  KV_VB_DYNAMIC_DRAW = 455,
  KV_VB_STREAM_DRAW = 456,
  KV_VB_STATIC_READ = 457,
  KV_VB_DYNAMIC_READ = 458,
  KV_VB_STREAM_READ = 459,
  KV_VB_STATIC_COPY = 460,
  KV_VB_DYNAMIC_COPY = 461,
  KV_VB_STREAM_COPY = 462,
  KV_VB_MAP_READ = 463,
  KV_VB_MAP_WRITE = 464,
  KV_VB_MAP_READ_WRITE = 465,

  // ---- sockets ----------------------------------------------------------------------------------
  KV_SOCKET_TCP_IPV4 = 0,  // KvSocketOpen modes
  KV_SOCKET_TCP_IPV6 = 1,
  KV_SEND_ONCE = 0,  // KvSocketSend: one send of as much as the system takes
  KV_SEND_ALL = 1,   // KvSocketSend: wait until everything is sent

  // ---- the engine module's resources ------------------------------------------------------------
  KV_RESOURCE_LOGO = 1,           // the intro logo's resource name
  KV_RESOURCE_TYPE_IMAGE = 1024,  // resource type: an image in the .kvt format
};
