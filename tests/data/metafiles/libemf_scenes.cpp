// Writes EMF files through libEMF, a library that takes the GDI drawing calls and records them
// as a Windows program's metafile device context would: an independent writer of the records
// the metafile reader's tests read. Each scene draws on a frame of 100 x 75 mm, which libEMF's
// reference device (1024 x 768 pixels over 320 x 240 mm) makes 320 x 240 device units.
// libEMF records no bitmaps (its StretchDIBits writes nothing), so bitmaps come from the
// hand-built files. Built and run by make_libemf.sh; the files it writes are committed.
#include <libEMF/emf.h>

#include <cstdio>
#include <string>

namespace {

using Scene = void (*)(HDC);

// libEMF takes wide text as 16-bit units.
LPCWSTR W(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }

void Shapes(HDC dc) {
  SelectObject(dc, GetStockObject(NULL_PEN));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(dc, red);
  Rectangle(dc, 20, 20, 100, 80);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc, blue);
  Ellipse(dc, 120, 20, 200, 80);
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  SelectObject(dc, green);
  POINT triangle[] = {{20, 100}, {100, 100}, {60, 180}};
  Polygon(dc, triangle, 3);
  // The upper half of a circle's outline, counterclockwise from 3 o'clock to 9 o'clock.
  HPEN yellow = CreatePen(PS_SOLID, 8, RGB(255, 255, 0));
  SelectObject(dc, yellow);
  Arc(dc, 220, 20, 300, 100, 300, 60, 220, 60);
  SelectObject(dc, GetStockObject(NULL_PEN));
  HBRUSH cyan = CreateSolidBrush(RGB(0, 255, 255));
  SelectObject(dc, cyan);
  POINT curve[] = {{120, 100}, {200, 100}, {200, 180}, {120, 180}};
  BeginPath(dc);
  PolyBezier(dc, curve, 4);
  CloseFigure(dc);
  EndPath(dc);
  FillPath(dc);
  LOGBRUSH solid = {BS_SOLID, RGB(255, 0, 0), 0};
  HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 8, &solid, 0, nullptr);
  SelectObject(dc, wide);
  MoveToEx(dc, 20, 210, nullptr);
  LineTo(dc, 300, 210);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  for (HGDIOBJ object :
       {(HGDIOBJ)red, (HGDIOBJ)blue, (HGDIOBJ)green, (HGDIOBJ)yellow, (HGDIOBJ)cyan, (HGDIOBJ)wide})
    DeleteObject(object);
}

// y up: a window of 1000 x -1000 units from (0, 1000) on the whole frame, so a square near the
// window's origin lands at the picture's bottom-left.
void YUp(HDC dc) {
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowOrgEx(dc, 0, 1000, nullptr);
  SetWindowExtEx(dc, 1000, -1000, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetViewportExtEx(dc, 320, 240, nullptr);
  SelectObject(dc, GetStockObject(NULL_PEN));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc, blue);
  Rectangle(dc, 100, 100, 400, 400);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(dc, red);
  Ellipse(dc, 600, 600, 900, 900);
  DeleteObject(blue);
  DeleteObject(red);
}

// Paths and Bezier curves: a figure of lines and a curve filled and outlined, a poly-polygon of
// two nested squares filled with the winding rule, and two more with the alternate rule.
void Paths(HDC dc) {
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  SelectObject(dc, green);
  BeginPath(dc);
  MoveToEx(dc, 20, 20, nullptr);
  LineTo(dc, 140, 20);
  POINT curve[] = {{160, 60}, {160, 100}, {140, 140}};
  PolyBezierTo(dc, curve, 3);
  LineTo(dc, 20, 140);
  CloseFigure(dc);
  EndPath(dc);
  StrokeAndFillPath(dc);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(dc, blue);
  SetPolyFillMode(dc, WINDING);
  POINT squares[] = {{180, 20}, {300, 20}, {300, 140}, {180, 140},
                     {210, 50}, {270, 50}, {270, 110}, {210, 110}};
  INT counts[] = {4, 4};
  PolyPolygon(dc, squares, counts, 2);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(dc, red);
  SetPolyFillMode(dc, ALTERNATE);
  POINT shifted[] = {{20, 160}, {140, 160}, {140, 230}, {20, 230},
                     {50, 180}, {110, 180}, {110, 210}, {50, 210}};
  PolyPolygon(dc, shifted, counts, 2);
  DeleteObject(green);
  DeleteObject(blue);
  DeleteObject(red);
}

// Text: Arial 40 units high (the em), bold, red, with its top at (20, 20), and Times New Roman
// with a spacing array, aligned by its baseline.
void Text(HDC dc) {
  HFONT arial = CreateFontW(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, W(u"Arial"));
  SelectObject(dc, arial);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 0, 0));
  TextOutW(dc, 20, 20, W(u"HHHH"), 4);
  HFONT times = CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                            W(u"Times New Roman"));
  SelectObject(dc, times);
  SetTextAlign(dc, TA_BASELINE);
  SetTextColor(dc, RGB(0, 0, 255));
  INT spacing[] = {60, 60, 60, 60};
  ExtTextOutW(dc, 20, 200, 0, nullptr, W(u"IIII"), 4, spacing);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(arial);
  DeleteObject(times);
}

// Pens of the inside-frame style, 8 units wide, around a rectangle and an ellipse (libEMF records
// no round rectangles, chords or pies): each pen lies within its shape's box.
void InsideFrame(HDC dc) {
  HPEN red = CreatePen(PS_INSIDEFRAME, 8, RGB(255, 0, 0));
  HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
  SelectObject(dc, red);
  SelectObject(dc, green);
  Rectangle(dc, 20, 20, 100, 100);
  Ellipse(dc, 120, 20, 200, 100);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
  DeleteObject(green);
}

bool Write(const std::string& path, Scene scene) {
  RECT frame = {0, 0, 10000, 7500};
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  HDC dc = CreateEnhMetaFileWithFILEA(0, file, &frame, "metafile reader test");
  scene(dc);
  DeleteEnhMetaFile(CloseEnhMetaFileWithFILE(dc));
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : ".";
  bool written =
      Write(folder + "/libemf_shapes.emf", Shapes) && Write(folder + "/libemf_y_up.emf", YUp) &&
      Write(folder + "/libemf_paths.emf", Paths) && Write(folder + "/libemf_text.emf", Text) &&
      Write(folder + "/libemf_inside_frame.emf", InsideFrame);
  return written ? 0 : 1;
}
