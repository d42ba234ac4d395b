#pragma once
// What arcs and circles share (not a public API): intersections, drawing by
// chords, frame tests and the constructions of the arc and circle tools.
#include <cstdint>

#include "geom/geometry.h"
#include "model/chords.h"
#include "model/object.h"

namespace qm {

class TCanvas;

namespace curve {

// The path of an arc record (full circle for a circle record).
chords::Path PathOf(const TArcRec& rec);

// Intersections of the record's full circle with the other entity's
// carrier: a line's carrier (ordered along the line), or the other's full
// circle (tolerance Tol6, the plus point first).
bool Intersect(const TArcRec& rec, const TCadObj& other, TMOptions& markers, TPointD& first);

// Draws the path by chords (at least `minChords`) into the canvas; with
// fill = 1 the chords also go to the fill buffer. Answers the chords drawn.
int Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill, bool highlighted, const chords::Path& path,
         int minChords, const TPointD* first, const TPointD* last);
int DrawAnimated(TCanvas& canvas, std::int32_t phase, const chords::Path& path, int minChords, const TPointD* first,
                 const TPointD* last);

// Entirely: the curve's box lies in the band. Partly: any chord (at least
// `minChords`, deviating at most half a pixel) lies partly in it.
bool InFrame(const TCanvas& frame, bool entirely, const chords::Path& path, const TBox& extents, int minChords);

// True when |a| and |b| are equal (the scaling keeps circles round).
bool SameMagnitude(double a, double b);

// The constructions of the arc tools (arcClass) and the circle tools.
TConstructResult Construct(bool arcClass, const TCadObj& proto, TClicks fixed, TClicks tangent,
                           TExList<TCadObj>& result, TClicks normal, const TConstructInput& input);

}  // namespace curve
}  // namespace qm
