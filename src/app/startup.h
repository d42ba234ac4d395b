#pragma once
// The start-up sequence, as far as it is plain logic: configuration, the
// single-instance rule, the splash decision and the order in which the forms
// are created. The Qt program (app/forms) performs the rest.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/config.h"

namespace qm::app {

struct StartupPlan {
  bool anotherInstance = false;  // another instance was found and asked to come forward: exit now
  int raiseError = 0;            // errno of that request, 0 when it reached the other instance
  bool showSplash = true;        // false when the first argument begins with "-Q"
  std::string firstArgument;     // a drawing to open after start-up, when not "-Q…"
};

// Module initialisation, the globals, the configuration (read three times, as
// every run does, so the file holds every key afterwards) and the
// single-instance check. Only the first argument is looked at.
StartupPlan PlanStartup(Configuration& config, const std::vector<std::string>& args);

// True once at least `minimumMs` have passed since `startTick` on a
// millisecond counter that wraps around.
constexpr bool SplashTimeElapsed(std::uint32_t startTick, std::uint32_t now, std::uint32_t minimumMs = 1000) {
  return static_cast<std::uint32_t>(now - startTick) >= minimumMs;
}

// The forms of the program, in the order start-up creates them (each later
// step of building adds its forms where this list names them).
const std::vector<std::string_view>& FormCreationOrder();

// The configuration half of the settings-changed notification (message
// 0x85B): re-reads the system settings and the user defaults.
void ReloadConfiguration(Configuration& config);

inline constexpr std::uint32_t kMsgSettingsChanged = 0x85B;

}  // namespace qm::app
