// KV_CORE's life: construction with the desktop size, the tear-down of every resource and
// the per-frame driver.
#include "core/core.h"

KV_CORE::KV_CORE() : idCounter(0), screenWidth(0), screenHeight(0), screenAspect(0)
{
    // The desktop size, read once through a temporary window description.
    KV_WINDOW screen;
    screen.FitScreen();
    screenWidth = screen.width;
    screenHeight = screen.height;
    screenAspect = screenHeight != 0 ? (float)screenWidth / (float)screenHeight : 1.0f;
}

KV_CORE::~KV_CORE()
{
    stateMachine.Clear();
    windows.Clear();
}
