#pragma once
// The program-wide configuration: "quillery5.ini", shared with the companion
// programs, read with write-back of every value so that after one run the
// file lists every key the program knows.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/family.h"
#include "platform/palette.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace qm::app {

class TMultiLang;

// Where the four on-screen scales take their visibility from the [Quillmar]
// section (the main window passes itself when it loads its defaults).
class ScaleVisibilitySink {
 public:
  virtual ~ScaleVisibilitySink() = default;
  virtual void SetScaleVisible(int which, bool visible) = 0;  // 0 left, 1 top, 2 right, 3 bottom
};

// The configuration record. Directory fields hold the directory as resolved
// against the configuration directory (a relative value in the file is taken
// relative to where the file lives, once, so a later change of the working
// directory cannot move them); the *Text fields hold what the file says.
struct TConfig {
  std::string SystemDir, MailDir, PostsDir, FontsDir;
  std::string SystemDirText = ".", MailDirText = "mail-box", PostsDirText = "posts", FontsDirText = "fonts";
  std::string MailDatPath, SketchFilePath, HelpFilePath, ToolbarLayoutPath;
  int ScreenColorIndex = 0;
  double UnitFactor = 1.0;
  double ChainTolerance = 0.001;
  std::array<bool, 4> ScaleVisible{true, true, true, true};  // left, top, right, bottom
  std::string LanguageName = "English";
  bool ShowArrows = false;
  bool ShowMarkDimensions = false;
  double DefaultTextHeight = 10, DefaultTextAspect = 1, DefaultTextSpacing = 20, DefaultTextSlant = 0,
         DefaultTextRotation = 0, DefaultWordSpacing = 50, DefaultLineSpacing = 15, DefaultLineDirection = 0;
  char DefaultKernMode = 'K';
  std::string DefaultFontName = "Arial";
  std::string ExternalAppName, ExternalAppCaption, ExternalDataFile = "External.Dat";
};

// The family's windows, cleared before every discovery.
struct FamilyHandles {
  platform::FamilyWindow otherInstance, sorvel, tornak, imgel, external;
  int Count() const {
    return otherInstance.valid() + sorvel.valid() + tornak.valid() + imgel.valid() + external.valid();
  }
};

// Formats a number in general format with 4 significant digits: 12.3456 →
// "12.35", 10 → "10", 0.001 → "0.001", 123456 → "1.235E5", 1e-6 → "1E-6".
std::string FormatGeneral4(double value);
// Parses the first 20 characters as a decimal number with '.' as separator.
// False unless they parse completely to a finite number.
bool ParseConfigNumber(std::string_view text, double& value);

class Configuration {
 public:
  // `configDir` empty: the platform's configuration directory.
  explicit Configuration(std::string configDir = {}, std::string runtimeDir = {});

  TConfig& Record() { return record_; }
  const TConfig& Record() const { return record_; }
  const std::string& ConfigDir() const { return configDir_; }
  const std::string& ConfigPath() const { return configPath_; }
  const std::string& RuntimeDir() const { return runtimeDir_; }
  platform::ProfileFile& Profile() { return profile_; }
  platform::FormRegistry& Registry() { return registry_; }
  const platform::ColorTable& Colors() const { return colors_; }
  FamilyHandles& Family() { return family_; }

  // Module initialisation and the globals of start-up: tolerance, search
  // texts, configuration path, then LoadSystemConfig.
  void Initialise();

  void LocateConfigFile();
  std::string ReadConfigText(std::string_view section, std::string_view key, std::string_view def);
  double ReadConfigNumber(std::string_view section, std::string_view key, std::string_view defText,
                          double defValue);
  void WriteConfigNumber(std::string_view section, std::string_view key, double value);
  void LoadSystemConfig();
  void LoadUserDefaults(ScaleVisibilitySink* mainWindow);
  void ApplyLanguage(TMultiLang* component);
  void FindFamilyWindows();
  // 0 on success, else the errno of the failed start.
  int LaunchCompanion(std::string_view executableName);

  // The search texts of the family's windows.
  static constexpr std::string_view kSorvelTitle = "Sorvel", kQuillmarTitle = "Quillmar", kTornakTitle = "Tornak",
                                    kImgelTitle = "Imgel";

 private:
  std::string Resolve(const std::string& dirText) const;

  std::string configDir_, configPath_, runtimeDir_;
  TConfig record_;
  platform::ProfileFile profile_;
  platform::FormRegistry registry_;
  platform::ColorTable colors_;
  FamilyHandles family_;
  std::string defaultTrueTypeFace_ = "Arial";
};

// Applies the family's title/class rules to one window: 0 another instance of
// this program, 1 Sorvel, 2 Tornak, 3 Imgel, 4 the external application, -1 none.
int ClassifyFamilyWindow(const platform::FamilyWindow& w, std::string_view externalCaption);

// The configuration record as JSON (for `quillmar-cli config`).
std::string ConfigToJson(const Configuration& config);

}  // namespace qm::app
