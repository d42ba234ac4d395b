#pragma once
// The processing engines (offset, ridge, shadow, boolean combination, fill,
// envelope stretch, format conversion, the family's settings dialog), called
// by library name and ordinal with a fixed argument list each. Geometry
// travels through the mail-box files; only the stretch envelope's edges are
// passed as arguments.
//
// An engine that is not installed does not stop the program: its call answers
// kEngineNotAvailable, which fails both success rules, and its command is
// disabled. Callers test IsAvailable()/the sentinel first and report it.
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace qm {
class TCommonSpline;  // common geometry (exchange), passed to the stretch engine
}

namespace qm::exchange {

inline constexpr std::int32_t kEngineNotAvailable = INT32_MIN;

inline constexpr std::string_view kZovuz = "ZOVUZ.DLL";
inline constexpr std::string_view kVekRidge = "VEKRIDGE.DLL";
inline constexpr std::string_view kVekShadow = "VEKSHADOW.DLL";
inline constexpr std::string_view kVekUni = "VEKUNI.DLL";
inline constexpr std::string_view kVekFill = "VEKFILL.DLL";
inline constexpr std::string_view kVekStretch = "VEKSTRETCH.DLL";
inline constexpr std::string_view kVekConv = "VEKCONV.DLL";
inline constexpr std::string_view kSysSetup = "SYSSETUP.DLL";

// Opaque list the offset engine may fill (owned by the caller).
struct EngineObjectList;

struct NoArgs {
  bool operator==(const NoArgs&) const = default;
};
// ZOVUZ.DLL 1: the two parameter blocks by value-copy, 1, two points of three
// Doubles (both far away), the caller's empty object list, 0.
struct OffsetArgs {
  std::array<std::uint8_t, 336> paramsA{};
  std::array<std::uint8_t, 104> paramsB{};
  std::int32_t one = 1;
  std::array<double, 6> points{1e30, 1e30, 1e30, 1e30, 1e30, 1e30};
  EngineObjectList* objects = nullptr;
  std::int32_t zero = 0;
  bool operator==(const OffsetArgs&) const = default;
};
// VEKSHADOW.DLL 1: mode 1 ground, 2 wall; angle in radians.
struct ShadowArgs {
  std::int32_t mode = 1;
  double angle = 0, offset = 0, length = 0;
  bool operator==(const ShadowArgs&) const = default;
};
// VEKUNI.DLL 1: 1 union, -1 first minus second, 3 second minus first,
// 2 union of the contours of the single group "Letter".
struct CombineArgs {
  std::int32_t operation = 1;
  bool operator==(const CombineArgs&) const = default;
};
// VEKFILL.DLL 1: 1, first layer, first layer, second layer, second layer.
struct FillArgs {
  std::int32_t one = 1, first = 0, firstAgain = 0, second = 0, secondAgain = 0;
  bool operator==(const FillArgs&) const = default;
};
// VEKSTRETCH.DLL 1: bottom, right, top, left edge; the engine only reads them.
struct StretchArgs {
  std::array<const TCommonSpline*, 4> edges{};
  bool operator==(const StretchArgs&) const = default;
};
// VEKCONV.DLL: a file name (passed exactly as given, never case-folded);
// ordinal 1 (DXF import) also takes the chain tolerance.
struct ConvertArgs {
  std::string fileName;
  double chainTolerance = 0;
  bool operator==(const ConvertArgs&) const = default;
};

using EngineArgs = std::variant<NoArgs, OffsetArgs, ShadowArgs, CombineArgs, FillArgs, StretchArgs, ConvertArgs>;

enum class SuccessRule { Positive, Zero };

struct EngineSpec {
  std::string_view library;
  int ordinal;
  std::size_t argsIndex;  // index of the expected alternative in EngineArgs
  std::string_view reads, writes;
  SuccessRule rule;
};

// Every engine entry point the program calls.
const std::vector<EngineSpec>& EngineTable();
const EngineSpec* FindEngineSpec(std::string_view library, int ordinal);

// True when `result` means success for that library: > 0 for the offset
// engine and the settings dialog, 0 for the others. The not-available
// sentinel is never a success.
bool EngineSucceeded(std::string_view library, std::int32_t result);

using EngineFunction = std::function<std::int32_t(const EngineArgs&)>;

class EngineRegistry {
 public:
  // Replaces an earlier registration. Only entry points of EngineTable() can
  // be registered; false otherwise.
  bool Register(std::string_view library, int ordinal, EngineFunction fn);
  void Unregister(std::string_view library, int ordinal);
  bool IsAvailable(std::string_view library, int ordinal) const;
  // kEngineNotAvailable when nothing is registered, or when the arguments are
  // not the ones that entry point takes.
  std::int32_t Call(std::string_view library, int ordinal, const EngineArgs& args) const;

 private:
  std::map<std::pair<std::string, int>, EngineFunction, std::less<>> engines_;
};

// The process-wide registry the commands use.
EngineRegistry& Engines();

// A test double: registers itself for given entry points, records each call
// and answers scripted results (default: the success value of the entry point).
class RecordingEngines {
 public:
  struct Call {
    std::string library;
    int ordinal;
    EngineArgs args;
  };
  explicit RecordingEngines(EngineRegistry& registry) : registry_(registry) {}
  ~RecordingEngines();
  void Install(std::string_view library, int ordinal);
  void InstallAll();
  void SetResult(std::string_view library, int ordinal, std::int32_t result);
  const std::vector<Call>& Calls() const { return calls_; }

 private:
  EngineRegistry& registry_;
  std::vector<Call> calls_;
  std::map<std::pair<std::string, int>, std::int32_t, std::less<>> results_;
  std::vector<std::pair<std::string, int>> installed_;
};

}  // namespace qm::exchange
