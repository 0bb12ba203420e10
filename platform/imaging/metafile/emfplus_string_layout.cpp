// Breaking DrawString's text into lines and placing them.
#include "platform/imaging/metafile/emfplus_string_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::metafile {

namespace {

// A line as it is broken: its characters' origins from the line's start, and its width.
struct Line {
  std::vector<PlacedCharacter> characters;
  double width = 0;
};

// Spaces and tabs are where lines may break; they take room but show nothing.
bool IsSpace(char32_t c) { return c == U' ' || c == U'\t'; }
// Other control characters take no room and show nothing.
bool IsControl(char32_t c) { return c < 0x20 && c != U'\t'; }

class LineBreaker {
 public:
  LineBreaker(const std::u32string& text, const std::vector<double>& advances,
              const PlusStringFormat& format, double limit)
      : text_(text), advances_(advances), format_(format), limit_(limit) {}

  // Breaks the paragraph of characters [begin, end) into lines; an empty one takes a line too.
  void Paragraph(size_t begin, size_t end, std::vector<Line>* lines);

 private:
  // Whether width more from x passes the line's end (with room for rounding).
  bool Passes(double x, double width) const { return x + width > limit_ * (1 + 1e-9); }
  // Where a tab at x takes the line: the next tab stop after x, or a space's room when the
  // format has none.
  double TabStop(double x, double spaceAdvance) const;
  void Place(size_t index, double* x, Line* line);

  const std::u32string& text_;
  const std::vector<double>& advances_;
  const PlusStringFormat& format_;
  double limit_;
};

double LineBreaker::TabStop(double x, double spaceAdvance) const {
  double stop = format_.firstTab;
  for (double distance : format_.tabs) {
    stop += distance;
    if (stop > x) return stop;
  }
  double last = format_.tabs.empty() ? 0 : format_.tabs.back();
  if (last <= 0) return x + spaceAdvance;
  return stop + (std::floor((x - stop) / last) + 1) * last;
}

void LineBreaker::Place(size_t index, double* x, Line* line) {
  line->characters.push_back({index, {*x, 0}});
  *x += advances_[index];
  line->width = *x;
}

void LineBreaker::Paragraph(size_t begin, size_t end, std::vector<Line>* lines) {
  Line line;
  double x = 0;
  size_t i = begin;
  while (i < end) {
    char32_t c = text_[i];
    if (IsSpace(c) || IsControl(c)) {
      if (c == U'\t') x = TabStop(x, advances_[i]);
      if (c == U' ') x += advances_[i];
      ++i;
      continue;
    }
    size_t wordEnd = i;
    double width = 0;
    for (; wordEnd < end && !IsSpace(text_[wordEnd]) && !IsControl(text_[wordEnd]); ++wordEnd)
      width += advances_[wordEnd];
    // A word that passes the line's end starts the next line; one wider than a whole line breaks
    // where it reaches the end.
    if (!line.characters.empty() && Passes(x, width)) {
      lines->push_back(std::move(line));
      line = Line{};
      x = 0;
    }
    for (; i < wordEnd; ++i) {
      if (!line.characters.empty() && Passes(x, advances_[i])) {
        lines->push_back(std::move(line));
        line = Line{};
        x = 0;
      }
      Place(i, &x, &line);
    }
  }
  lines->push_back(std::move(line));
}

// Where a line of the width starts across the box, as the alignment says.
double LineStart(const RectD& box, const StringMetrics& metrics, const PlusStringFormat& format,
                 uint32_t align, double width) {
  double leading = format.leading * metrics.em, trailing = format.trailing * metrics.em;
  if (align == kAlignCentre) return box.x + leading + (box.w - leading - trailing - width) / 2;
  if (align == kAlignFar) return box.x + box.w - trailing - width;
  return box.x + leading;
}

// Where the block of lines starts down the box, as the line alignment says.
double BlockTop(const RectD& box, const PlusStringFormat& format, double height) {
  if (format.lineAlign == kAlignCentre) return box.y + (box.h - height) / 2;
  if (format.lineAlign == kAlignFar) return box.y + box.h - height;
  return box.y;
}

}  // namespace

StringLayout LayOutString(const std::u32string& text, const std::vector<double>& advances,
                          const StringMetrics& metrics, const RectD& box,
                          const PlusStringFormat& format) {
  bool wraps = !(format.flags & kFormatNoWrap) && box.w > 0;
  double usable = box.w - (format.leading + format.trailing) * metrics.em;
  double limit = wraps ? std::max(usable, 0.0) : std::numeric_limits<double>::infinity();
  LineBreaker breaker(text, advances, format, limit);
  std::vector<Line> lines;
  size_t begin = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != U'\n') continue;
    breaker.Paragraph(begin, i, &lines);
    begin = i + 1;
  }
  // Right-to-left text starts from the far side.
  uint32_t align = format.align;
  if (format.flags & kFormatRightToLeft)
    align = align == kAlignNear ? kAlignFar : align == kAlignFar ? kAlignNear : align;
  StringLayout layout;
  double top = BlockTop(box, format, metrics.lineHeight * static_cast<double>(lines.size()));
  for (size_t n = 0; n < lines.size(); ++n) {
    PointD origin{LineStart(box, metrics, format, align, lines[n].width),
                  top + metrics.lineHeight * static_cast<double>(n) + metrics.ascent};
    layout.lines.push_back({origin, lines[n].width});
    for (const PlacedCharacter& c : lines[n].characters)
      layout.characters.push_back({c.index, {origin.x + c.origin.x, origin.y}});
  }
  return layout;
}

}  // namespace platform::metafile
