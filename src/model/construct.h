#pragma once
// What Construct receives and answers.
//
// A drafting tool collects clicks and calls Construct on its prototype after
// each one. The case is #fixed + 10·#tangent + 100·#normal. The typed inputs
// of the tool boxes (line length and angle with their check boxes, the
// radius) come in a plain TConstructInput, and messages come back as text
// for the caller to show: Construct never shows anything.
#include <cstdint>
#include <span>

#include "geom/geometry.h"

namespace qm {

class TCadObj;

// One collected click. For a fixed click `entity` is the entity the point
// was snapped to, or null; for a tangent or normal click it is the clicked
// entity (the collector keeps an owned clone of it).
struct TClick {
  TPointD point;
  const TCadObj* entity = nullptr;
  std::int16_t seq = 0;
};
using TClicks = std::span<const TClick>;

// Values of the drafting tool boxes, read when Construct runs.
struct TConstructInput {
  double length = 1;        // LenCalc, drawing units
  double angleDeg = 0;      // AngCalc, degrees
  bool forceLength = true;  // ForceLen "Force &Length to:"
  bool forceAngle = true;   // ForceAng "Force &Angle to:"
  double radius = 1;        // RadCalc, used as |radius|
};

// Result codes. n > 0 is the number of alternatives appended.
namespace construct {
inline constexpr std::int16_t NeedMore = 0;        // a further click can still complete the case
inline constexpr std::int16_t ObjectProblem = -1;  // "Problem in Object definition"
inline constexpr std::int16_t CannotTrim = -2;     // "Cannot Trim This Way"
inline constexpr std::int16_t CannotBlend = -3;    // "Cannot Blend Radius This Way"
inline constexpr std::int16_t CannotChamfer = -4;  // "Cannot Chamfer This Way"
// Refused: the case cannot be completed. `message` is the reason to show,
// or null where nothing is shown; either way the tool starts over.
inline constexpr std::int16_t Refused = -5;
}  // namespace construct

// Refusal texts of the line, arc and circle tools.
namespace construct_msg {
inline constexpr const char* ObjectProblem = "Problem in Object definition";
inline constexpr const char* CannotTrim = "Cannot Trim This Way";
inline constexpr const char* CannotBlend = "Cannot Blend Radius This Way";
inline constexpr const char* CannotChamfer = "Cannot Chamfer This Way";
inline constexpr const char* TangentToLine = "Cannot Tangent To Line";
inline constexpr const char* TangentToThese = "Cannot Tangent To These Two Entities";
inline constexpr const char* KeepAngle = "Cannot Keep Specified Angle";
inline constexpr const char* NormalToLine = "Cannot Normal To Line";
inline constexpr const char* HorizontalVertical = "Cannot Specify Horizontal/Vertical Line";
}  // namespace construct_msg

// The message of codes −1 … −4; null for other codes.
const char* ConstructMessage(std::int16_t code);

struct TConstructResult {
  std::int16_t code = construct::NeedMore;
  const char* message = nullptr;  // for codes −1 … −5; null: show nothing

  static TConstructResult Count(int n) { return {static_cast<std::int16_t>(n), nullptr}; }
  static TConstructResult Code(std::int16_t c) { return {c, ConstructMessage(c)}; }
  static TConstructResult Refuse(const char* text = nullptr) { return {construct::Refused, text}; }
  bool operator==(const TConstructResult&) const = default;
};

}  // namespace qm
