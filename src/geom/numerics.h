// Tolerances, process-wide kernel state, constants, value records and the
// comparisons every geometric routine is built on.
#pragma once

#include <cmath>
#include <cstdint>

namespace qm {

// ---------------------------------------------------------------------------
// Process-wide state
// ---------------------------------------------------------------------------

// The adjustable tolerance: 1e-7 until the configuration start-up calls
// SetTolerance(1e-6); nothing changes it afterwards. Change it only through
// SetTolerance so that Eps2 stays 2·Eps.
extern double Eps;
extern double Eps2;

// Status of the last kernel operation that reports one (0 = ok). Every such
// operation also returns the code; LastStatus is kept for callers that test
// it after the call, so read it before calling the kernel again.
extern std::int32_t LastStatus;

void SetTolerance(double e);

// ---------------------------------------------------------------------------
// Fixed tolerances and constants
// ---------------------------------------------------------------------------

inline constexpr double Tol2 = 0.01;
inline constexpr double Tol3 = 0.001;
inline constexpr double Tol4 = 1e-4;
inline constexpr double Tol5 = 1e-5;
inline constexpr double Tol6 = 1e-6;
inline constexpr double Tol7 = 1e-7;
inline constexpr double Tol11 = 1e-11;

// Stands for "no value" or "infinitely far"; minimum searches start here.
inline constexpr double FarValue = 1e30;

inline constexpr double Pi = 3.14159265358979323846;
inline constexpr double HalfPi = Pi / 2;
inline constexpr double TwoPi = 2 * Pi;
inline constexpr double QuarterPi = Pi / 4;
inline constexpr double ThreeQuarterPi = 3 * Pi / 4;
inline constexpr double FiveQuarterPi = 5 * Pi / 4;
inline constexpr double ThreeHalfPi = 3 * Pi / 2;
inline constexpr double SevenQuarterPi = 7 * Pi / 4;
inline constexpr double Tan22_5 = 0.41421356237309504880;  // tan 22.5° = √2 − 1
inline constexpr double One = 1.0;
inline constexpr double DegPerRad = 180 / Pi;
inline constexpr double RadPerDeg = Pi / 180;

// Exact conversions: DegToRad(360) must be 2π, not 2π minus a rounding
// residue, or a 0–360° arc would normalise to a zero sweep.
constexpr double DegToRad(double deg) { return deg * RadPerDeg; }
constexpr double RadToDeg(double rad) { return rad * DegPerRad; }

// ---------------------------------------------------------------------------
// Status codes
// ---------------------------------------------------------------------------

struct GeomStatus {
  static constexpr std::int32_t Ok = 0;
  static constexpr std::int32_t UnknownMode = 1;
  static constexpr std::int32_t CoincidentPoints = 2;  // a line's two points coincide
  static constexpr std::int32_t ZeroNormal = 3;
  static constexpr std::int32_t ZeroDirection = 4;
  static constexpr std::int32_t Collinear = 5;         // no circumcircle / points coincide
  static constexpr std::int32_t ParallelLines = 6;
  static constexpr std::int32_t DegenerateSlope = 7;   // undefined slope, degenerate segment
  static constexpr std::int32_t VerticalSlope = 8;     // undefined slope, vertical segment
  static constexpr std::int32_t DegenerateTriangle = 9;
  static constexpr std::int32_t NotASquare = 10;
  static constexpr std::int32_t PointCircle = 13;      // equation describes a point
  static constexpr std::int32_t NoRealCircle = 14;
  static constexpr std::int32_t Concentric = 16;
  static constexpr std::int32_t AngleOutOfRange = 19;
  static constexpr std::int32_t AngleNegative = 20;
  static constexpr std::int32_t UnknownAngleUnit = 21;
  static constexpr std::int32_t DegenerateBox = 22;
  static constexpr std::int32_t NotATriangle = 34;
  static constexpr std::int32_t SideNotPositive = 39;
  static constexpr std::int32_t AtCentre = 68;
  static constexpr std::int32_t InsideCircle = 69;
  static constexpr std::int32_t PointOnLine = 70;
  static constexpr std::int32_t TooFarFromLine = 71;
  static constexpr std::int32_t NoRealSolution = 72;

  // IntersectSegments has its own meaning for 1 and 2.
  static constexpr std::int32_t SegmentsParallel = 1;
  static constexpr std::int32_t OnExtension = 2;
};

// A single output together with its status. Multi-output operations use
// named structs with a `status` member instead.
template <class T>
struct Result {
  T value{};
  std::int32_t status = GeomStatus::Ok;
  constexpr bool ok() const { return status == GeomStatus::Ok; }
};

// ---------------------------------------------------------------------------
// Value records
// ---------------------------------------------------------------------------

struct TPointD {
  double x = 0;
  double y = 0;
  friend constexpr bool operator==(const TPointD&, const TPointD&) = default;
};

struct TSegment {
  TPointD P1;
  TPointD P2;
  friend constexpr bool operator==(const TSegment&, const TSegment&) = default;
};

// Unit of an arc record's angles. The entities always produce Radians. The
// numbering is the one stored in files; PolarPoint's modes are numbered
// differently (see PolarModeFor in angles.h).
enum class ArcAngleUnit : std::uint8_t { Radians = 0, Degrees = 1, QuarterTurns = 2 };

// Radius is signed: > 0 the arc runs counter-clockwise from StartAngle to
// EndAngle, < 0 clockwise.
struct TArcRec {
  TPointD Center;
  double Radius = 0;
  ArcAngleUnit AngleUnit = ArcAngleUnit::Radians;
  double StartAngle = 0;
  double EndAngle = 0;
};

// Implicit line a·x + b·y + c = 0 with (a, b) of unit length; a·x + b·y + c
// is the signed distance, positive to the left of the defining direction.
struct TLineEq {
  double a = 0;
  double b = 0;
  double c = 0;
};

// Point (x0, y0) and unit direction (dx, dy).
struct TLineParam {
  double x0 = 0;
  double y0 = 0;
  double dx = 0;
  double dy = 0;
};

// Circle x² + y² + D·x + E·y + F = 0 together with its centre and radius.
struct TCircleEq {
  double D = 0;
  double E = 0;
  double F = 0;
  TPointD Center;
  double Radius = 0;
};

// Axis-aligned box. The empty extent is EmptyBox: growing it by any point
// gives that point.
struct TBox {
  TPointD Min;
  TPointD Max;
  friend constexpr bool operator==(const TBox&, const TBox&) = default;
};

inline constexpr TBox EmptyBox{{FarValue, FarValue}, {-FarValue, -FarValue}};

// ---------------------------------------------------------------------------
// Comparisons (with the current Eps)
// ---------------------------------------------------------------------------

inline bool IsZero(double x) { return std::fabs(x) <= Eps; }
inline bool IsNonZero(double x) { return std::fabs(x) > Eps; }
inline bool IsPositive(double x) { return x > Eps; }
inline bool IsNotPositive(double x) { return x <= Eps; }
inline bool IsNegative(double x) { return x < -Eps; }
inline bool IsNotNegative(double x) { return x >= -Eps; }
inline bool WithinTol(double t, double a, double b) { return std::fabs(a - b) <= t; }
inline bool IsEqual(double a, double b) { return std::fabs(a - b) <= Eps2; }
inline bool IsNotEqual(double a, double b) { return std::fabs(a - b) > Eps2; }
inline void SnapZero(double& x) {
  if (IsZero(x)) x = 0;
}

// Strictly less than t in both coordinates.
inline bool SamePoint(double x1, double y1, double x2, double y2, double t) {
  return std::fabs(x1 - x2) < t && std::fabs(y1 - y2) < t;
}
inline bool SamePoint(TPointD p, TPointD q, double t) { return SamePoint(p.x, p.y, q.x, q.y, t); }
inline bool SamePointEps(TPointD p, TPointD q) { return SamePoint(p, q, Eps); }
inline bool SamePoint3D(double x1, double y1, double z1, double x2, double y2, double z2, double t) {
  return std::fabs(x1 - x2) < t && std::fabs(y1 - y2) < t && std::fabs(z1 - z2) < t;
}

// The integer x stands for when it lies within Eps of one, otherwise the
// ceiling of x. Values beyond the Int64 range saturate; NaN gives 0.
std::int64_t CeilTol(double x);

// 0 for a divisor that IsZero, else 1/x.
inline double Reciprocal(double x) { return IsZero(x) ? 0.0 : 1.0 / x; }

// ---------------------------------------------------------------------------
// Scalars and points
// ---------------------------------------------------------------------------

inline double SumSquares(double a, double b) { return a * a + b * b; }
inline double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }
inline double Distance(TPointD p, TPointD q) { return std::hypot(q.x - p.x, q.y - p.y); }
double Distance3D(double x1, double y1, double z1, double x2, double y2, double z2);

// Midpoint; a half-difference that IsZero is taken as 0 so that nearly equal
// coordinates stay exactly the first point's.
TPointD MidPoint(TPointD p, TPointD q);

}  // namespace qm
