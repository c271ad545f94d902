// Star measurement and pole geometry in one include: centroiding, plane geometry,
// the template star data, the template pole, the pole in the live frame and the
// refraction correction.
//
// Usage:
//   #include "astro/Customfunc.h"
//   GetPreciseStarPos(frame, x, y, sx, sy);  // and the others; see each header
#pragma once

#include "astro/Centroid.h"
#include "astro/Geometry.h"
#include "astro/MaskPole.h"
#include "astro/PoleCoor.h"
#include "astro/Refraction.h"
#include "astro/StarData.h"
