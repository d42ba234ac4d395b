// The plane-geometry kernel: include this one header.
//
//   numerics.h  tolerances (Eps, Eps2, Tol2…Tol11), LastStatus, constants,
//               the records TPointD, TSegment, TArcRec, TLineEq, TLineParam,
//               TCircleEq, TBox, status codes, comparisons, scalar helpers
//   angles.h    Angle, AngleDiff, NormalizeAngle, QuarterToAngle, Quadrant,
//               PolarPoint with PolarMode, RotatePointDeg, MirrorPoint
//   lines.h     LineEquation, IntersectSegments, SegmentsCross, IsOnSegment,
//               PointLineDistance, ClipSegment, SegmentBox, Incenter,
//               TriangleAngles, PointInQuad, PointInQuadCrossing
//   circles.h   LineCircle, CircleCircle, ArcArc, ArcEndPoints, Sweep,
//               IsOnArc, DistanceToArc, ArcExtents, BulgeFromArc, ArcFromBulge,
//               CircleFrom, CircleEquation, CircleFromEquation,
//               TangentsFromPoint, CommonTangents, PerpendicularTangents
//
// How results and failures are reported
// -------------------------------------
// No operation throws. An operation that can meet degenerate input returns
// its status with its result: single-output operations return Result<T>
// {value, status}, multi-output ones a named struct with a `status` member
// (IntersectResult, TangentResult, LineDistance, ...). 0 is success; the
// codes are the GeomStatus constants. The same code is stored in LastStatus
// for callers that test it after the call.
//
// Operations that cannot fail on valid input return their value directly
// (double, bool, TPointD, TBox) and leave LastStatus alone. The one way they
// can fail is an enumerator outside its enum (only reachable by casting a
// corrupt byte, e.g. an arc's AngleUnit read from a file): they then answer
// the fallback their comment states and set LastStatus to 1 (mode) or 21
// (angle unit); for them LastStatus is 0 after a valid call.
//
// Modes are enums (PolarMode, AngleMode, LineDistanceMode, LineCircleMode,
// CircleFromMode) whose values keep the historic integers. The arc record's
// ArcAngleUnit (0 radians, 1 degrees, 2 quarter turns) is numbered unlike
// PolarMode (0 degrees, 1 radians, 2 quarter turns): convert with
// PolarModeFor, never by casting.
//
// Angles are radians, counter-clockwise from +x; directions lie in (0, 2π].
// State is process-wide and single-threaded: Eps/Eps2 (SetTolerance) and
// LastStatus.
#pragma once

#include "geom/angles.h"
#include "geom/circles.h"
#include "geom/lines.h"
#include "geom/numerics.h"
