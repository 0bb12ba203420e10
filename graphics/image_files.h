// Image files (PNG, JPEG, BMP, TGA, GIF, ...) to and from engine textures, through the system's
// imaging interface, which is started and shut down again inside every call. Engine pixels are
// R, G, B, A; the imaging interface's are B, G, R, A, so every transfer swaps red and blue.
// The sprite and font loaders built on them are KV_SPRITE::LoadImages (sprite_load.cpp) and
// KV_FONT::LoadImage (font.cpp).
#pragma once

#include "engine/kv_engine.h"
#include "foundation/string.h"
#include "platform/winapi/records.h"

// Fills an existing texture with the image file's pixels; the engine's load result, false when
// the file cannot be read or decoded (the texture is then left as it was).
bool KvTextureLoadImage(KV_HANDLE texture, const char* path);
// Writes the texture to a file in the format named by its MIME subtype ("png", "bmp", "jpeg",
// "tga"); false when the texture cannot be locked or is empty, no encoder has the type (no file
// is written then) or the file cannot be written.
bool KvTextureSaveImage(KV_HANDLE texture, const char* path, const char* format);
// The index of the first encoder whose MIME type equals mime exactly (case-sensitive), with its
// class identifier written to out; -1 when none matches (out is not written).
int KvGetEncoderClsid(const KV_WCHAR* mime, GUID* out);
