// Image helpers of the skin engine: the key colour, mirror, flip and
// rotation of bitmaps, colour mixing, gradient ramps with their cache, and a
// colour's saturation. Platform-free; GradientFillRect on a device context
// is in ImgUtilWin.h.
#pragma once
#include <array>
#include <vector>

#include "platform/core/Bitmap.h"

namespace qv {

QV_EXCEPTION(EAssertionFailed, Exception)

inline constexpr TColor kSkinKeyColor = 0xFF00FF;

// To 24 bits per pixel; every pixel of exactly 0xFF00FF takes colour's red,
// green and blue bytes (a system colour is not resolved).
void ReplaceKeyColor(TBitmap& bitmap, TColor color);

// Mirror: left to right. Flip: top to bottom. Left: a quarter turn
// counter-clockwise, (x, y) -> (y, width - 1 - x). Right: clockwise,
// (x, y) -> (height - 1 - y, x).
enum class TTurn { Mirror, Flip, Left, Right };
inline bool QuarterTurn(TTurn turn) { return turn == TTurn::Left || turn == TTurn::Right; }

// The turns of a whole bitmap, in place (new pixels, same format).
void MirrorBitmap(TBitmap& bitmap);
void FlipBitmap(TBitmap& bitmap);
void RotateBitmapLeft(TBitmap& bitmap);
void RotateBitmapRight(TBitmap& bitmap);
// The top-left width x height of src turned into the top-left of dst, row by
// row on the raw pixels. Nothing when src lacks that area, dst is smaller
// than the turned area or the two differ in pixel format.
void TurnPixels(const TBitmap& src, int width, int height, TBitmap& dst, TTurn turn);
// The margins (widths of the left and right columns, heights of the top and
// bottom rows) that a picture must have so that, turned, it has margins m.
TRect MarginsBeforeTurn(TTurn turn, const TRect& m);

// a below 100: percent of c1; from 100 on: per mille of c1. System colours
// are resolved first.
TColor Blend(TColor c1, TColor c2, int a);

// Ramps of count colours from `from` to `to`, held in 16 slots reused in turn.
inline constexpr int kGradientSlots = 16;
int FindGradient(int count, TColor from, TColor to);
int MakeGradient(int count, TColor from, TColor to);
int GetGradient(int count, TColor from, TColor to);
const std::vector<TColor>& GradientRamp(int slot);
// Empties the cache and starts again at slot 0.
void ResetGradientCache();

// The lines of a gradient over rect that lie inside clip: [first, last] of
// n = rect's height (vertical) or width. False when nothing is to be drawn.
bool GradientSpan(const TRect& rect, const TRect& clip, bool vertical, int& n, int& first, int& last);
// GradientFillRect into a bitmap (its bounds are the clip box).
void GradientFillBitmap(TBitmap& bitmap, const TRect& rect, TColor from, bool vertical, TColor to);

// 0..255, or 200 when every channel is below 160.
int ColorSaturation(TColor color);

}  // namespace qv
