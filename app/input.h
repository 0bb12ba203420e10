// KV_INPUT: the process-wide keyboard and mouse state, and the free functions that read and
// write it. The window procedure fills it while the frame loop dispatches messages; the
// frame loop resets its per-frame edges after each frame. Keys are virtual-key codes 0..255;
// mouse buttons are 1 left, 2 right, 3 middle (and, for the held test, 4 wheel forward and
// 5 wheel backward); 0 asks for any. One instance, built on first use.
#pragma once

#include "foundation/list.h"
#include "foundation/string.h"
#include "foundation/vector.h"

struct KV_WINDOW;

struct KV_INPUT {
  unsigned char keyDown[256];         // held
  unsigned char keyPressed[256];      // went down this frame
  unsigned char keyReleased[256];     // went up this frame
  unsigned char keyReleaseMark[256];  // forced up by the end-of-frame reset
  unsigned char mouseDown[3];         // left, middle, right: held
  unsigned char mousePressed[3];      // went down this frame
  unsigned char mouseReleased[3];     // went up this frame
  unsigned char mouseReleaseMark[3];  // forced up at the end of every frame once set
  int wheelAccumulator;               // wheel delta not yet turned into notches
  unsigned char wheelUp;              // the wheel turned forward this frame
  unsigned char wheelDown;            // the wheel turned backward this frame
  int wheelNotches;                   // whole notches of the last step that reached one
  int cursorX;                        // cursor position in screen pixels, as last read or set
  int cursorY;
  KV_LIST<unsigned char> typedChars;  // typed characters, oldest first
  unsigned char lastKey;              // the last key-down accepted
  unsigned char keyRepeatFilter;      // ignore key-downs of keys already held

  // The one input state, built (all zero) on the first call and destroyed at exit.
  static KV_INPUT& Instance();

 private:
  KV_INPUT();
  KV_INPUT(const KV_INPUT&) = delete;
  KV_INPUT& operator=(const KV_INPUT&) = delete;
};

// ---- cursor ----
// Reads the cursor into cursorX, cursorY; returns (x, y, 0, 1), or (0, 0, 0, 1) when it
// cannot be read.
KV_VECTOR_D KvCursorRefresh();
// Stores (x, y) and moves the cursor there; false when the desktop refuses the move.
bool KvSetCursor(int x, int y);
// The cursor in screen pixels, as last read or set.
int KvCursorX();
int KvCursorY();
// The cursor relative to the window's x and y fields (screen pixels for a null window).
int KvCursorXIn(const KV_WINDOW* window);
int KvCursorYIn(const KV_WINDOW* window);

// ---- keys ----
// The held / pressed / released entry of key 1..255; key 0: whether any of them is set.
// Keys above 255 read 0.
bool KvKeyDown(unsigned int key);
bool KvKeyPressed(unsigned int key);
bool KvKeyReleased(unsigned int key);
// Stores value in the key's entry and returns it; keys above 255 store nothing and give 0.
unsigned char KvSetKeyDown(unsigned int key, unsigned char value);
unsigned char KvSetKeyPressed(unsigned int key, unsigned char value);
unsigned char KvSetKeyReleased(unsigned int key, unsigned char value);
// Forces the key up at the end of this frame; false for keys above 255.
bool KvReleaseKeyAtFrameEnd(unsigned int key);

// ---- mouse ----
// Held: 1 left, 2 right, 3 middle, 4 wheel forward, 5 wheel backward, 0 any of those five;
// other numbers false.
bool KvMouseDown(int button);
// Stores value in the same five places and returns it; 0 for other numbers.
unsigned char KvSetMouseDown(int button, unsigned char value);
// Went down / up this frame: 1 left, 2 right, 3 middle, 0 any of the three; others false.
bool KvMousePressed(int button);
bool KvMouseReleased(int button);
// Stores value for buttons 1..3 and returns it; 0 for other numbers.
unsigned char KvSetMousePressed(int button, unsigned char value);
unsigned char KvSetMouseReleased(int button, unsigned char value);
// Forces button 1..3 up at the end of every frame from now on; false for other numbers.
bool KvReleaseMouseAtFrameEnd(int button);

// ---- frame reset ----
// The end-of-frame reset: clears the pressed and released edges and the wheel flags and
// applies the release marks; with clearAll also lets go of every key and button. True.
bool KvInputResetFrame(bool clearAll);

// ---- typed characters ----
// Takes the most recently typed character into out; false when none is queued.
bool KvPopChar(unsigned char& out);
// Appends the queued characters, oldest first, to out (a queued 0 ends the text) and
// empties the queue unless keep is set; false when none is queued.
bool KvReadText(KV_STRING& out, bool keep);
// Number of queued characters.
unsigned int KvCharCount();
// Empties the queue.
void KvClearChars();
