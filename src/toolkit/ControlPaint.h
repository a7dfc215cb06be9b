#pragma once
// The paint cycle every control class uses: begin (restore what lies under the control and
// redraw the controls below it), draw, end (redraw the controls above it, then present or
// fade the new picture in).
#include <windows.h>

#include "toolkit/GdiPlus.h"

namespace ui {

class UiImage;

// The graphics of the window's composite buffer, where controls draw; null when none.
GpGraphics* ControlGraphics(int windowIndex);

// False when the control is not to draw now.
bool BeginControlPaint(int windowIndex, int position, const Box& rect, int pendingAlpha, int mode);
// flags bit 0 presents at once even when the window fades its controls.
void EndControlPaint(int windowIndex, int position, const Box& rect, int noFade, int mode, int flags = 0,
                     bool skipFinish = false);
void BlendControlRect(int windowIndex, const Box& rect, int alpha);
// One tick of a state fade: blends the next step in, or, once complete, resets alpha to 0 and
// stops the fade's timer on the host window.
void StepStateFade(int windowIndex, const Box& rect, int& alpha, UINT_PTR timer);

bool DrawImageFitted(GpGraphics* g, const UiImage& image, const Box& dest, Box src, bool srcGiven);
bool DrawImageAt(GpGraphics* g, const UiImage& image, float x, float y, float width, bool widthGiven, float height,
                 bool heightGiven, bool centred);

}  // namespace ui
