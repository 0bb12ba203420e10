// KV_CORE's mouse queries: the input state's cursor and buttons read against the named windows,
// 2D cameras and sprites.
#include "app/input.h"
#include "app/rect_tests.h"
#include "core/core.h"

namespace {

// The cursor against the sprite's quad around the origin, when the button test holds.
bool OnSprite(KV_DICTIONARY<KV_SPRITE>& sprites, const char* name, KV_VECTOR_D mouse) {
  KV_SPRITE* sprite = sprites.Find(KV_DICTIONARY<KV_SPRITE>::FIND_NAME, name).Get();
  if (sprite == nullptr) return false;
  KV_VECTOR_D corner1(-sprite->pivotX, -sprite->pivotY, 0, 1);
  KV_VECTOR_D corner2(sprite->width - sprite->pivotX, sprite->height - sprite->pivotY, 0, 1);
  return KvPointInRect(mouse, corner1, corner2);
}

// The named 2D camera, or the current one for null; null when there is none.
KV_CAMERA2D* FindCamera(KV_CORE& core, const char* camera) {
  if (camera == nullptr) return core.currentCamera2D.IsEnd() ? nullptr : core.currentCamera2D.Get();
  return core.cameras2D.Find(KV_DICTIONARY<KV_CAMERA2D>::FIND_NAME, camera).Get();
}

}  // namespace

int KV_CORE::GetMouseX(const char* window, unsigned int) {
  if (window == nullptr) return KvCursorX();
  KV_WINDOW* found = WindowNamed(window);
  return found != nullptr ? KvCursorXIn(found) : 0;
}

int KV_CORE::GetMouseY(const char* window, unsigned int) {
  if (window == nullptr) return KvCursorY();
  KV_WINDOW* found = WindowNamed(window);
  return found != nullptr ? KvCursorYIn(found) : 0;
}

int KV_CORE::GetMouseXInCamera(const char* window, const char* camera, unsigned int windowId,
                               unsigned int) {
  int x = GetMouseX(window, windowId);
  if (window == nullptr || WindowNamed(window) == nullptr) return x;
  KV_CAMERA2D* view = FindCamera(*this, camera);
  return view != nullptr ? x + (int)view->viewPosition.x : x;
}

int KV_CORE::GetMouseYInCamera(const char* window, const char* camera, unsigned int windowId,
                               unsigned int) {
  int y = GetMouseY(window, windowId);
  if (window == nullptr || WindowNamed(window) == nullptr) return y;
  KV_CAMERA2D* view = FindCamera(*this, camera);
  return view != nullptr ? y + (int)view->viewPosition.y : y;
}

KV_VECTOR_D KV_CORE::GetMousePosition(const char* window, unsigned int) {
  if (window == nullptr) return KvCursorRefresh();
  KV_WINDOW* found = WindowNamed(window);
  if (found == nullptr) return KV_VECTOR_D(0, 0, 0, 1);
  return KV_VECTOR_D(KvCursorXIn(found), KvCursorYIn(found), 0, 1);
}

KV_VECTOR_D KV_CORE::GetMousePositionInCamera(const char* window, const char* camera,
                                              unsigned int windowId, unsigned int) {
  KV_VECTOR_D position = GetMousePosition(window, windowId);
  if (window == nullptr || WindowNamed(window) == nullptr) return position;
  KV_CAMERA2D* view = FindCamera(*this, camera);
  if (view != nullptr) {
    position.x += view->viewPosition.x;
    position.y += view->viewPosition.y;
  }
  return position;
}

bool KV_CORE::MouseInRect(int left, int top, int right, int bottom, const char* window,
                          unsigned int) {
  if (window == nullptr) return KvMouseInRect(left, top, right, bottom);
  KV_WINDOW* found = WindowNamed(window);
  return found != nullptr && KvMouseInWindowRect(found, left, top, right, bottom);
}

// A named window that does not exist gives false: its failure position (0, 0) is no cursor.
bool KV_CORE::MouseDownOn(const char* window, const char* sprite, KV_VECTOR_D, int button,
                          unsigned int windowId, unsigned int) {
  if (!KvMouseDown(button) || (window != nullptr && WindowNamed(window) == nullptr)) return false;
  return OnSprite(sprites, sprite, GetMousePosition(window, windowId));
}

bool KV_CORE::MousePressedOn(const char* window, const char* sprite, KV_VECTOR_D, int button,
                             unsigned int windowId, unsigned int) {
  if (!KvMousePressed(button) || (window != nullptr && WindowNamed(window) == nullptr))
    return false;
  return OnSprite(sprites, sprite, GetMousePosition(window, windowId));
}

bool KV_CORE::MouseReleasedOn(const char* window, const char* sprite, KV_VECTOR_D, int button,
                              unsigned int windowId, unsigned int) {
  if (!KvMouseReleased(button) || (window != nullptr && WindowNamed(window) == nullptr))
    return false;
  return OnSprite(sprites, sprite, GetMousePosition(window, windowId));
}
