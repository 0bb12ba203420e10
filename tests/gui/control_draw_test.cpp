// Drawing one control: the walk (hidden subtrees, the clip rectangle of each control, the
// disabled state handed down) and the skin: the engine calls of the nine areas, the style that
// applies (disabled look included), outlines and closed-outline borders, the text's outline
// prints and the icon, and what lands on screen: areas where the border split puts them,
// tiling, text placement, and clipping to the parent.
#include "gui_fixture.h"

#include <algorithm>
#include <cstdio>

#include "foundation/small_math.h"
#include "platform/winapi/windows.h"
#include "scratch_folder.h"

namespace {

using kv::engine::testing::StartTrace;
using kv::engine::testing::StopTrace;
using kv::engine::testing::TracedCalls;

// a: an 8 x 10 glyph of the white texture, advancing 10.
const char kDesc[] =
    "common lineHeight=10 base=10 scaleW=16 scaleH=16 pages=1\n"
    "char id=97 x=4 y=4 width=8 height=10 xoffset=0 yoffset=0 xadvance=10 page=0\n";

LRESULT CALLBACK Quiet(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// RGBA bytes of a .kvt file.
std::vector<uint8_t> Kvt(uint32_t w, uint32_t h, const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> bytes = {'K', 'V', 'T', '1'};
  for (uint32_t word : {1u, w, h, 1u, (uint32_t)pixels.size()})
    for (int i = 0; i < 4; ++i) bytes.push_back((uint8_t)(word >> (8 * i)));
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

// ---- the walk --------------------------------------------------------------------------------

typedef GuiTest ControlDraw;

TEST_F(ControlDraw, HiddenControlsSkipTheirWholeSubtree) {
  gui->Attach(&screen);
  Probe* hidden = Add("h", nullptr, 0, 0, 10, 10);
  Add("h1", hidden);
  Add("v", nullptr, 0, 0, 10, 10);
  hidden->Visible = 0;
  gui->Draw(0);
  EXPECT_EQ(Joined(), "dv ");
}

TEST_F(ControlDraw, ClipRectangleIsTheControlsBoxWithinItsRegion) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 100, 50, 200, 100);
  Add("c", parent, 150, 20, 100, 30);  // reaches past the parent's right edge
  Probe* outside = Add("o", parent, 500, 500, 10, 10);
  gui->UpdateLayout();
  kv::engine::testing::StartTrace();
  gui->Draw(0);
  kv::engine::testing::StopTrace();
  std::vector<std::string> clips =
      TracedStartingWith(TraceOpening("KvSetState", KV_STATE_CLIP_RECT));
  ASSERT_EQ(clips.size(), 3u);
  // y is counted from the bottom of the 600-pixel screen.
  EXPECT_EQ(clips[0], TraceCall("KvSetState", KV_STATE_CLIP_RECT, 100, 450, 200, 100));
  EXPECT_EQ(clips[1], TraceCall("KvSetState", KV_STATE_CLIP_RECT, 250, 500, 50, 30));
  EXPECT_EQ(clips[2].substr(clips[2].size() - 6), " 0, 0)");
  (void)outside;
}

TEST_F(ControlDraw, ADisabledParentDrawsItsChildrenDisabled) {
  gui->Attach(&screen);
  Probe* parent = Add("p", nullptr, 0, 0, 10, 10);
  Probe* child = Add("c", parent, 0, 0, 10, 10);
  Probe* grandchild = Add("g", child, 0, 0, 10, 10);
  gui->Draw(0);
  EXPECT_EQ(grandchild->IsDrawnDisabled(), 0);
  parent->Active = 0;
  gui->Draw(0);
  EXPECT_EQ(parent->IsDrawnDisabled(), 1);
  EXPECT_EQ(child->IsDrawnDisabled(), 1);
  EXPECT_EQ(grandchild->IsDrawnDisabled(), 1);
}

// A GUI on a 64 x 48 screen with a real render target behind it, cleared to black.
class ControlRender : public GuiTest {
 protected:
  HWND window = nullptr;
  KV_HANDLE target;
  std::vector<KV_HANDLE> textures;
  ScratchFolder scratch{"kv_control_draw"};

  void SetUp() override {
    GuiTest::SetUp();
    screen.width = 64;
    screen.height = 48;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Quiet;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Render Test";
    RegisterClassA(&windowClass);
    window = CreateWindowExA(0, "Render Test", "Render Test", WS_POPUP, 0, 0, 64, 48, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(KvRenderTargetCreate(&target, window, KV_FORMAT_OPAQUE, 32, 16), 1);
    ASSERT_EQ(KvRenderTargetArea(target, 0, 0, 64, 48, 45.0, -1.0, 1.0, 0.0), 1);
    KvRenderTargetActivate(target);
    KvSetState(KV_STATE_BLEND, 1);
    KvSetState(KV_STATE_BLEND_FUNC, (int)KV_BLEND_SRC_ALPHA, (int)KV_BLEND_ONE_MINUS_SRC_ALPHA);
    KvSetState(KV_STATE_CLEAR_COLOR, 0.0, 0.0, 0.0, 1.0);
    KvRenderScene(KV_SCENE_CLEAR_COLOR);
    KvCameraOrtho(0, 0, 64, 48, 0);
    gui->Attach(&screen);
  }
  void TearDown() override {
    gui->DestroyAll();  // fonts go before the target
    delete gui;
    gui = new KV_GUI();
    for (KV_HANDLE& texture : textures) KvTextureDestroy(texture);
    KvRenderTargetDestroy(target);
    if (window != nullptr) DestroyWindow(window);
    GuiTest::TearDown();
  }

  KV_GUI::STYLE& Style(const char* name) { return *gui->styles.Get(name).Get(); }

  // A texture of w x h RGBA pixels.
  KV_HANDLE Texture(uint32_t w, uint32_t h, const std::vector<uint8_t>& pixels) {
    std::string path = scratch.File("render_test.kvt");
    Write(path, Kvt(w, h, pixels));
    KV_HANDLE texture;
    EXPECT_EQ(KvTextureCreate(&texture), 1);
    EXPECT_EQ(KvTextureLoad(texture, path.c_str(), 1), 1);
    textures.push_back(texture);
    return texture;
  }

  KV_FONT* Font() {
    std::string image = scratch.File("render_font.kvt");
    std::string desc = scratch.File("render_font.fnt");
    Write(image, Kvt(16, 16, std::vector<uint8_t>(16 * 16 * 4, 255)));
    Write(desc, std::vector<uint8_t>(kDesc, kDesc + sizeof kDesc - 1));
    KV_FONT* font = gui->fonts.Get("f").Get();
    EXPECT_TRUE(font->Load(image.c_str(), desc.c_str(), 10, KV_FILTER_NEAREST, KV_FILTER_NEAREST));
    return font;
  }

  // A plain styled control.
  CONTROL* Styled(const char* style, CONTROL* parent, float x, float y, float w, float h) {
    CONTROL* c = new CONTROL();
    c->Position = KV_VECTOR(x, y, 0, 1);
    c->Size = KV_VECTOR(w, h, 0, 1);
    c->StyleActive = gui->styles.Get(style);
    c->StyleUnactive = c->StyleActive;
    EXPECT_EQ(gui->AddControl(c, parent), c);
    return c;
  }

  void DrawFrame() {
    gui->UpdateLayout();
    gui->Draw(0);
  }

  static uint32_t Pixel(int x, int y) {
    std::vector<uint8_t> p = kv::engine::testing::ReadPixels(x, y, 1, 1);
    if (p.size() < 4) return 0;
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
  }

  static std::vector<std::string> Calls(const std::string& prefix) {
    return TracedStartingWith(prefix);
  }
  // The trace's text of setting the draw colour; without a colour, its opening.
  static std::string DrawColor() { return TraceOpening("KvSetState", KV_STATE_DRAW_COLOR); }
  static std::string DrawColor(double r, double g, double b, double a) {
    return TraceCall("KvSetState", KV_STATE_DRAW_COLOR, r, g, b, a);
  }
};

// ---- engine calls ---------------------------------------------------------------------------

TEST_F(ControlRender, NineAreasEachBindTheirTextureThenDrawOneQuad) {
  KV_HANDLE texture = Texture(1, 1, {255, 255, 255, 255});
  KV_GUI::STYLE& style = Style("s");
  style.AreaTexture[4] = texture;
  Styled("s", nullptr, 0, 0, 20, 20);
  gui->UpdateLayout();
  StartTrace();
  gui->Draw(0);
  StopTrace();
  std::vector<std::string> calls;
  for (const std::string& call : TracedCalls())
    if (call.rfind("KvTexture", 0) == 0 || call.rfind("KvDrawData", 0) == 0 ||
        call.rfind(DrawColor(), 0) == 0)
      calls.push_back(
          call.substr(0, call.find(',') == std::string::npos ? call.size() : call.find(',')));
  std::vector<std::string> want;
  for (int area = 0; area < 9; ++area) {
    want.push_back(area == 4 ? "KvTextureActivate(" + std::to_string(texture.Id()) + ")"
                             : TraceCall("KvTextureUnactivate", KV_TEXTURE_TARGET));
    want.push_back(TraceOpening("KvDrawData", KV_PRIM_QUADS));
  }
  want.push_back(DrawColor());
  EXPECT_EQ(calls, want);
  std::vector<std::string> draws = Calls("KvDrawData");
  ASSERT_EQ(draws.size(), 9u);
  EXPECT_EQ(draws[0], TraceCall("KvDrawData", KV_PRIM_QUADS, 0, 4, "ptr", "ptr", "ptr", 0, 0, 0,
                                KV_ELEMENT_FLOAT, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(Calls(DrawColor()).back(), DrawColor(1, 1, 1, 1));
}

TEST_F(ControlRender, StyleThatAppliesFollowsActiveAndTheParentsState) {
  KV_HANDLE on = Texture(1, 1, {255, 255, 255, 255});
  KV_HANDLE off = Texture(1, 1, {255, 255, 255, 255});
  Style("on").AreaTexture[0] = on;
  Style("off").AreaTexture[0] = off;
  CONTROL* parent = Styled("on", nullptr, 0, 0, 40, 40);
  parent->StyleUnactive = gui->styles.Get("off");
  CONTROL* child = Styled("on", parent, 0, 0, 10, 10);
  child->StyleUnactive = gui->styles.Get("off");
  std::string onCall = "KvTextureActivate(" + std::to_string(on.Id()) + ")";
  std::string offCall = "KvTextureActivate(" + std::to_string(off.Id()) + ")";
  gui->UpdateLayout();

  StartTrace();
  gui->Draw(0);
  StopTrace();
  EXPECT_EQ(Calls("KvTextureActivate"), (std::vector<std::string>{onCall, onCall}));
  EXPECT_EQ(child->IsDrawnDisabled(), 0);

  // An inactive parent: both take the disabled look, the active child included.
  parent->Active = 0;
  StartTrace();
  gui->Draw(0);
  StopTrace();
  EXPECT_EQ(Calls("KvTextureActivate"), (std::vector<std::string>{offCall, offCall}));
  EXPECT_EQ(child->IsDrawnDisabled(), 1);

  // An active control without an active style draws nothing of a skin, even when disabled by
  // its parent; an inactive one without a disabled style likewise.
  child->StyleActive = KV_GUI::STYLE_HANDLE();
  parent->StyleUnactive = KV_GUI::STYLE_HANDLE();
  StartTrace();
  gui->Draw(0);
  StopTrace();
  EXPECT_TRUE(Calls("KvDrawData").empty());
  EXPECT_TRUE(Calls(DrawColor()).empty());
}

TEST_F(ControlRender, BordersDrawClosedOutlinesAndLeaveThePointsAlone) {
  Style("s").AsBorder = 1;
  CONTROL* c = Styled("s", nullptr, 4, 4, 20, 10);
  gui->UpdateLayout();
  KV_VECTOR before[9][4];
  for (int a = 0; a < 9; ++a)
    for (int k = 0; k < 4; ++k) before[a][k] = c->Points[a][k];
  StartTrace();
  gui->Draw(0);
  StopTrace();
  std::vector<std::string> draws = Calls("KvDrawData");
  ASSERT_EQ(draws.size(), 9u);
  for (const std::string& draw : draws)
    EXPECT_EQ(draw.rfind(TraceOpening("KvDrawData", KV_PRIM_LINE_LOOP, 0, 4), 0), 0u) << draw;
  for (int a = 0; a < 9; ++a)
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(c->Points[a][k].x, before[a][k].x);
      EXPECT_EQ(c->Points[a][k].y, before[a][k].y);
    }
}

TEST_F(ControlRender, OutlinePrintsQualityTimesFourAroundTheTextThenTheText) {
  KV_FONT* font = Font();
  font->halign = 1;
  font->valign = 1;
  KV_GUI::STYLE& style = Style("s");
  style.TextFont = font;
  style.TextOffset = KV_VECTOR_D(3, 4, 0, 1);
  style.TextBorderSize = 2;
  style.TextBorderQuality = 2;
  style.TextBorderColor = KV_VECTOR_D(0.5, 0, 0, 1);
  style.TextColor = KV_VECTOR_D(0, 1, 0, 1);
  CONTROL* c = Styled("s", nullptr, 10, 20, 30, 12);
  c->Text = "a";
  gui->UpdateLayout();
  StartTrace();
  gui->Draw(0);
  StopTrace();
  EXPECT_EQ(Calls("KvDrawFont").size(), 9u);
  EXPECT_EQ(Calls(DrawColor()),
            (std::vector<std::string>{DrawColor(0.5, 0, 0, 1), DrawColor(0, 1, 0, 1),
                                      DrawColor(1, 1, 1, 1)}));
  // Each print moves to corner 0 + offset (+ the outline step at 45-degree turns).
  std::vector<std::string> moves;
  for (const std::string& call : Calls("KvMatrixTranslate"))
    if (call != "KvMatrixTranslate(0, 0, 0)") moves.push_back(call);
  ASSERT_GE(moves.size(), 9u);
  for (int i = 0; i < 8; ++i) {
    KV_VECTOR_D d = KvLengthdirVector(KV_ROTATION_D(45.0 * i, 0, 0, 0), 2);
    char want[96];
    std::snprintf(want, sizeof want, "KvMatrixTranslate(%g, %g, %g)", 13 + d.x, 24 + d.y, d.z);
    EXPECT_EQ(moves[i], want) << i;
  }
  EXPECT_EQ(moves[8], "KvMatrixTranslate(13, 24, 0)");
  // The font's alignment is the style's only around the prints.
  EXPECT_EQ(font->halign, 1);
  EXPECT_EQ(font->valign, 1);
}

TEST_F(ControlRender, TextNeedsAFontAndIconIsDrawnWhiteFromTheTopLeft) {
  KV_HANDLE icon = Texture(1, 1, {255, 255, 255, 255});
  KV_GUI::STYLE& style = Style("s");
  style.IconRect[0] = KV_VECTOR(1, 1, 0, 1);
  style.IconRect[1] = KV_VECTOR(5, 1, 0, 1);
  style.IconRect[2] = KV_VECTOR(5, 5, 0, 1);
  style.IconRect[3] = KV_VECTOR(1, 5, 0, 1);
  CONTROL* c = Styled("s", nullptr, 7, 9, 20, 20);
  c->Text = "a";  // no font in the style: no text
  c->Icon = icon;
  gui->UpdateLayout();
  StartTrace();
  gui->Draw(0);
  StopTrace();
  EXPECT_TRUE(Calls("KvDrawFont").empty());
  std::vector<std::string> calls = TracedCalls();
  auto white = std::find(calls.begin(), calls.end(), DrawColor(1, 1, 1, 1));
  ASSERT_NE(white, calls.end());
  std::vector<std::string> tail(white + 1, calls.end());
  ASSERT_GE(tail.size(), 5u);
  EXPECT_EQ(tail[0], "KvTextureActivate(" + std::to_string(icon.Id()) + ")");
  EXPECT_EQ(tail[1], "KvMatrixPush()");
  EXPECT_EQ(tail[2], "KvMatrixTranslate(7, 9, 0)");
  EXPECT_EQ(tail[3], TraceCall("KvDrawData", KV_PRIM_QUADS, 0, 4, "ptr", 0, "ptr", 0, 0, 0,
                               KV_ELEMENT_FLOAT, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(tail[4], "KvMatrixPop()");
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  gui->Draw(0);
  EXPECT_EQ(Pixel(10, 12), 0xFFFFFFFFu);  // inside the icon: (7 + 1 .. 7 + 5, 9 + 1 .. 9 + 5)
}

// ---- pixels ---------------------------------------------------------------------------------

TEST_F(ControlRender, NineAreasLandWhereTheBorderSplitPutsThem) {
  KV_GUI::STYLE& style = Style("s");
  style.AreaSplit[KV_GUI::STYLE::SPLIT_TOP] = 6;
  style.AreaSplit[KV_GUI::STYLE::SPLIT_BOTTOM] = 8;
  style.AreaSplit[KV_GUI::STYLE::SPLIT_LEFT] = 10;
  style.AreaSplit[KV_GUI::STYLE::SPLIT_RIGHT] = 4;
  // Area a gets red 20 * (a + 1), green 255 - 20 * a.
  for (int a = 0; a < 9; ++a)
    for (int k = 0; k < 4; ++k)
      style.AreaColors[a][k] = KV_VECTOR(20 * (a + 1) / 255.0f, (255 - 20 * a) / 255.0f, 0, 1);
  Styled("s", nullptr, 8, 4, 40, 30);  // x 8..48 (columns 8|18|44|48), y 4..34 (rows 4|10|26|34)
  DrawFrame();
  const int xs[3] = {12, 30, 46};
  const int ys[3] = {7, 18, 30};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) {
      int a = row * 3 + col;
      uint32_t want = (uint32_t)(20 * (a + 1)) << 24 | (uint32_t)(255 - 20 * a) << 16 | 0xFF;
      EXPECT_EQ(Pixel(xs[col], ys[row]), want) << "area " << a;
    }
  // Exactly at the splits.
  EXPECT_EQ(Pixel(17, 9) >> 24, 20u);     // last pixel of area 0
  EXPECT_EQ(Pixel(18, 10) >> 24, 100u);   // first pixel of area 4
  EXPECT_EQ(Pixel(47, 33) >> 24, 180u);   // last pixel of area 8
  EXPECT_EQ(Pixel(48, 20), 0x000000FFu);  // outside
}

TEST_F(ControlRender, TiledAreaRepeatsItsTextureAcrossTheControl) {
  // 8 x 1 texture: four red pixels, then four green.
  std::vector<uint8_t> pixels;
  for (int i = 0; i < 8; ++i)
    pixels.insert(pixels.end(), {(uint8_t)(i < 4 ? 255 : 0), (uint8_t)(i < 4 ? 0 : 255), 0, 255});
  KV_GUI::STYLE& style = Style("s");
  style.AreaTexture[4] = Texture(8, 1, pixels);
  style.AreaTiled[4] = KV_VECTOR(8, 0, 0, 1);
  Styled("s", nullptr, 0, 0, 32, 8);
  DrawFrame();
  for (int x = 0; x < 32; ++x) EXPECT_EQ(Pixel(x, 4), (x % 8) < 4 ? 0xFF0000FFu : 0x00FF00FFu) << x;
  // Half a tile of offset starts the pattern with its green half.
  style.AreaOffset[4] = KV_VECTOR(4, 0, 0, 1);
  KvRenderScene(KV_SCENE_CLEAR_COLOR);
  gui->Draw(0);
  for (int x = 0; x < 32; ++x) EXPECT_EQ(Pixel(x, 4), (x % 8) < 4 ? 0x00FF00FFu : 0xFF0000FFu) << x;
}

TEST_F(ControlRender, TextLandsAtTheOffsetAndIsClippedToTheParent) {
  KV_GUI::STYLE& box = Style("box");
  for (int k = 0; k < 4; ++k) box.AreaColors[4][k] = KV_VECTOR(0, 0, 1, 1);
  KV_GUI::STYLE& label = Style("label");
  label.TextFont = Font();
  label.TextOffset = KV_VECTOR_D(2, 3, 0, 1);
  label.TextColor = KV_VECTOR_D(1, 1, 0, 1);
  for (int k = 0; k < 4; ++k) label.AreaColors[4][k] = KV_VECTOR(0, 0, 0, 0);  // invisible skin
  CONTROL* parent = Styled("box", nullptr, 10, 10, 20, 20);                    // 10..30
  CONTROL* child = Styled("label", parent, 14, 4, 30, 12);  // at (24, 14), reaching past 30
  child->Text = "aa";  // glyphs at x 26..34 and 36..44, y 17..27, the label's box y 14..26
  DrawFrame();
  EXPECT_EQ(Pixel(27, 18), 0xFFFF00FFu);  // the first glyph inside the parent
  EXPECT_EQ(Pixel(29, 25), 0xFFFF00FFu);
  EXPECT_EQ(Pixel(27, 26), 0x0000FFFFu);  // below the label's own box (14..26): clipped
  EXPECT_EQ(Pixel(25, 18), 0x0000FFFFu);  // left of the offset: the parent's skin
  EXPECT_EQ(Pixel(27, 16), 0x0000FFFFu);  // above the offset
  EXPECT_EQ(Pixel(31, 18), 0x000000FFu);  // beyond the parent: clipped
  EXPECT_EQ(Pixel(38, 20), 0x000000FFu);
}

TEST_F(ControlRender, AControlOutsideItsParentsRegionDrawsNothing) {
  for (int k = 0; k < 4; ++k) Style("s").AreaColors[4][k] = KV_VECTOR(1, 1, 1, 1);
  CONTROL* parent = Styled("s", nullptr, 0, 0, 10, 10);
  for (int k = 0; k < 4; ++k) Style("t").AreaColors[4][k] = KV_VECTOR(1, 0, 0, 1);
  Styled("t", parent, 20, 20, 10, 10);
  DrawFrame();
  EXPECT_EQ(Pixel(25, 25), 0x000000FFu);
  EXPECT_EQ(Pixel(5, 5), 0xFFFFFFFFu);
}
