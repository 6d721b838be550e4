#pragma once

// Plane geometry of the involute of a circle, in the transverse plane of a gear. Angles are in radians,
// lengths in the unit of the gear's dimensions. The functions keep no state and log nothing: a failure is
// told by the returned value alone.

#include <kest/gear/host/export.h>

// Involute function inv(alpha) = tan(alpha) - alpha; no range check (NaN or infinite at odd multiples of
// pi/2).
GEARRECORDS_API double _inv(double alpha);

// The angle alpha in [-89 deg, 89 deg] with _inv(alpha) = inv, odd in inv. returns 0.0 for inv = 0.0 and 2.0
// (an angle outside the searched range) when it does not converge, as for |inv| > inv(89 deg) or NaN.
GEARRECORDS_API double _invinv(double inv);

// Involute function of the transverse pressure angle on the circle of diameter dy of an involute with base
// diameter db, with the sign of `sign`. returns 0.0 inside the base circle, NaN for sign = 0 outside it.
GEARRECORDS_API double involute_alpha_y_t(double dy, double db, double sign);

// Arc length over a chord on a circle of diameter d. returns 0.0 for d or chord below the machine epsilon or
// a chord longer than d.
GEARRECORDS_API double _chord2arc_length(double chord, double d);

// Chord under an arc on a circle of diameter d. returns 0.0 for d or arc below the machine epsilon or an arc
// longer than pi * d.
GEARRECORDS_API double _arc_length2chord(double arc, double d);

// Point of the involute with base radius rb around the centre (cx, cy) that starts on the ray from the centre
// through (ox, oy), at the polar angle |invAngle| from that ray (towards negative angles when `negative`).
// Null outputs are skipped. returns false, writing nothing, when |invAngle| exceeds one angular pitch 2 pi /
// z.
GEARRECORDS_API bool pointInvolute(double z, double rb, double cx, double cy, double ox, double oy,
                                   bool negative, double invAngle, double* x, double* y);

// Signed distance of (px, py) from the involute with base radius |rb| around (cx, cy) that starts at (ox, oy)
// on the base circle, with the unit normal (nx, ny) and the foot point (fx, fy); distance times normal leads
// from the foot point to the point, and the sign of rb turns both round. z is not used. Null outputs are
// skipped. returns false (outputs written all the same, the start point as foot point) when the point lies on
// the centre's side of the base-circle tangent at the start point.
GEARRECORDS_API bool distance2Involute(double z, double rb, double cx, double cy, double ox, double oy,
                                       bool negative, double px, double py, double* distance, double* nx,
                                       double* ny, double* fx, double* fy);
