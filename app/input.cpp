// The keyboard and mouse state and its free functions. Mouse buttons are stored left,
// middle, right, while the interface numbers them 1 left, 2 right, 3 middle.
#include "app/input.h"

#include <cstring>
#include <vector>

#include "app/window.h"
#include "platform/winapi/windows.h"

namespace {

// Storage index of interface buttons 1..3; -1 for any other number.
int ButtonIndex(int button) {
  switch (button) {
    case 1: return 0;
    case 2: return 2;
    case 3: return 1;
    default: return -1;
  }
}

// Entry 1..255 of a key table, or whether any of them is set for key 0.
bool ReadKey(const unsigned char* table, unsigned int key) {
  if (key > 255) return false;
  if (key != 0) return table[key] != 0;
  for (unsigned int k = 1; k < 256; ++k)
    if (table[k]) return true;
  return false;
}

unsigned char WriteKey(unsigned char* table, unsigned int key, unsigned char value) {
  if (key > 255) return 0;
  table[key] = value;
  return value;
}

// Button 1..3 of a group of three, or whether any of them is set for 0.
bool ReadButton(const unsigned char* group, int button) {
  if (button == 0) return group[0] || group[1] || group[2];
  int index = ButtonIndex(button);
  return index >= 0 && group[index] != 0;
}

unsigned char WriteButton(unsigned char* group, int button, unsigned char value) {
  int index = ButtonIndex(button);
  if (index < 0) return 0;
  group[index] = value;
  return value;
}

}  // namespace

KV_INPUT::KV_INPUT()
    : keyDown{},
      keyPressed{},
      keyReleased{},
      keyReleaseMark{},
      mouseDown{},
      mousePressed{},
      mouseReleased{},
      mouseReleaseMark{},
      wheelAccumulator(0),
      wheelUp(0),
      wheelDown(0),
      wheelNotches(0),
      cursorX(0),
      cursorY(0),
      lastKey(0),
      keyRepeatFilter(0) {}

KV_INPUT& KV_INPUT::Instance() {
  static KV_INPUT input;
  return input;
}

// ---- cursor ----

KV_VECTOR_D KvCursorRefresh() {
  KV_INPUT& input = KV_INPUT::Instance();
  POINT point{};
  if (!GetCursorPos(&point)) return KV_VECTOR_D(0, 0, 0, 1);
  input.cursorX = point.x;
  input.cursorY = point.y;
  return KV_VECTOR_D(input.cursorX, input.cursorY, 0, 1);
}

bool KvSetCursor(int x, int y) {
  KV_INPUT& input = KV_INPUT::Instance();
  input.cursorX = x;
  input.cursorY = y;
  return SetCursorPos(x, y) != FALSE;
}

int KvCursorX() { return KV_INPUT::Instance().cursorX; }
int KvCursorY() { return KV_INPUT::Instance().cursorY; }

int KvCursorXIn(const KV_WINDOW* window) {
  return KV_INPUT::Instance().cursorX - (window != nullptr ? window->x : 0);
}

int KvCursorYIn(const KV_WINDOW* window) {
  return KV_INPUT::Instance().cursorY - (window != nullptr ? window->y : 0);
}

// ---- keys ----

bool KvKeyDown(unsigned int key) { return ReadKey(KV_INPUT::Instance().keyDown, key); }
bool KvKeyPressed(unsigned int key) { return ReadKey(KV_INPUT::Instance().keyPressed, key); }
bool KvKeyReleased(unsigned int key) { return ReadKey(KV_INPUT::Instance().keyReleased, key); }

unsigned char KvSetKeyDown(unsigned int key, unsigned char value) {
  return WriteKey(KV_INPUT::Instance().keyDown, key, value);
}

unsigned char KvSetKeyPressed(unsigned int key, unsigned char value) {
  return WriteKey(KV_INPUT::Instance().keyPressed, key, value);
}

unsigned char KvSetKeyReleased(unsigned int key, unsigned char value) {
  return WriteKey(KV_INPUT::Instance().keyReleased, key, value);
}

bool KvReleaseKeyAtFrameEnd(unsigned int key) {
  return WriteKey(KV_INPUT::Instance().keyReleaseMark, key, 1) != 0;
}

// ---- mouse ----

bool KvMouseDown(int button) {
  KV_INPUT& input = KV_INPUT::Instance();
  switch (button) {
    case 0: return ReadButton(input.mouseDown, 0) || input.wheelUp || input.wheelDown;
    case 4: return input.wheelUp != 0;
    case 5: return input.wheelDown != 0;
    default: return ReadButton(input.mouseDown, button);
  }
}

unsigned char KvSetMouseDown(int button, unsigned char value) {
  KV_INPUT& input = KV_INPUT::Instance();
  switch (button) {
    case 4: input.wheelUp = value; return value;
    case 5: input.wheelDown = value; return value;
    default: return WriteButton(input.mouseDown, button, value);
  }
}

bool KvMousePressed(int button) { return ReadButton(KV_INPUT::Instance().mousePressed, button); }
bool KvMouseReleased(int button) { return ReadButton(KV_INPUT::Instance().mouseReleased, button); }

unsigned char KvSetMousePressed(int button, unsigned char value) {
  return WriteButton(KV_INPUT::Instance().mousePressed, button, value);
}

unsigned char KvSetMouseReleased(int button, unsigned char value) {
  return WriteButton(KV_INPUT::Instance().mouseReleased, button, value);
}

bool KvReleaseMouseAtFrameEnd(int button) {
  return WriteButton(KV_INPUT::Instance().mouseReleaseMark, button, 1) != 0;
}

// ---- frame reset ----

bool KvInputResetFrame(bool clearAll) {
  KV_INPUT& input = KV_INPUT::Instance();
  if (clearAll) {
    memset(input.keyDown, 0, sizeof input.keyDown);
    memset(input.mouseDown, 0, sizeof input.mouseDown);
  }
  for (int key = 0; key < 256; ++key) {
    if (input.keyReleaseMark[key] == 1) {
      input.keyReleaseMark[key] = 0;
      input.keyDown[key] = 0;
    }
  }
  memset(input.keyPressed, 0, sizeof input.keyPressed);
  memset(input.keyReleased, 0, sizeof input.keyReleased);
  // A button's mark stays once set: that button is forced up after every frame.
  for (int b = 0; b < 3; ++b)
    if (input.mouseReleaseMark[b]) input.mouseDown[b] = 0;
  memset(input.mousePressed, 0, sizeof input.mousePressed);
  memset(input.mouseReleased, 0, sizeof input.mouseReleased);
  input.wheelUp = 0;
  input.wheelDown = 0;
  return true;
}

// ---- typed characters ----

bool KvPopChar(unsigned char& out) {
  KV_LIST<unsigned char>& queue = KV_INPUT::Instance().typedChars;
  KV_LIST_ITERATOR<unsigned char> newest = queue.Last();
  if (newest.IsEnd()) return false;
  out = *newest.Get();
  queue.Erase(newest);
  return true;
}

bool KvReadText(KV_STRING& out, bool keep) {
  KV_LIST<unsigned char>& queue = KV_INPUT::Instance().typedChars;
  if (queue.Count() == 0) return false;
  std::vector<char> text;
  text.reserve(queue.Count() + 1);
  for (KV_LIST_ITERATOR<unsigned char> it = queue.Begin(); !it.IsEnd(); it.Next())
    text.push_back((char)*it.Get());
  text.push_back('\0');
  out += text.data();
  if (!keep) queue.Clear();
  return true;
}

unsigned int KvCharCount() { return KV_INPUT::Instance().typedChars.Count(); }

void KvClearChars() { KV_INPUT::Instance().typedChars.Clear(); }
