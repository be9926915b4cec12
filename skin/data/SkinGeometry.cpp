#include "skin/data/SkinGeometry.h"

#include <algorithm>

#include "skin/data/SkinImage.h"

namespace qv {

namespace {

bool HasArea(const TRect& r) { return r.Right > r.Left && r.Bottom > r.Top; }

struct PieceList {
  std::vector<TSkinPiece>& out;
  void Add(const TRect& dst, const TRect& src) {
    if (HasArea(dst) && HasArea(src)) out.push_back({dst, src});
  }
};

}  // namespace

TRect SkinFrameIn(const TBitmap& image, bool vertical, int N, int I) {
  const TRect f = SkinFrameRect(image, vertical, N, I);
  if (!HasArea(f) || f.Left < 0 || f.Top < 0 || f.Right > image.Width() || f.Bottom > image.Height()) return TRect{};
  return f;
}

TSkinGridCut SkinGridCut(int W, int H, const TRect& frame, const TRect& margins) {
  TSkinGridCut cut;
  if (W <= 0 || H <= 0 || !HasArea(frame)) return cut;
  const int sx = frame.Left, sy = frame.Top, fw = frame.Width(), fh = frame.Height();
  int L = margins.Left, T = margins.Top, R = margins.Right, B = margins.Bottom;
  if (W < L + R) L = R = 0;
  if (H < T + B) T = B = 0;
  auto add = [&](const TRect& dst, const TRect& src, bool centre = false) {
    if (!HasArea(dst) || !HasArea(src)) return;
    if (centre) cut.centre = cut.count;
    cut.piece[static_cast<size_t>(cut.count++)] = {dst, src};
  };
  add(Rect(0, 0, L, T), Bounds(sx, sy, L, T));
  add(Rect(0, H - B, L, H), Bounds(sx, sy + fh - B, L, B));
  add(Rect(W - R, 0, W, T), Bounds(sx + fw - R, sy, R, T));
  add(Rect(0, T, L, H - B), Rect(sx, sy + T, sx + L, sy + fh - B));
  add(Rect(L, 0, W - R, T), Rect(sx + L, sy, sx + fw - R, sy + T));
  add(Rect(L, T, W - R, H - B), Rect(sx + L, sy + T, sx + fw - R, sy + fh - B), true);
  add(Rect(W - R, H - B, W, H), Bounds(sx + fw - R, sy + fh - B, R, B));
  add(Rect(W - R, T, W, H - B), Rect(sx + fw - R, sy + T, sx + fw, sy + fh - B));
  add(Rect(L, H - B, W - R, H), Rect(sx + L, sy + fh - B, sx + fw - R, sy + fh));
  return cut;
}

std::vector<TSkinPiece> SkinFrameStrip(int W, int H, const TRect& frame, int left, int right) {
  std::vector<TSkinPiece> pieces;
  if (W <= 0 || H <= 0 || !HasArea(frame)) return pieces;
  PieceList list{pieces};
  const int sx = frame.Left, sy = frame.Top, fw = frame.Width(), fh = frame.Height();
  list.Add(Rect(0, 0, left, H), Bounds(sx, sy, left, fh));
  // An empty middle would never advance: it is simply not repeated.
  const int mw = fw - left - right;
  if (mw > 0) {
    for (int x = left; x < W - right; x += mw) list.Add(Bounds(x, 0, mw, H), Bounds(sx + left, sy, mw, fh));
  }
  list.Add(Rect(W - right, 0, W, H), Bounds(sx + fw - right, sy, right, fh));
  return pieces;
}

std::vector<TSkinPiece> SkinBarPieces(const TRect& rect, const TRect& frame, int left, int right) {
  std::vector<TSkinPiece> pieces;
  if (IsInvertedRect(rect) || !HasArea(frame)) return pieces;
  PieceList list{pieces};
  const int sx = frame.Left, sy = frame.Top, fw = frame.Width(), fh = frame.Height();
  const int tw = rect.Width(), th = rect.Height();
  if (fw > tw) {
    list.Add(rect, frame);
    return pieces;
  }
  list.Add(Bounds(rect.Left, rect.Top, left, th), Bounds(sx, sy, left, fh));
  list.Add(Bounds(rect.Left + left, rect.Top, tw - left - right, th), Bounds(sx + left, sy, fw - left - right, fh));
  list.Add(Bounds(rect.Right - right, rect.Top, right, th), Bounds(sx + fw - right, sy, right, fh));
  return pieces;
}

TPoint CenteredOrigin(const TRect& rect, int w, int h) {
  return TPoint{rect.Left + (rect.Width() - w) / 2, rect.Top + (rect.Height() - h) / 2};
}

TKeyRange KeyRange(TColor key, int blueTolerance, int greenTolerance, int redTolerance) {
  const uint32_t k = ColorToRGB(key);
  auto hi = [](int c, int tolerance) { return std::min(255, c + tolerance); };
  return TKeyRange{RedOf(k),   hi(RedOf(k), redTolerance),   GreenOf(k),
                   hi(GreenOf(k), greenTolerance), BlueOf(k), hi(BlueOf(k), blueTolerance)};
}

void OpaqueRuns(const TBitmap& image, int dx, int dy, const TKeyRange& key, std::vector<TRect>& runs) {
  const int w = image.Width(), h = image.Height();
  if (image.Empty()) return;
  const int n = image.BytesPerPixel();
  const int stride = image.RowBytes();
  // Rows are contiguous: one synchronisation with pending drawing, then plain reads.
  const uint8_t* base = image.ScanLine(0);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = base + static_cast<ptrdiff_t>(y) * stride;
    auto keyed = [&](int x) {
      const uint8_t* p = row + static_cast<ptrdiff_t>(x) * n;
      return key.Contains(p[2], p[1], p[0]);
    };
    int x = 0;
    while (x < w) {
      while (x < w && keyed(x)) ++x;
      if (x >= w) break;
      const int x0 = x;
      while (x < w && !keyed(x)) ++x;
      runs.push_back(Rect(x0 + dx, y + dy, x + dx, y + dy + 1));
    }
  }
}

}  // namespace qv
