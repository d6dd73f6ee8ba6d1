// The tiles, every side of them in one include: their images and the lock they are shared under
// (tileimages.h), prerendering (prerender.h), drawing a snapshot into a tile (tiledraw.h),
// presenting tiles on screen (present.h), the palettes (palette.h) and the drawing operations they
// share (drawing.h). For code that reaches all of them, as the unit tests do; the program's own
// files include the header they need.
#pragma once

#include "overview/drawing.h"
#include "overview/palette.h"
#include "overview/prerender.h"
#include "overview/present.h"
#include "overview/tiledraw.h"
#include "overview/tileimages.h"
