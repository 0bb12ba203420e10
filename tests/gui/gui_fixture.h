// Shared pieces of the GUI tests: the engine call trace's text of a call written with the
// engine's names, a control that records its event and draw calls and its destruction, and a
// fixture with a fresh GUI manager and an 800 x 600 screen description
// (not opened: the GUI reads only its place, size and layered flag).
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

#include "app/app_fixture.h"
#include "app/input.h"
#include "gui/gui.h"

using KvCore::KV_GUI;
typedef KV_GUI::CONTROL CONTROL;

// One argument as the engine's call trace writes it.
template <typename T>
inline std::string TraceArg(T value) {
  if constexpr (std::is_convertible_v<T, const char*>) {
    return value;
  } else if constexpr (std::is_floating_point_v<T>) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", (double)value);
    return text;
  } else {
    return std::to_string((long long)value);
  }
}

// The trace's text of a call up to its last argument, without the closing parenthesis:
// TraceOpening("KvSetState", KV_STATE_CLIP_RECT) is "KvSetState(219".
template <typename... A>
inline std::string TraceOpening(const char* function, A... args) {
  std::string text = std::string(function) + "(";
  const char* separator = "";
  ((text += separator, text += TraceArg(args), separator = ", "), ...);
  return text;
}
// The trace's whole text of a call: TraceCall("KvSetState", KV_STATE_CLIP, 1) is
// "KvSetState(220, 1)". Text arguments stand as written ("ptr").
template <typename... A>
inline std::string TraceCall(const char* function, A... args) {
  return TraceOpening(function, args...) + ")";
}

class Probe : public KV_GUI::CONTROL {
 public:
  static std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
  }
  static int& Destroyed() {
    static int destroyed = 0;
    return destroyed;
  }

  std::string tag;
  uint32_t seen = 0;                       // Events as the last OnEvent saw them
  int events = 0;                          // OnEvent calls
  void (*onEvent)(Probe* self) = nullptr;  // extra work inside OnEvent
  void (*onDraw)(Probe* self) = nullptr;   // extra work inside OnDraw
  Probe* other = nullptr;                  // a control that onEvent may act on

  explicit Probe(const char* tag, float x = 0, float y = 0, float w = 0, float h = 0) : tag(tag) {
    Position = KV_VECTOR(x, y, 0, 1);
    Size = KV_VECTOR(w, h, 0, 1);
  }
  ~Probe() override {
    ++Destroyed();
    Log().push_back("~" + tag);
  }
  void OnEvent() override {
    ++events;
    seen = Events;
    Log().push_back("e" + tag);
    if (onEvent != nullptr) onEvent(this);
  }
  void OnDraw() override {
    Log().push_back("d" + tag);
    if (onDraw != nullptr) onDraw(this);
  }
};

class GuiTest : public AppTest {
 protected:
  KV_GUI* gui = nullptr;
  KV_WINDOW screen;

  void SetUp() override {
    AppTest::SetUp();
    Probe::Log().clear();
    Probe::Destroyed() = 0;
    screen.width = 800;
    screen.height = 600;
    screen.x = 0;
    screen.y = 0;
    gui = new KV_GUI();
  }
  void TearDown() override {
    delete gui;
    AppTest::TearDown();
  }

  // Adds a probe under parent (top level for null); asserts that it was taken.
  Probe* Add(const char* tag, CONTROL* parent, float x = 0, float y = 0, float w = 0, float h = 0) {
    Probe* probe = new Probe(tag, x, y, w, h);
    EXPECT_EQ(gui->AddControl(probe, parent), probe);
    return probe;
  }

  static void Cursor(int x, int y) {
    KV_INPUT::Instance().cursorX = x;
    KV_INPUT::Instance().cursorY = y;
  }

  // The GUI's part of one frame: layout, input pass, deletion queue, name purge.
  void Frame() {
    gui->UpdateLayout();
    gui->ProcessInput();
    gui->DestroyQueued();
    gui->PurgeNames();
  }

  static std::string Joined() {
    std::string text;
    for (const std::string& entry : Probe::Log()) text += entry + " ";
    return text;
  }
};
