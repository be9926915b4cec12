// skinart: draws the program's own skin, every bitmap and the description,
// into a folder that the skin packer turns into the embedded archive, and
// the media player's button glyphs into its subfolder player/ (resources of
// the program, linked in by skin/controls/PlayerGlyphs.rc.in).
//
//   skinart FOLDER          writes the files
//   skinart --check FOLDER  exits 1 when a file there differs from what
//                           would be written (the committed art is stale)
//
// The output is a pure function of this file: no clock, no randomness, no
// fonts. Pictures are 24-bit bitmaps; magenta 0xFF00FF marks transparency.
// Edges against real colours are smoothed by 4 x 4 supersampling; edges
// against magenta stay hard, as a window region or a key-colour blit only
// knows "in" or "out".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Bitmap.h"
#include "platform/core/FileUtils.h"

namespace {

struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb C(int r, int g, int b) { return {double(r), double(g), double(b)}; }
Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

const Rgb kKey = C(255, 0, 255);

// ---- palette: slate frame, cool light surfaces, one azure accent
const Rgb kCapTop = C(0x34, 0x43, 0x57), kCapBottom = C(0x29, 0x35, 0x45), kEdge = C(0x1A, 0x22, 0x2D);
const Rgb kCapTopOff = C(0xD3, 0xD9, 0xE1), kCapBottomOff = C(0xC8, 0xCF, 0xD8), kEdgeOff = C(0x9A, 0xA4, 0xB1);
const Rgb kCapText = C(0xF3, 0xF6, 0xFA), kCapTextOff = C(0x55, 0x60, 0x6E);
const Rgb kFace = C(0xEE, 0xF1, 0xF5), kPaper = C(0xFF, 0xFF, 0xFF), kText = C(0x1F, 0x29, 0x37);
const Rgb kLine = C(0xB4, 0xBE, 0xCB), kLineSoft = C(0xD3, 0xD9, 0xE1), kShadow = C(0x9A, 0xA5, 0xB1);
const Rgb kDkShadow = C(0x4A, 0x55, 0x63), kMuted = C(0x6B, 0x77, 0x86), kInkOff = C(0xB3, 0xBC, 0xC7);
const Rgb kAccent = C(0x2F, 0x7C, 0xD8), kAccentDark = C(0x25, 0x65, 0xB4), kAccentSoft = C(0xDC, 0xEA, 0xFB);
const Rgb kAccentLine = C(0x8F, 0xB8, 0xEC), kTrack = C(0xE3, 0xE8, 0xEE), kThumb = C(0xB9, 0xC3, 0xCF);
const Rgb kDanger = C(0xE0, 0x43, 0x4F), kDangerDark = C(0xB8, 0x32, 0x3D), kMenuPaper = C(0xFB, 0xFC, 0xFE);

// ---- a float canvas with coverage-based painting
struct Canvas {
  int w, h;
  std::vector<Rgb> px;
  Canvas(int w_, int h_, Rgb fill = kKey) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}
  Rgb& at(int x, int y) { return px[size_t(y) * w + x]; }

  // Paints colour(x, y) where shape covers the pixel, blended by coverage.
  // hard: a pixel is in when at least half covered, and then painted whole.
  void paint(const std::function<bool(double, double)>& inside, const std::function<Rgb(int, int)>& colour,
             int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1, bool hard = false) {
    if (x1 < 0) x1 = w;
    if (y1 < 0) y1 = h;
    for (int y = std::max(0, y0); y < std::min(h, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(w, x1); ++x) {
        int n = 0;
        for (int sy = 0; sy < 4; ++sy)
          for (int sx = 0; sx < 4; ++sx) n += inside(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4);
        if (n == 0) continue;
        // Smoothing never bleeds into see-through pixels: a pinkish fringe
        // would show on every background.
        const Rgb& here = at(x, y);
        if (!hard && here.r == kKey.r && here.g == kKey.g && here.b == kKey.b) continue;
        double t = n / 16.0;
        if (hard) {
          if (t < 0.5) continue;
          t = 1;
        }
        at(x, y) = Mix(at(x, y), colour(x, y), t);
      }
  }
  void fill(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = std::max(0, y0); y < std::min(h, y1); ++y)
      for (int x = std::max(0, x0); x < std::min(w, x1); ++x) at(x, y) = c;
  }
  void vgrad(int x0, int y0, int x1, int y1, Rgb a, Rgb b) {
    for (int y = y0; y < y1; ++y) fill(x0, y, x1, y + 1, Mix(a, b, y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0));
  }
  // Copies another canvas in at (x, y).
  void blit(const Canvas& c, int x, int y) {
    for (int j = 0; j < c.h; ++j)
      for (int i = 0; i < c.w; ++i)
        if (x + i >= 0 && x + i < w && y + j >= 0 && y + j < h) at(x + i, y + j) = c.px[size_t(j) * c.w + i];
  }
};

// Shapes as point tests.
std::function<bool(double, double)> RoundRect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x > x1 || y < y0 || y > y1) return false;
    const double cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}
std::function<bool(double, double)> Ring(double x0, double y0, double x1, double y1, double r, double t) {
  auto outer = RoundRect(x0, y0, x1, y1, r), inner = RoundRect(x0 + t, y0 + t, x1 - t, y1 - t, std::max(0.0, r - t));
  return [=](double x, double y) { return outer(x, y) && !inner(x, y); };
}
std::function<bool(double, double)> Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
// A stroke of width t from (ax, ay) to (bx, by) with round ends.
std::function<bool(double, double)> Segment(double ax, double ay, double bx, double by, double t) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    const double u = len2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0) : 0;
    const double px = ax + u * dx - x, py = ay + u * dy - y;
    return px * px + py * py <= t * t / 4;
  };
}
std::function<bool(double, double)> Polygon(std::vector<std::pair<double, double>> pts) {
  return [=](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}
std::function<Rgb(int, int)> Solid(Rgb c) {
  return [=](int, int) { return c; };
}
std::function<Rgb(int, int)> VGrad(int y0, int y1, Rgb a, Rgb b) {
  return [=](int, int y) { return Mix(a, b, std::clamp(double(y - y0) / std::max(1, y1 - y0 - 1), 0.0, 1.0)); };
}

// Frames side by side (or stacked) into one strip.
Canvas Strip(const std::vector<Canvas>& frames, bool vertical = false) {
  const int fw = frames[0].w, fh = frames[0].h, n = int(frames.size());
  Canvas s(vertical ? fw : fw * n, vertical ? fh * n : fh);
  for (int i = 0; i < n; ++i) s.blit(frames[size_t(i)], vertical ? 0 : i * fw, vertical ? i * fh : 0);
  return s;
}

// The four states most controls have, in the order the skin uses them.
enum State { kNormal, kPressed, kDisabled, kHot, kFocused };

// ---- glyphs
enum Dir { kUp, kDown, kLeft, kRight };
void Chevron(Canvas& c, double cx, double cy, double size, Dir d, Rgb col, double t = 1.5) {
  const double s = size / 2, k = size / 4;
  std::function<bool(double, double)> a, b;
  switch (d) {
    case kUp: a = Segment(cx - s, cy + k, cx, cy - k, t), b = Segment(cx, cy - k, cx + s, cy + k, t); break;
    case kDown: a = Segment(cx - s, cy - k, cx, cy + k, t), b = Segment(cx, cy + k, cx + s, cy - k, t); break;
    case kLeft: a = Segment(cx + k, cy - s, cx - k, cy, t), b = Segment(cx - k, cy, cx + k, cy + s, t); break;
    case kRight: a = Segment(cx - k, cy - s, cx + k, cy, t), b = Segment(cx + k, cy, cx - k, cy + s, t); break;
  }
  c.paint([=](double x, double y) { return a(x, y) || b(x, y); }, Solid(col));
}
void Triangle(Canvas& c, double cx, double cy, double size, Dir d, Rgb col) {
  const double s = size / 2, k = size / 4;
  std::vector<std::pair<double, double>> p;
  switch (d) {
    case kUp: p = {{cx - s, cy + k}, {cx + s, cy + k}, {cx, cy - k}}; break;
    case kDown: p = {{cx - s, cy - k}, {cx + s, cy - k}, {cx, cy + k}}; break;
    case kLeft: p = {{cx + k, cy - s}, {cx + k, cy + s}, {cx - k, cy}}; break;
    case kRight: p = {{cx - k, cy - s}, {cx - k, cy + s}, {cx + k, cy}}; break;
  }
  c.paint(Polygon(p), Solid(col));
}
void CheckMark(Canvas& c, double x, double y, double s, Rgb col) {
  auto a = Segment(x + 0.22 * s, y + 0.52 * s, x + 0.42 * s, y + 0.72 * s, 1.7);
  auto b = Segment(x + 0.42 * s, y + 0.72 * s, x + 0.78 * s, y + 0.30 * s, 1.7);
  c.paint([=](double px, double py) { return a(px, py) || b(px, py); }, Solid(col));
}

// ---- the window frame
// Caption height and border widths; the top corners are rounded, the
// bottom ones slightly.
constexpr int kCaption = 30, kBorder = 4, kRadiusTop = 7, kRadiusBottom = 4;
constexpr int kRefW = 48, kRefH = 48;  // a small reference window the borders are cut from

Canvas ReferenceWindow(bool active) {
  Canvas c(kRefW, kRefH);
  const Rgb top = active ? kCapTop : kCapTopOff, bottom = active ? kCapBottom : kCapBottomOff;
  const Rgb edge = active ? kEdge : kEdgeOff;
  auto body = [&](double x, double y) {
    // Rounded corners, hard against the key colour.
    const double r = y < kRefH / 2 ? kRadiusTop : kRadiusBottom;
    return RoundRect(0, 0, kRefW, kRefH, r)(x, y);
  };
  c.paint(body, Solid(edge), 0, 0, -1, -1, true);
  auto inner = [&](double x, double y) {
    const double r = y < kRefH / 2 ? kRadiusTop - 1 : kRadiusBottom - 1;
    return RoundRect(1, 1, kRefW - 1, kRefH - 1, r)(x, y);
  };
  const auto fillColour = [&](int, int y) {
    return y < kCaption ? Mix(top, bottom, double(y) / (kCaption - 1)) : bottom;
  };
  // The edge line itself is smoothed against the fill inside it.
  c.paint(inner, fillColour);
  // A hairline of light along the caption's top, and the client well.
  c.paint(RoundRect(1, 1, kRefW - 1, 3, kRadiusTop - 1), Solid(Mix(top, C(255, 255, 255), active ? 0.10 : 0.35)), 0,
          1, -1, 2);
  c.fill(kBorder, kCaption, kRefW - kBorder, kRefH - kBorder, kFace);
  c.fill(kBorder - 1, kCaption, kBorder, kRefH - kBorder, Mix(bottom, edge, 0.5));
  c.fill(kRefW - kBorder, kCaption, kRefW - kBorder + 1, kRefH - kBorder, Mix(bottom, edge, 0.5));
  c.fill(kBorder - 1, kRefH - kBorder, kRefW - kBorder + 1, kRefH - kBorder + 1, Mix(bottom, edge, 0.5));
  return c;
}

Canvas Cut(const Canvas& c, int x0, int y0, int x1, int y1) {
  Canvas out(x1 - x0, y1 - y0);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) out.at(x - x0, y - y0) = const_cast<Canvas&>(c).at(x, y);
  return out;
}

// ---- caption buttons: 26 x 20, four frames (normal, pressed, hot, inactive)
constexpr int kCapBtnW = 26, kCapBtnH = 20, kCapBtnY = 5;

Rgb CaptionAt(int y, bool active) {
  const int wy = kCapBtnY + y;
  return Mix(active ? kCapTop : kCapTopOff, active ? kCapBottom : kCapBottomOff, double(wy) / (kCaption - 1));
}

enum Glyph { kClose, kMax, kRestore, kMin, kHelp };

void CaptionGlyph(Canvas& c, Glyph g, Rgb col, int ox = 0, int oy = 0, double scale = 1.0) {
  const double cx = ox + c.w / 2.0, cy = oy + c.h / 2.0;
  const double s = 4.5 * scale;
  switch (g) {
    case kClose: {
      auto a = Segment(cx - s, cy - s, cx + s, cy + s, 1.4), b = Segment(cx - s, cy + s, cx + s, cy - s, 1.4);
      c.paint([=](double x, double y) { return a(x, y) || b(x, y); }, Solid(col));
      break;
    }
    case kMax:
      c.paint(Ring(std::floor(cx - s), std::floor(cy - s), std::floor(cx + s) + 1, std::floor(cy + s) + 1, 1.0, 1.0),
              Solid(col));
      break;
    case kRestore: {
      const double x0 = std::floor(cx - s), y0 = std::floor(cy - s) + 2, x1 = std::floor(cx + s) - 1,
                   y1 = std::floor(cy + s) + 1;
      c.paint(Ring(x0, y0, x1, y1, 1.0, 1.0), Solid(col));
      auto back = Ring(x0 + 2, y0 - 2, x1 + 2, y1 - 2, 1.0, 1.0);
      auto front = RoundRect(x0, y0, x1, y1, 1.0);
      c.paint([=](double x, double y) { return back(x, y) && !front(x, y); }, Solid(col));
      break;
    }
    case kMin: c.fill(int(cx - s), int(cy), int(cx + s) + 1, int(cy) + 1, col); break;
    case kHelp: {
      // A question mark: an open arc, a stem and a dot.
      auto arc = [=](double x, double y) {
        const double dx = x - cx, dy = y - (cy - 2), d = std::sqrt(dx * dx + dy * dy);
        return d >= 2.3 && d <= 3.7 && !(dy > 0 && dx < 1.2);
      };
      auto stem = Segment(cx + 0.4, cy + 1.2, cx + 0.4, cy + 2.2, 1.4);
      auto dot = Circle(cx + 0.4, cy + 4.6, 0.9);
      c.paint([=](double x, double y) { return arc(x, y) || stem(x, y) || dot(x, y); }, Solid(col));
      break;
    }
  }
}

Canvas CaptionButton(Glyph g, int state) {
  // 0 normal, 1 pressed, 2 hot, 3 inactive window or disabled
  Canvas c(kCapBtnW, kCapBtnH);
  const bool active = state != 3;
  Rgb plate{};
  bool hasPlate = false;
  if (state == 1) plate = g == kClose ? kDangerDark : Mix(kCapBottom, kEdge, 0.6), hasPlate = true;
  if (state == 2) plate = g == kClose ? kDanger : Mix(kCapTop, C(255, 255, 255), 0.14), hasPlate = true;
  if (hasPlate) c.paint(RoundRect(0, 0, kCapBtnW, kCapBtnH, 4), Solid(plate), 0, 0, -1, -1, true);
  // Glyph pixels are painted over the plate, or over the caption colour
  // they will sit on where the button is see-through.
  Canvas glyph(kCapBtnW, kCapBtnH);
  for (int y = 0; y < kCapBtnH; ++y)
    for (int x = 0; x < kCapBtnW; ++x) glyph.at(x, y) = hasPlate ? c.at(x, y) : CaptionAt(y, active);
  const Rgb ink = state == 3 ? kMuted : (hasPlate && g == kClose ? C(255, 255, 255) : kCapText);
  Canvas marks = glyph;
  CaptionGlyph(marks, g, ink);
  for (size_t i = 0; i < c.px.size(); ++i) {
    const Rgb a = glyph.px[i], b = marks.px[i];
    if (a.r != b.r || a.g != b.g || a.b != b.b) c.px[i] = b;
  }
  return c;
}

Canvas CaptionButtonStrip(Glyph g) {
  // A window without a maximise box still has the skin's maximise button,
  // drawn disabled: greyed, as the platform draws it for a window with a
  // minimise box only, so that its place (and its hint) is never empty.
  return Strip({CaptionButton(g, 0), CaptionButton(g, 1), CaptionButton(g, 2), CaptionButton(g, 3)});
}

// The window icon's place: drawn by the program with its own icon; the
// picture only gives the place its size.
Canvas IconPlace() { return Canvas(16, 16); }

// Three small buttons of a maximised child window, on the menu bar: minimise,
// restore, close in four states each (normal, pressed, hot, disabled).
Canvas MdiControls() {
  std::vector<Canvas> cells;
  for (Glyph g : {kMin, kRestore, kClose})
    for (int s = 0; s < 4; ++s) {
      Canvas c(16, 14, kFace);
      if (s == 1) c.paint(RoundRect(0, 0, 16, 14, 3), Solid(kLineSoft));
      if (s == 2) c.paint(RoundRect(0, 0, 16, 14, 3), Solid(g == kClose ? kDanger : kAccentSoft));
      const Rgb ink = s == 3 ? kInkOff : (s == 2 && g == kClose ? C(255, 255, 255) : kText);
      CaptionGlyph(c, g, ink, 0, 0, 0.8);
      cells.push_back(c);
    }
  return Strip(cells);
}

// ---- controls
Canvas PushButton(int s) {
  Canvas c(32, 23, kFace);
  Rgb top = kPaper, bottom = C(0xF1, 0xF4, 0xF8), line = kLine;
  if (s == kPressed) top = bottom = C(0xDC, 0xE6, 0xF2), line = C(0x5B, 0x8F, 0xD0);
  if (s == kDisabled) top = bottom = C(0xF4, 0xF6, 0xF9), line = kLineSoft;
  if (s == kHot) top = C(0xF6, 0xFA, 0xFF), bottom = C(0xE6, 0xF0, 0xFC), line = kAccentLine;
  if (s == kFocused) line = kAccent;
  c.paint(RoundRect(0, 0, 32, 23, 3.5), Solid(line));
  c.paint(RoundRect(1, 1, 31, 22, 2.5), VGrad(1, 22, top, bottom));
  if (s == kFocused) c.paint(Ring(1, 1, 31, 22, 2.5, 1), Solid(C(0xC4, 0xDB, 0xF7)));
  return c;
}

Canvas CheckBox(int s) {
  // 1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled
  Canvas c(13, 13, kFace);
  const bool on = s == 1 || s == 3, off = s >= 2;
  const Rgb line = off ? kLineSoft : (on ? kAccent : C(0x8D, 0x99, 0xA8));
  const Rgb fill = on ? (off ? kInkOff : kAccent) : (off ? C(0xF4, 0xF6, 0xF9) : kPaper);
  c.paint(RoundRect(0, 0, 13, 13, 2.5), Solid(line));
  c.paint(RoundRect(1, 1, 12, 12, 1.5), Solid(fill));
  if (on) CheckMark(c, 0, 0, 13, kPaper);
  return c;
}

Canvas RadioButton(int s) {
  Canvas c(13, 13, kFace);
  const bool on = s == 1 || s == 3, off = s >= 2;
  const Rgb line = off ? kLineSoft : (on ? kAccent : C(0x8D, 0x99, 0xA8));
  c.paint(Circle(6.5, 6.5, 6.5), Solid(line));
  c.paint(Circle(6.5, 6.5, 5.5), Solid(off ? C(0xF4, 0xF6, 0xF9) : kPaper));
  if (on) c.paint(Circle(6.5, 6.5, 3.0), Solid(off ? kInkOff : kAccent));
  return c;
}

// Scroll bars: 17 pixels thick; the thumb is a pill inset from the sides.
constexpr int kSb = 17;
void Pill(Canvas& c, bool vertical, Rgb col, int x0, int y0, int x1, int y1) {
  if (vertical) c.paint(RoundRect(x0 + 4, y0 + 1, x1 - 4, y1 - 1, 4.5), Solid(col));
  else c.paint(RoundRect(x0 + 1, y0 + 4, x1 - 1, y1 - 4, 4.5), Solid(col));
}
Rgb ThumbColour(int s) { return s == 1 ? C(0x8A, 0x97, 0xA7) : s == 2 ? C(0xA3, 0xAF, 0xBD) : kThumb; }

Canvas ScrollArrows() {
  std::vector<Canvas> f;
  for (Dir d : {kLeft, kRight, kUp, kDown})
    for (int s : {int(kNormal), int(kPressed), int(kDisabled), int(kHot)}) {
      Canvas c(kSb, kSb, kTrack);
      if (s == kPressed) c.paint(RoundRect(2, 2, kSb - 2, kSb - 2, 3), Solid(C(0xC9, 0xD3, 0xDF)));
      if (s == kHot) c.paint(RoundRect(2, 2, kSb - 2, kSb - 2, 3), Solid(C(0xD6, 0xDE, 0xE8)));
      Triangle(c, kSb / 2.0, kSb / 2.0, 7, d, s == kDisabled ? kInkOff : s == kPressed ? kDkShadow : kMuted);
      f.push_back(c);
    }
  // Grips over the thumb: three short ridges across it, horizontal bar first.
  for (bool vertical : {false, true})
    for (int s : {0, 1, 2}) {
      Canvas c(kSb, kSb, kTrack);
      Pill(c, vertical, ThumbColour(s), vertical ? 0 : -8, vertical ? -8 : 0, vertical ? kSb : kSb + 8,
           vertical ? kSb + 8 : kSb);
      const Rgb ridge = Mix(ThumbColour(s), C(255, 255, 255), 0.55);
      for (int k = -2; k <= 2; k += 2) {
        if (vertical) c.fill(6, 8 + k, 11, 9 + k, ridge);
        else c.fill(8 + k, 6, 9 + k, 11, ridge);
      }
      f.push_back(c);
    }
  // The size grip: dots in a corner triangle.
  Canvas grip(kSb, kSb, kFace);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) grip.fill(13 - 4 * j, 13 - 4 * (i - j), 15 - 4 * j, 15 - 4 * (i - j), kShadow);
  f.push_back(grip);
  return Strip(f);
}

Canvas ScrollTrack(bool vertical) {
  std::vector<Canvas> f;
  for (int s = 0; s < 4; ++s) {
    Canvas c(kSb, kSb, s == 2 ? C(0xF0, 0xF3, 0xF6) : kTrack);
    // A faint groove line along the bar.
    if (s != 2) {
      if (vertical) c.fill(0, 0, 1, kSb, C(0xDA, 0xE0, 0xE7));
      else c.fill(0, 0, kSb, 1, C(0xDA, 0xE0, 0xE7));
    }
    f.push_back(c);
  }
  (void)vertical;
  return Strip(f);
}

Canvas ScrollThumb(bool vertical) {
  std::vector<Canvas> f;
  for (int s = 0; s < 3; ++s) {
    Canvas c(kSb, kSb, kTrack);
    if (vertical) c.fill(0, 0, 1, kSb, C(0xDA, 0xE0, 0xE7));
    else c.fill(0, 0, kSb, 1, C(0xDA, 0xE0, 0xE7));
    Pill(c, vertical, ThumbColour(s), 0, 0, kSb, kSb);
    f.push_back(c);
  }
  return Strip(f);
}

// Combo box: the frame of the whole control, the button part, the arrow.
Rgb FieldLine(int s) { return s == kPressed || s == kHot ? kAccent : s == kDisabled ? kLineSoft : kLine; }
Canvas SunkEdge() {
  std::vector<Canvas> f;
  for (int s = 0; s < 4; ++s) {
    Canvas c(21, 21, kFace);
    c.paint(RoundRect(0, 0, 21, 21, 3), Solid(FieldLine(s)));
    c.paint(RoundRect(1, 1, 20, 20, 2), Solid(s == kDisabled ? C(0xF4, 0xF6, 0xF9) : kPaper));
    f.push_back(c);
  }
  return Strip(f);
}
Canvas ComboButton() {
  std::vector<Canvas> f;
  for (int s = 0; s < 4; ++s) {
    Canvas c(19, 21);
    const Rgb fill = s == kPressed ? C(0xDC, 0xE6, 0xF2) : s == kHot ? kAccentSoft : kKey;
    if (fill.g != 0) c.paint(RoundRect(1, 2, 17, 19, 2), Solid(fill), 0, 0, -1, -1, true);
    c.fill(1, 4, 2, 17, kLineSoft);
    f.push_back(c);
  }
  return Strip(f);
}
Canvas ComboGlyph() {
  std::vector<Canvas> f;
  for (int s = 0; s < 5; ++s) {
    Canvas c(9, 9, s == kPressed ? C(0xDC, 0xE6, 0xF2) : s == kHot ? kAccentSoft : kPaper);
    Chevron(c, 4.5, 4.5, 7, kDown, s == kDisabled ? kInkOff : s == kHot || s == kPressed ? kAccentDark : kMuted, 1.4);
    // The glyph sits on the button's own colour; key the background out.
    for (auto& p : c.px)
      if (p.r == c.px[0].r && p.g == c.px[0].g && p.b == c.px[0].b) p = kKey;
    f.push_back(c);
  }
  return Strip(f);
}

// Tabs: normal, current, disabled, hot, focused current.
Canvas Tabs() {
  std::vector<Canvas> f;
  for (int s = 0; s < 5; ++s) {
    Canvas c(40, 22, kFace);
    const bool current = s == 1 || s == 4;
    const Rgb line = s == 2 ? kLineSoft : kLine;
    const Rgb fill = current ? kPaper : s == 3 ? C(0xF6, 0xF9, 0xFD) : C(0xE6, 0xEA, 0xF0);
    const int top = current ? 0 : 2;
    c.paint(RoundRect(0, top, 40, 26, 4), Solid(line));
    c.paint(RoundRect(1, top + 1, 39, 26, 3), Solid(fill));
    if (current) c.fill(2, top + 1, 38, top + 3, s == 4 ? kAccent : C(0x7C, 0xAB, 0xE8));
    if (!current) c.fill(0, 21, 40, 22, kLine);
    f.push_back(c);
  }
  return Strip(f);
}
Canvas PageFrame() {
  Canvas c(20, 20, kLine);
  c.fill(1, 1, 19, 19, kPaper);
  return c;
}

Canvas GroupEdge() {
  std::vector<Canvas> f;
  for (int s = 0; s < 2; ++s) {
    Canvas c(16, 16, kFace);
    c.paint(Ring(0, 0, 16, 16, 4, 1), Solid(s ? kLineSoft : kLine));
    f.push_back(c);
  }
  return Strip(f);
}

Canvas Progress() {
  std::vector<Canvas> f;
  for (int s = 0; s < 2; ++s) {
    Canvas c(20, 14, kFace);
    c.paint(RoundRect(0, 0, 20, 14, 4), Solid(kLine));
    c.paint(RoundRect(1, 1, 19, 13, 3), s ? VGrad(1, 13, C(0x5A, 0x9C, 0xEA), kAccent) : Solid(kTrack));
    f.push_back(c);
  }
  return Strip(f);
}
Canvas ProgressChunk() {
  Canvas c(8, 10, kFace);
  c.paint(RoundRect(0, 0, 8, 10, 1.5), VGrad(0, 10, C(0x5A, 0x9C, 0xEA), kAccent));
  return c;
}

// Track bar thumbs, five states: normal, pressed, disabled, hot, focused.
Canvas TrackThumb(int kind) {
  // 0 plain horizontal-bar thumb, 1 plain vertical-bar thumb, 2.. pointing
  // left, right, up, down.
  const bool wide = kind == 1 || kind == 2 || kind == 3;
  const int w = wide ? 19 : 11, h = wide ? 11 : 19;
  std::vector<Canvas> f;
  for (int s = 0; s < 5; ++s) {
    Canvas c(w, h);
    const Rgb fill = s == kPressed ? kAccentSoft : s == kDisabled ? C(0xF4, 0xF6, 0xF9) : kPaper;
    const Rgb line = s == kDisabled ? kLineSoft : s == kNormal ? C(0x8D, 0x99, 0xA8) : kAccent;
    std::function<bool(double, double)> outer, inner;
    switch (kind) {
      case 0: case 1:
        outer = RoundRect(0, 0, w, h, 3), inner = RoundRect(1, 1, w - 1, h - 1, 2);
        break;
      case 2: outer = Polygon({{0, 5.5}, {6, 0}, {19, 0}, {19, 11}, {6, 11}}),
              inner = Polygon({{1.5, 5.5}, {6.4, 1}, {18, 1}, {18, 10}, {6.4, 10}}); break;
      case 3: outer = Polygon({{19, 5.5}, {13, 0}, {0, 0}, {0, 11}, {13, 11}}),
              inner = Polygon({{17.5, 5.5}, {12.6, 1}, {1, 1}, {1, 10}, {12.6, 10}}); break;
      case 4: outer = Polygon({{5.5, 0}, {11, 6}, {11, 19}, {0, 19}, {0, 6}}),
              inner = Polygon({{5.5, 1.5}, {10, 6.4}, {10, 18}, {1, 18}, {1, 6.4}}); break;
      default: outer = Polygon({{5.5, 19}, {11, 13}, {11, 0}, {0, 0}, {0, 13}}),
               inner = Polygon({{5.5, 17.5}, {10, 12.6}, {10, 1}, {1, 1}, {1, 12.6}}); break;
    }
    c.paint(outer, Solid(line), 0, 0, -1, -1, true);
    c.paint(inner, Solid(fill));
    f.push_back(c);
  }
  return Strip(f);
}
Canvas Channel(bool vertical) {
  Canvas c(vertical ? 6 : 12, vertical ? 12 : 6, kFace);
  c.paint(RoundRect(0, 0, c.w, c.h, 2.5), Solid(kLine));
  c.paint(RoundRect(1, 1, c.w - 1, c.h - 1, 1.5), Solid(kTrack));
  return c;
}

// Up-down buttons: the plates, and the arrows drawn on them separately.
Canvas SpinPlates(bool horizontal) {
  std::vector<Canvas> f;
  for (int arrow = 0; arrow < 2; ++arrow)
    for (int s : {int(kNormal), int(kPressed), int(kHot), int(kDisabled)}) {
      Canvas c(horizontal ? 11 : 15, horizontal ? 15 : 11, kFace);
      const Rgb fill = s == kPressed ? C(0xDC, 0xE6, 0xF2) : s == kHot ? kAccentSoft : s == kDisabled ? C(0xF4, 0xF6, 0xF9) : kPaper;
      c.paint(RoundRect(0, 0, c.w, c.h, 2.5), Solid(s == kHot || s == kPressed ? kAccentLine : kLine));
      c.paint(RoundRect(1, 1, c.w - 1, c.h - 1, 1.5), Solid(fill));
      f.push_back(c);
    }
  return Strip(f);
}
Canvas SpinGlyphs(bool horizontal) {
  std::vector<Canvas> f;
  for (int arrow = 0; arrow < 2; ++arrow)
    for (int s : {int(kNormal), int(kPressed), int(kHot), int(kDisabled)}) {
      Canvas c(7, 7);
      const Dir d = horizontal ? (arrow ? kRight : kLeft) : (arrow ? kDown : kUp);
      const Rgb ink = s == kDisabled ? kInkOff : s == kNormal ? kMuted : kAccentDark;
      // Hard-edged so that keying leaves no fringe.
      std::vector<std::pair<double, double>> p;
      switch (d) {
        case kUp: p = {{0, 5}, {7, 5}, {3.5, 1.5}}; break;
        case kDown: p = {{0, 2}, {7, 2}, {3.5, 5.5}}; break;
        case kLeft: p = {{5, 0}, {5, 7}, {1.5, 3.5}}; break;
        case kRight: p = {{2, 0}, {2, 7}, {5.5, 3.5}}; break;
      }
      c.paint(Polygon(p), Solid(ink), 0, 0, -1, -1, true);
      f.push_back(c);
    }
  return Strip(f);
}

// Menus: item strip (normal, separator, disabled, selected, default), the
// popup's background, the menu bar.
Canvas MenuItems() {
  std::vector<Canvas> f;
  for (int s = 0; s < 5; ++s) {
    Canvas c(24, 22, kMenuPaper);
    // A separator item is shorter than the strip and takes its bottom
    // rows, so the line sits 4 rows above a 9-row separator's bottom.
    if (s == 1) {
      for (auto& p : c.px) p = kKey;
      c.fill(0, 17, 24, 18, kLineSoft);
    }
    // The selected item carries the highlight text colour (white).
    if (s == 3) {
      c.paint(RoundRect(2, 1, 22, 21, 3), Solid(kAccentDark));
      c.paint(RoundRect(3, 2, 21, 20, 2), Solid(kAccent));
    }
    f.push_back(c);
  }
  return Strip(f);
}
Canvas MenuBackground() {
  Canvas c(16, 16, C(0xC3, 0xCB, 0xD6));
  c.fill(1, 1, 15, 15, kMenuPaper);
  return c;
}
Canvas MenuBar() {
  std::vector<Canvas> f;
  for (int s = 0; s < 2; ++s) {
    Canvas c(8, 20, kFace);
    c.fill(0, 19, 8, 20, s ? kLineSoft : kLine);
    f.push_back(c);
  }
  return Strip(f);
}

Canvas HeaderBar() {
  std::vector<Canvas> f;
  for (int s = 0; s < 5; ++s) {
    Canvas c(20, 22, kPaper);
    const Rgb top = s == kPressed ? C(0xE2, 0xE9, 0xF2) : s == kHot ? C(0xF3, 0xF8, 0xFE) : kPaper;
    const Rgb bottom = s == kPressed ? C(0xD6, 0xDF, 0xEA) : s == kHot ? kAccentSoft : C(0xF1, 0xF4, 0xF8);
    c.vgrad(0, 0, 20, 21, top, bottom);
    c.fill(0, 21, 20, 22, kLine);
    c.fill(19, 4, 20, 18, kLineSoft);
    f.push_back(c);
  }
  return Strip(f);
}

Canvas StatusBar() {
  std::vector<Canvas> f;
  for (int s = 0; s < 3; ++s) {
    Canvas c(20, 20, kFace);
    c.fill(0, 0, 20, 1, kLine);
    if (s == 1) c.fill(19, 4, 20, 16, kLineSoft);
    if (s == 2)
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) c.fill(16 - 4 * j, 16 - 4 * (i - j), 18 - 4 * j, 18 - 4 * (i - j), kShadow);
    f.push_back(c);
  }
  return Strip(f);
}

Canvas ToolButtons() {
  std::vector<Canvas> f;
  for (int s = 0; s < 5; ++s) {
    Canvas c(22, 22);
    if (s == kHot || s == kPressed || s == kFocused) {
      const Rgb line = s == kHot ? kAccentLine : kAccent;
      const Rgb fill = s == kHot ? kAccentSoft : C(0xC9, 0xDC, 0xF5);
      c.paint(RoundRect(0, 0, 22, 22, 3), Solid(line), 0, 0, -1, -1, true);
      c.paint(RoundRect(1, 1, 21, 21, 2), Solid(fill));
    }
    f.push_back(c);
  }
  return Strip(f);
}

// ---- output
std::vector<uint8_t> BmpBytes(const Canvas& c) {
  qv::TBitmap b;
  b.SetSize(c.w, c.h);
  for (int y = 0; y < c.h; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < c.w; ++x) {
      const Rgb p = c.px[size_t(y) * c.w + x];
      auto q = [](double v) { return uint8_t(std::clamp(int(std::lround(v)), 0, 255)); };
      row[3 * x] = q(p.b), row[3 * x + 1] = q(p.g), row[3 * x + 2] = q(p.r);
    }
  }
  qv::TMemoryStream s;
  b.SaveToStream(s);
  return s.Bytes();
}

// ---- media player button glyphs: resources of the program, not of the
// skin (in the subfolder player/, which the packer leaves out). Olive is
// their see-through colour; edges stay hard against it.
const Rgb kOlive = C(0x80, 0x80, 0x00);
enum PlayerGlyph { kPlay, kPause, kStop, kNext, kPrev, kStep, kBack, kRecord, kEject };
Canvas PlayerGlyphCanvas(PlayerGlyph g, Rgb ink) {
  Canvas c(16, 14, kOlive);
  auto paint = [&](const std::function<bool(double, double)>& shape) { c.paint(shape, Solid(ink), 0, 0, -1, -1, true); };
  auto right = [&](double x0, double x1) { paint(Polygon({{x0, 2}, {x0, 12}, {x1, 7}})); };
  auto bar = [&](double x0, double x1) { paint(RoundRect(x0, 2, x1, 12, 0.8)); };
  switch (g) {
    case kPlay: right(5, 12.5); break;
    case kPause: bar(4, 7), bar(9, 12); break;
    case kStop: paint(RoundRect(3.5, 2.5, 12.5, 11.5, 1.2)); break;
    case kNext: right(3, 10), bar(10.5, 12.5); break;
    case kPrev: bar(3.5, 5.5), paint(Polygon({{13, 2}, {13, 12}, {6, 7}})); break;
    case kStep: right(2, 8), right(8, 14); break;
    case kBack: paint(Polygon({{8, 2}, {8, 12}, {2, 7}})), paint(Polygon({{14, 2}, {14, 12}, {8, 7}})); break;
    case kRecord: paint(Circle(8, 7, 4.6)); break;
    case kEject: paint(Polygon({{2.5, 8.5}, {13.5, 8.5}, {8, 2.5}})), paint(RoundRect(2.5, 10, 13.5, 12.2, 0.6)); break;
  }
  return c;
}
void PlayerGlyphs(std::map<std::string, std::vector<uint8_t>>& f) {
  const char* names[] = {"MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV", "MPSTEP", "MPBACK", "MPRECORD", "MPEJECT"};
  for (int g = 0; g < 9; ++g) {
    const Rgb coloured = g == kRecord ? kDanger : g == kStop ? kDkShadow : kAccent;
    f[std::string("player/EN_") + names[g] + ".bmp"] = BmpBytes(PlayerGlyphCanvas(PlayerGlyph(g), kText));
    f[std::string("player/DI_") + names[g] + ".bmp"] = BmpBytes(PlayerGlyphCanvas(PlayerGlyph(g), kInkOff));
    f[std::string("player/CL_") + names[g] + ".bmp"] = BmpBytes(PlayerGlyphCanvas(PlayerGlyph(g), coloured));
  }
}

std::string Colour(Rgb c) {
  return std::to_string(int(c.r)) + " " + std::to_string(int(c.g)) + " " + std::to_string(int(c.b));
}

std::string Description() {
  std::string s;
  auto line = [&](const std::string& l) { s += l + "\r\n"; };
  line("; Quillvault's own skin. Written by tools/skinart; edit that, not this.");
  line("[TitlebarSkin]");
  line("SkinName=Quillvault Slate");
  line("");
  line("[Personality]");
  for (const char* n : {"Left", "Right"}) {
    line(std::string(n) + "=" + (std::string(n) == "Left" ? "left.bmp" : "right.bmp"));
    line(std::string(n) + "TopHeight=" + std::to_string(kCaption));
    line(std::string(n) + "BotHeight=" + std::to_string(kRadiusBottom + 2));
    line(std::string(n) + "Frame=2");
    line(std::string(n) + "Stretch=1");
    line(std::string(n) + "Trans=1");
  }
  for (const char* n : {"Top", "Bottom"}) {
    line(std::string(n) + "=" + (std::string(n) == "Top" ? "top.bmp" : "bottom.bmp"));
    line(std::string(n) + "TopHeight=" + std::to_string(kRadiusTop + 3));
    line(std::string(n) + "BotHeight=" + std::to_string(kRadiusTop + 3));
    line(std::string(n) + "Frame=2");
    line(std::string(n) + "Stretch=1");
    line(std::string(n) + "Trans=1");
  }
  line("TextShift=30");
  line("TextShiftVert=0");
  line("TextRightClip=96");
  line("TextAlignment=0");
  line("ActiveTextR=" + std::to_string(int(kCapText.r)));
  line("ActiveTextG=" + std::to_string(int(kCapText.g)));
  line("ActiveTextB=" + std::to_string(int(kCapText.b)));
  line("InActiveTextR=" + std::to_string(int(kCapTextOff.r)));
  line("InActiveTextG=" + std::to_string(int(kCapTextOff.g)));
  line("InActiveTextB=" + std::to_string(int(kCapTextOff.b)));
  line("menuBar=menubar.bmp");
  line("TileMenu=1");
  line("TileLeftMenu=0");
  line("TileRightMenu=0");
  line("");
  line("[Fonts]");
  line("FontHeight=14");
  line("");
  line("[Colours]");
  line("WindowText=" + Colour(kText));
  line("TitleTextActive=" + Colour(kCapText));
  line("TitleTextNoActive=" + Colour(kCapTextOff));
  line("ButtonFace=" + Colour(kFace));
  line("ButtonText=" + Colour(kText));
  line("ButtonHilight=255 255 255");
  line("Buttonlight=" + Colour(C(0xF7, 0xF9, 0xFB)));
  line("ButtonShadow=" + Colour(kShadow));
  line("ButtonDkShadow=" + Colour(kDkShadow));
  line("HilightText=255 255 255");
  line("Hilight=" + Colour(kAccent));
  line("Menubar=" + Colour(kFace));
  line("MenuBarText=" + Colour(kText));
  line("MenuText=" + Colour(kText));
  line("Menu=" + Colour(kMenuPaper));
  line("Scrollbar=" + Colour(kTrack));
  line("");
  // Caption buttons in the platform's order, from the right: close, then
  // maximise (normal state) or restore (maximised), then minimise. A window
  // with only one of the two boxes shows both, the other one greyed, as the
  // platform does. Help stands next to close on windows with neither box,
  // where the platform puts it: loading puts it where the last maximise
  // button whose first condition is "not maximised" (2) stands, so the
  // maximise button names that one first. The window icon.
  struct Btn {
    const char* section;
    const char* image;
    int action, xcoord, visibility, visibility1;
  };
  const Btn buttons[] = {{"Button.Close", "close.bmp", 0, 34, 0, 0},
                         {"Button.Maximize", "maximize.bmp", 1, 62, 2, 6},
                         {"Button.Restore", "restore.bmp", 1, 62, 1, 0},
                         {"Button.Help", "help.bmp", 4, 62, 10, 0},
                         {"Button.Minimize", "minimize.bmp", 2, 90, 6, 0}};
  for (const Btn& b : buttons) {
    line(std::string("[") + b.section + "]");
    line(std::string("ButtonImage=") + b.image);
    line("Action=" + std::to_string(b.action));
    line("Align=1");
    line("Xcoord=" + std::to_string(b.xcoord));
    line("Ycoord=" + std::to_string(kCapBtnY));
    line("Visibility=" + std::to_string(b.visibility));
    line("Visibility1=" + std::to_string(b.visibility1));
    line("frame=4");
    line("");
  }
  line("[Button.Icon]");
  line("ButtonImage=icon.bmp");
  line("Action=3");
  line("Align=0");
  line("Xcoord=9");
  line("Ycoord=7");
  line("Visibility=0");
  line("frame=1");
  line("");
  line("[MDICONTROLS]");
  line("Image=mdicontrols.bmp");
  line("");
  line("[Buttons]");
  line("Bitmap=buttons.bmp");
  line("LeftWidth=4");
  line("RightWidth=4");
  line("TopHeight=4");
  line("BottomHeight=4");
  line("Trans=0");
  line("Tile=0");
  line("CheckButton=checkbox.bmp");
  line("CheckButtonFrame=4");
  line("RadioButton=radio.bmp");
  line("RadioButtonFrame=4");
  line("NormalColour2=" + Colour(kText));
  line("MouseOverColour2=" + Colour(kAccentDark));
  line("PressedColour2=" + Colour(kText));
  line("");
  auto element = [&](const std::string& section, const std::string& image, int frame, int l, int t, int r, int b,
                     int trans, int tile, const std::vector<std::string>& extra = {}) {
    line("[" + section + "]");
    line("Image=" + image);
    if (frame) line("Frame=" + std::to_string(frame));
    line("LeftWidth=" + std::to_string(l));
    line("TopHeight=" + std::to_string(t));
    line("RightWidth=" + std::to_string(r));
    line("BottomHeight=" + std::to_string(b));
    line("Trans=" + std::to_string(trans));
    line("Tile=" + std::to_string(tile));
    for (const auto& e : extra) line(e);
    line("");
  };
  element("Scrollbar", "scrollbar.bmp", 23, 0, 0, 0, 0, 0, 0);
  element("HorzScroll", "hscroll.bmp", 4, 2, 2, 2, 2, 0, 0);
  element("VertScroll", "vscroll.bmp", 4, 2, 2, 2, 2, 0, 0);
  element("HorzScrollThumb", "hthumb.bmp", 0, 6, 0, 6, 0, 0, 0, {"FrameCount=3"});
  element("VertScrollThumb", "vthumb.bmp", 0, 0, 6, 0, 6, 0, 0, {"FrameCount=3"});
  element("ComboButton", "combobutton.bmp", 4, 3, 3, 3, 3, 1, 0);
  element("SunkEdge", "sunkedge.bmp", 4, 3, 3, 3, 3, 0, 0);
  element("ExtraImages", "comboglyph.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Tabs", "tabs.bmp", 5, 5, 5, 5, 3, 0, 0, {"Border=tabborder.bmp", "NormalColour2=" + Colour(kMuted),
                                                     "MouseOverColour2=" + Colour(kText)});
  element("Tab.Pane", "tabpane.bmp", 1, 4, 4, 4, 4, 0, 0);
  element("GroupBoxEdge", "groupedge.bmp", 2, 5, 5, 5, 5, 0, 0);
  element("GroupBox", "grouplabel.bmp", 1, 2, 0, 2, 0, 0, 0,
          {"BackgroundAlignment=0", "BackgroundLeftShift=6", "BackgroundRightShift=6"});
  line("[Progress]");
  line("Bitmap=progress.bmp");
  line("Style=0");
  line("LeftWidth=5");
  line("TopHeight=5");
  line("RightWidth=5");
  line("BottomHeight=5");
  line("Trans=0");
  line("Tile=0");
  line("");
  element("Progress.Chunk", "progresschunk.bmp", 1, 2, 2, 2, 2, 0, 0);
  element("Trackbar.ThumbHorz", "thumbhorz.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Trackbar.ThumbVert", "thumbvert.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Trackbar.ThumbLeft", "thumbleft.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Trackbar.ThumbRight", "thumbright.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Trackbar.ThumbUp", "thumbup.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Trackbar.ThumbDown", "thumbdown.bmp", 5, 0, 0, 0, 0, 1, 0);
  element("Track", "track.bmp", 1, 3, 2, 3, 2, 0, 0);
  element("TRACKVERT", "trackvert.bmp", 1, 2, 3, 2, 3, 0, 0);
  element("UpDown.Horz", "updownh.bmp", 8, 3, 3, 3, 3, 0, 0, {"GlyphImage=updownhglyph.bmp"});
  element("UpDown.Vert", "updownv.bmp", 8, 3, 3, 3, 3, 0, 0, {"GlyphImage=updownvglyph.bmp"});
  element("MenuItem", "menuitem.bmp", 5, 5, 4, 5, 4, 1, 0);
  element("MenuBackground", "menubg.bmp", 1, 2, 2, 2, 2, 0, 0);
  element("Headerbar", "header.bmp", 5, 2, 2, 3, 2, 0, 0);
  element("StatusBarEdges", "statusbar.bmp", 3, 2, 2, 2, 2, 0, 0);
  element("ToolBars", "toolbuttons.bmp", 5, 4, 4, 4, 4, 1, 0);
  line("[Customcolors]");
  const Rgb custom[] = {kAccent, C(0x1F, 0x9D, 0x8B), C(0xE0, 0x8A, 0x1E), kDanger, C(0x7A, 0x5C, 0xD6),
                        kCapTop, kFace, kText, kShadow, kPaper};
  for (int i = 0; i < 10; ++i) line("Color" + std::to_string(i) + "=" + Colour(custom[i]));
  return s;
}

std::map<std::string, std::vector<uint8_t>> Files() {
  std::map<std::string, std::vector<uint8_t>> f;
  const Canvas on = ReferenceWindow(true), off = ReferenceWindow(false);
  const int bot = kRadiusBottom + 2;
  // Left and right: the caption rows, one plain row, the bottom corner rows.
  auto side = [&](const Canvas& w, int x0) {
    Canvas c(kBorder, kCaption + 1 + bot);
    c.blit(Cut(w, x0, 0, x0 + kBorder, kCaption + 1), 0, 0);
    c.blit(Cut(w, x0, kRefH - bot, x0 + kBorder, kRefH), 0, kCaption + 1);
    return c;
  };
  f["left.bmp"] = BmpBytes(Strip({side(on, 0), side(off, 0)}));
  f["right.bmp"] = BmpBytes(Strip({side(on, kRefW - kBorder), side(off, kRefW - kBorder)}));
  // Top and bottom between the side borders: fixed ends, a plain middle.
  const int fixed = kRadiusTop + 3;
  auto band = [&](const Canvas& w, int y0, int y1) {
    Canvas c(2 * fixed + 4, y1 - y0);
    c.blit(Cut(w, kBorder, y0, kBorder + fixed + 2, y1), 0, 0);
    c.blit(Cut(w, kRefW - kBorder - fixed - 2, y0, kRefW - kBorder, y1), fixed + 2, 0);
    return c;
  };
  f["top.bmp"] = BmpBytes(Strip({band(on, 0, kCaption), band(off, 0, kCaption)}, true));
  f["bottom.bmp"] = BmpBytes(Strip({band(on, kRefH - kBorder, kRefH), band(off, kRefH - kBorder, kRefH)}, true));
  f["close.bmp"] = BmpBytes(CaptionButtonStrip(kClose));
  f["maximize.bmp"] = BmpBytes(CaptionButtonStrip(kMax));
  f["restore.bmp"] = BmpBytes(CaptionButtonStrip(kRestore));
  f["minimize.bmp"] = BmpBytes(CaptionButtonStrip(kMin));
  f["help.bmp"] = BmpBytes(CaptionButtonStrip(kHelp));
  f["icon.bmp"] = BmpBytes(IconPlace());
  f["mdicontrols.bmp"] = BmpBytes(MdiControls());
  f["menubar.bmp"] = BmpBytes(MenuBar());
  f["buttons.bmp"] = BmpBytes(Strip({PushButton(0), PushButton(1), PushButton(2), PushButton(3), PushButton(4)}));
  f["checkbox.bmp"] = BmpBytes(Strip({CheckBox(0), CheckBox(1), CheckBox(2), CheckBox(3)}));
  f["radio.bmp"] = BmpBytes(Strip({RadioButton(0), RadioButton(1), RadioButton(2), RadioButton(3)}));
  f["scrollbar.bmp"] = BmpBytes(ScrollArrows());
  f["hscroll.bmp"] = BmpBytes(ScrollTrack(false));
  f["vscroll.bmp"] = BmpBytes(ScrollTrack(true));
  f["hthumb.bmp"] = BmpBytes(ScrollThumb(false));
  f["vthumb.bmp"] = BmpBytes(ScrollThumb(true));
  f["combobutton.bmp"] = BmpBytes(ComboButton());
  f["sunkedge.bmp"] = BmpBytes(SunkEdge());
  f["comboglyph.bmp"] = BmpBytes(ComboGlyph());
  f["tabs.bmp"] = BmpBytes(Tabs());
  f["tabborder.bmp"] = BmpBytes(PageFrame());
  f["tabpane.bmp"] = BmpBytes(PageFrame());
  f["groupedge.bmp"] = BmpBytes(GroupEdge());
  f["grouplabel.bmp"] = BmpBytes(Canvas(12, 16, kFace));
  f["progress.bmp"] = BmpBytes(Progress());
  f["progresschunk.bmp"] = BmpBytes(ProgressChunk());
  const char* thumbs[] = {"thumbhorz.bmp", "thumbvert.bmp", "thumbleft.bmp",
                          "thumbright.bmp", "thumbup.bmp",  "thumbdown.bmp"};
  // Horizontal bars take the upright thumb, vertical bars the lying one.
  const int kinds[] = {0, 1, 2, 3, 4, 5};
  for (int i = 0; i < 6; ++i) f[thumbs[i]] = BmpBytes(TrackThumb(kinds[i]));
  f["track.bmp"] = BmpBytes(Channel(false));
  f["trackvert.bmp"] = BmpBytes(Channel(true));
  f["updownh.bmp"] = BmpBytes(SpinPlates(true));
  f["updownv.bmp"] = BmpBytes(SpinPlates(false));
  f["updownhglyph.bmp"] = BmpBytes(SpinGlyphs(true));
  f["updownvglyph.bmp"] = BmpBytes(SpinGlyphs(false));
  f["menuitem.bmp"] = BmpBytes(MenuItems());
  f["menubg.bmp"] = BmpBytes(MenuBackground());
  f["header.bmp"] = BmpBytes(HeaderBar());
  f["statusbar.bmp"] = BmpBytes(StatusBar());
  f["toolbuttons.bmp"] = BmpBytes(ToolButtons());
  const std::string ini = Description();
  f["skin.ini"] = std::vector<uint8_t>(ini.begin(), ini.end());
  PlayerGlyphs(f);
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "Usage: skinart FOLDER | skinart --check FOLDER\n");
    return 2;
  }
  const std::string dir = argv[argc - 1];
  int stale = 0;
  try {
    for (const auto& [name, bytes] : Files()) {
      const qv::String path = qv::FromUtf8(dir + "/" + name);
      if (check) {
        if (!qv::FileExists(path) || qv::ReadFileBytes(path) != bytes) {
          std::fprintf(stderr, "skinart: %s/%s is not what skinart draws\n", dir.c_str(), name.c_str());
          ++stale;
        }
      } else {
        const size_t slash = name.rfind('/');
        qv::ForceDirectories(qv::FromUtf8(slash == std::string::npos ? dir : dir + "/" + name.substr(0, slash)));
        qv::WriteFileBytes(path, bytes.data(), bytes.size());
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinart: %s\n", e.what());
    return 1;
  }
  if (check && stale) return 1;
  if (!check) std::printf("skinart: wrote %s\n", dir.c_str());
  return 0;
}
