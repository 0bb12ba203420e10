// The imaging interface of the window system, in its flat form: start-up and shut-down,
// bitmaps made from files or from memory, locking their pixels, the encoder table and saving.
// platform/imaging serves it (image_decode.h names the decoder of each format); wide texts are
// UTF-16.
#pragma once

#include "platform/winapi/records.h"

typedef char16_t WCHAR;
typedef float REAL;
typedef int PixelFormat;
typedef GUID CLSID;

// Results: Ok is 0, everything else a failure.
enum GpStatus {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
};

// 32 bits a pixel, bytes B, G, R, A in memory, straight alpha.
#define PixelFormat32bppARGB 2498570

enum ImageLockMode {
  ImageLockModeRead = 1,
  ImageLockModeWrite = 2,
  ImageLockModeUserInputBuf = 4,
};

struct GdiplusStartupInput {
  UINT GdiplusVersion;  // 1
  void* DebugEventCallback;
  BOOL SuppressBackgroundThread;
  BOOL SuppressExternalCodecs;
};
struct GdiplusStartupOutput {
  void* NotificationHook;
  void* NotificationUnhook;
};

struct GpRect {
  INT X;
  INT Y;
  INT Width;
  INT Height;
};

// The pixels of a lock: Height rows of Stride bytes from Scan0, top row first.
struct BitmapData {
  UINT Width;
  UINT Height;
  INT Stride;
  INT PixelFormat;  // the format of the lock
  void* Scan0;
  UINT_PTR Reserved;
};

// One entry of the encoder table; its texts lie in the same block as the table.
struct ImageCodecInfo {
  CLSID Clsid;
  GUID FormatID;
  const WCHAR* CodecName;
  const WCHAR* DllName;
  const WCHAR* FormatDescription;
  const WCHAR* FilenameExtension;
  const WCHAR* MimeType;
  DWORD Flags;
  DWORD Version;
  DWORD SigCount;
  DWORD SigSize;
  const BYTE* SigPattern;
  const BYTE* SigMask;
};

struct EncoderParameters;

// Images and bitmaps are opaque to callers; a bitmap is an image.
struct GpImage {
 protected:
  GpImage() = default;
};
struct GpBitmap : GpImage {
 protected:
  GpBitmap() = default;
};

// Starts the interface (version 1 only); the token goes to GdiplusShutdown.
GpStatus WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                               GdiplusStartupOutput* output);
// Ends one start-up; the interface stays usable while other start-ups are open.
void WINAPI GdiplusShutdown(ULONG_PTR token);
// Memory for the interface's callers; null when it runs out.
void* WINAPI GdipAlloc(size_t size);
void WINAPI GdipFree(void* block);

// A bitmap decoded from an image file (PNG, JPEG, BMP, TGA, GIF), without colour management.
GpStatus WINAPI GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap);
// A bitmap of width x height in format 32bppARGB, over scan0 (stride bytes a row) when given,
// else over pixels of its own (zero).
GpStatus WINAPI GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format,
                                          BYTE* scan0, GpBitmap** bitmap);
GpStatus WINAPI GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus WINAPI GdipGetImageHeight(GpImage* image, UINT* height);
// Locks a rectangle (null: the whole bitmap) as 32bppARGB, packed rows; WrongState when locked.
GpStatus WINAPI GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags,
                                   PixelFormat format, BitmapData* locked);
// Ends a lock; the pixels are written back when it was locked for writing.
GpStatus WINAPI GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* locked);
// Encodes the image to a file with the encoder of that class; a failed write leaves no file.
GpStatus WINAPI GdipSaveImageToFile(GpImage* image, const WCHAR* filename, const CLSID* encoder,
                                    const EncoderParameters* parameters);
GpStatus WINAPI GdipDisposeImage(GpImage* image);
// The number of encoders and the byte size of their table with its texts.
GpStatus WINAPI GdipGetImageEncodersSize(UINT* count, UINT* size);
// Fills a block of that size with the table; InvalidParameter when count or size differ.
GpStatus WINAPI GdipGetImageEncoders(UINT count, UINT size, ImageCodecInfo* encoders);
