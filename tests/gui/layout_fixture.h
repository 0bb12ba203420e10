// Shared pieces of the layout file tests: a manager with the composite fixture's skin, the
// procedure and icon dictionaries a layout names, and a file of the test's own to write the
// layout into and load it from.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "composite_fixture.h"
#include "gui/composite.h"
#include "gui/layout_loader.h"
#include "scratch_folder.h"

inline int eventCalls = 0;
inline int drawCalls = 0;
inline void OnEventProc(CONTROL*) { ++eventCalls; }
inline void OnDrawProc(CONTROL*) { ++drawCalls; }

class LayoutTest : public CompositeTest {
 protected:
  KV_GUI_PROCEDURES procedures;
  KV_GUI_ICONS icons;
  ScratchFolder scratch{"kv_layout"};
  std::string path;

  void SetUp() override {
    CompositeTest::SetUp();
    eventCalls = drawCalls = 0;
    *procedures.GetValue("click") = OnEventProc;
    *procedures.GetValue("paint") = OnDrawProc;
    path = scratch.File("layout.xml");
  }
  void Write(const std::string& text, const std::string& file = "") {
    std::ofstream(file.empty() ? path : file, std::ios::binary) << text;
  }
  bool Load(const char* node, CONTROL* parent = nullptr) {
    return KvGuiLoadLayout(path.c_str(), node, procedures, icons, *gui, nullptr, parent, nullptr);
  }
  // Number of controls in the tree, the root not counted.
  static int Count(const KV_GUI::NODE* node) {
    int n = 0;
    for (auto it = node->Begin(); !it.IsEnd(); it.Next()) n += 1 + Count(it.Get());
    return n;
  }
  static C_GUI_CONTROL* App(CONTROL* c) { return dynamic_cast<C_GUI_CONTROL*>(c); }
};
