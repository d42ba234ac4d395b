#include "app/config.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/language.h"
#include "geom/geometry.h"
#include "platform/launcher.h"
#include "platform/paths.h"

namespace qm::app {

std::string FormatGeneral4(double value) {
  if (!std::isfinite(value)) return value != value ? "NAN" : (value > 0 ? "INF" : "-INF");
  if (value == 0) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3e", value);  // "-1.235e+01"
  std::string s = buf;
  bool neg = s[0] == '-';
  if (neg) s.erase(0, 1);
  auto e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);  // "1235"
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out;
  if (exponent < 4 && std::fabs(value) >= 1e-5) {
    if (exponent >= 0) {
      std::string intPart = digits.substr(0, std::min<std::size_t>(digits.size(), exponent + 1));
      while (static_cast<int>(intPart.size()) < exponent + 1) intPart.push_back('0');
      std::string frac = digits.size() > static_cast<std::size_t>(exponent + 1) ? digits.substr(exponent + 1) : "";
      out = intPart + (frac.empty() ? "" : "." + frac);
    } else {
      out = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
  } else {
    out = digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += "E" + std::to_string(exponent);
  }
  return neg ? "-" + out : out;
}

bool ParseConfigNumber(std::string_view text, double& value) {
  if (text.size() > 20) text = text.substr(0, 20);
  if (text.empty()) return false;
  std::string_view body = text;
  if (body.front() == '+') body.remove_prefix(1);
  if (body.empty() || body.front() == '+' || body.front() == 'i' || body.front() == 'I' || body.front() == 'n' ||
      body.front() == 'N')
    return false;
  double v = 0;
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), v, std::chars_format::general);
  if (ec != std::errc() || ptr != body.data() + body.size() || !std::isfinite(v)) return false;
  value = v;
  return true;
}

int ClassifyFamilyWindow(const platform::FamilyWindow& w, std::string_view externalCaption) {
  if (w.title.empty()) return -1;
  auto has = [](std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; };
  if (has(w.title, Configuration::kQuillmarTitle) && has(w.className, "TCADChild")) return 0;
  if (has(w.title, Configuration::kSorvelTitle) && has(w.className, "TSorvelApp")) return 1;
  if (has(w.title, Configuration::kTornakTitle) && has(w.className, "TTornakForm")) return 2;
  if (has(w.title, Configuration::kImgelTitle) && has(w.className, "TImgelForm")) return 3;
  if (!externalCaption.empty() && w.title.compare(0, externalCaption.size(), externalCaption) == 0) return 4;
  return -1;
}

Configuration::Configuration(std::string configDir, std::string runtimeDir)
    : configDir_(configDir.empty() ? platform::ConfigDirectory() : std::move(configDir)),
      runtimeDir_(runtimeDir.empty() ? platform::RuntimeDirectory() : std::move(runtimeDir)) {}

void Configuration::Initialise() {
  platform::EnsureDirectory(configDir_);
  registry_.SetDirectory(configDir_);
  colors_ = platform::ColorTable::FromDefaultPalette();
  defaultTrueTypeFace_ = "Arial";
  SetTolerance(1.0e-6);
  family_ = {};
  LocateConfigFile();
  LoadSystemConfig();
}

void Configuration::LocateConfigFile() {
  // Whether or not the file exists yet, it lives in the configuration
  // directory; the first write creates it.
  configPath_ = platform::JoinPath(configDir_, "quillery5.ini");
  profile_.SetPath(configPath_);
}

std::string Configuration::ReadConfigText(std::string_view section, std::string_view key, std::string_view def) {
  std::string value = profile_.ReadString(section, key, def, 255);
  profile_.WriteString(section, key, value);
  return value;
}

double Configuration::ReadConfigNumber(std::string_view section, std::string_view key, std::string_view defText,
                                       double defValue) {
  std::string text = profile_.ReadString(section, key, defText, 255);
  double value = defValue;
  if (!text.empty() && !ParseConfigNumber(text, value)) value = defValue;
  WriteConfigNumber(section, key, value);
  return value;
}

void Configuration::WriteConfigNumber(std::string_view section, std::string_view key, double value) {
  profile_.WriteString(section, key, FormatGeneral4(value));
}

std::string Configuration::Resolve(const std::string& dirText) const {
  return platform::ResolveAgainst(configDir_, dirText.empty() ? std::string(".") : dirText);
}

void Configuration::LoadSystemConfig() {
  TConfig& c = record_;
  c.SystemDirText = ReadConfigText("Directories", "System", ".");
  c.MailDirText = ReadConfigText("Directories", "Mail", "mail-box");
  c.PostsDirText = ReadConfigText("Directories", "Posts", "posts");
  c.FontsDirText = ReadConfigText("Directories", "Fonts", "fonts");
  c.SystemDir = Resolve(c.SystemDirText);
  c.MailDir = Resolve(c.MailDirText);
  c.PostsDir = Resolve(c.PostsDirText);
  c.FontsDir = Resolve(c.FontsDirText);
  // Undo snapshots and interchange files need the mail box on a fresh machine.
  platform::EnsureDirectory(c.MailDir);
  c.MailDatPath = platform::JoinPath(c.MailDir, "mail.dat");
  c.SketchFilePath = platform::JoinPath(c.MailDir, "mail.skt");
  c.ScreenColorIndex = static_cast<int>(std::lround(ReadConfigNumber("System", "ScreenColorIndex", "0", 0)));
  std::string units = platform::AsciiUpper(ReadConfigText("System", "Units", "MM"));
  c.UnitFactor = units.find("IN") != std::string::npos ? 25.4 : 1.0;
  c.ChainTolerance = ReadConfigNumber("System", "Chain_Tol", "0.001", 0.001);
  c.ScreenColorIndex = static_cast<int>(std::lround(ReadConfigNumber("System", "ScreenColorIndex", "0", 0)));
  static constexpr std::string_view kScaleKeys[4] = {"Left_Scale", "Top_Scale", "Right_Scale", "Bottom_Scale"};
  for (int i = 0; i < 4; ++i) c.ScaleVisible[i] = profile_.ReadInt("System", kScaleKeys[i], 1) == 1;
  c.ExternalAppName = ReadConfigText("ExternalApp", "ApplicationName", "");
  c.ExternalAppCaption = ReadConfigText("ExternalApp", "CaptionName", "");
  c.ExternalDataFile = ReadConfigText("ExternalApp", "DataFile", "External.Dat");
}

void Configuration::LoadUserDefaults(ScaleVisibilitySink* mainWindow) {
  TConfig& c = record_;
  c.HelpFilePath = platform::JoinPath(c.SystemDir, "Quillmar.hlp");
  c.ToolbarLayoutPath = platform::JoinPath(c.SystemDir, "Quillmar.lay");
  if (mainWindow) {
    static constexpr std::string_view kScaleKeys[4] = {"Left_Scale", "Top_Scale", "Right_Scale", "Bottom_Scale"};
    for (int i = 0; i < 4; ++i) mainWindow->SetScaleVisible(i, profile_.ReadInt("Quillmar", kScaleKeys[i], 1) == 1);
  }
  c.DefaultTextHeight = ReadConfigNumber("Quillmar", "Height", "10.0", 10);
  c.DefaultTextAspect = ReadConfigNumber("Quillmar", "Aspect", "1.0", 1);
  c.DefaultTextSpacing = ReadConfigNumber("Quillmar", "Spacing", "20.0", 20);
  c.DefaultTextSlant = ReadConfigNumber("Quillmar", "Slant", "0.0", 0);
  c.DefaultTextRotation = ReadConfigNumber("Quillmar", "Rotation", "0.0", 0);
  c.DefaultWordSpacing = ReadConfigNumber("Quillmar", "WordSpacing", "50.0", 50);
  c.DefaultLineSpacing = ReadConfigNumber("Quillmar", "LineSpacing", "15.0", 15);
  c.DefaultLineDirection = ReadConfigNumber("Quillmar", "LineDirection", "0.0", 0);
  std::string kern = ReadConfigText("Quillmar", "KernMode", "Kern");
  c.DefaultKernMode = kern.empty() ? '\0' : kern[0];
  c.DefaultFontName = ReadConfigText("Quillmar", "Font", "Arial");
  auto yes = [](const std::string& s) { return !s.empty() && (s[0] == 'y' || s[0] == 'Y'); };
  c.ShowArrows = yes(ReadConfigText("Quillmar", "ShowArrows", "NO"));
  c.ShowMarkDimensions = yes(ReadConfigText("Quillmar", "ShowMarkDimensions", "NO"));
}

void Configuration::ApplyLanguage(TMultiLang* component) {
  record_.LanguageName = ReadConfigText("System", "Language", "English");
  if (component) component->SetLanguage(record_.LanguageName);
}

void Configuration::FindFamilyWindows() {
  family_ = {};
  for (const auto& w : platform::EnumerateFamilyWindows(runtimeDir_)) {
    switch (ClassifyFamilyWindow(w, record_.ExternalAppCaption)) {
      case 0: family_.otherInstance = w; break;
      case 1: family_.sorvel = w; break;
      case 2: family_.tornak = w; break;
      case 3: family_.imgel = w; break;
      case 4: family_.external = w; break;
      default: break;
    }
    if (family_.Count() == 5) break;
  }
}

int Configuration::LaunchCompanion(std::string_view executableName) {
  std::string path = platform::JoinPath(record_.SystemDir, executableName);
  // Companions are installed with or without the ".exe" of their name.
  if (!platform::FileExists(path)) {
    std::string alt;
    if (platform::HasExtension(path, ".exe")) alt = path.substr(0, path.size() - 4);
    else alt = path + ".exe";
    if (platform::FileExists(alt)) path = alt;
  }
  return platform::LaunchDetached(path, {"-Q"}, record_.SystemDir);
}

namespace {
std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (unsigned char ch : s) {
    switch (ch) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (ch < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", ch);
          out += buf;
        } else {
          out += static_cast<char>(ch);
        }
    }
  }
  return out + "\"";
}
std::string JsonNumber(double v) {
  if (!std::isfinite(v)) return "null";
  // The shortest text that reads back to the same double.
  char buf[32];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}
const char* JsonBool(bool b) { return b ? "true" : "false"; }
}  // namespace

std::string ConfigToJson(const Configuration& config) {
  const TConfig& c = config.Record();
  std::string j = "{\n";
  auto field = [&j](std::string_view name, const std::string& value, bool last = false) {
    j += "  " + JsonString(name) + ": " + value + (last ? "\n" : ",\n");
  };
  field("ConfigPath", JsonString(config.ConfigPath()));
  field("SystemDir", JsonString(c.SystemDir));
  field("MailDir", JsonString(c.MailDir));
  field("PostsDir", JsonString(c.PostsDir));
  field("FontsDir", JsonString(c.FontsDir));
  field("MailDatPath", JsonString(c.MailDatPath));
  field("SketchFilePath", JsonString(c.SketchFilePath));
  field("HelpFilePath", JsonString(c.HelpFilePath));
  field("ToolbarLayoutPath", JsonString(c.ToolbarLayoutPath));
  field("ScreenColorIndex", std::to_string(c.ScreenColorIndex));
  field("UnitFactor", JsonNumber(c.UnitFactor));
  field("ChainTolerance", JsonNumber(c.ChainTolerance));
  field("ScaleVisible", std::string("[") + JsonBool(c.ScaleVisible[0]) + ", " + JsonBool(c.ScaleVisible[1]) + ", " +
                            JsonBool(c.ScaleVisible[2]) + ", " + JsonBool(c.ScaleVisible[3]) + "]");
  field("LanguageName", JsonString(c.LanguageName));
  field("ShowArrows", JsonBool(c.ShowArrows));
  field("ShowMarkDimensions", JsonBool(c.ShowMarkDimensions));
  field("DefaultTextHeight", JsonNumber(c.DefaultTextHeight));
  field("DefaultTextAspect", JsonNumber(c.DefaultTextAspect));
  field("DefaultTextSpacing", JsonNumber(c.DefaultTextSpacing));
  field("DefaultTextSlant", JsonNumber(c.DefaultTextSlant));
  field("DefaultTextRotation", JsonNumber(c.DefaultTextRotation));
  field("DefaultWordSpacing", JsonNumber(c.DefaultWordSpacing));
  field("DefaultLineSpacing", JsonNumber(c.DefaultLineSpacing));
  field("DefaultLineDirection", JsonNumber(c.DefaultLineDirection));
  field("DefaultKernMode", JsonString(std::string(c.DefaultKernMode ? 1 : 0, c.DefaultKernMode)));
  field("DefaultFontName", JsonString(c.DefaultFontName));
  field("ExternalAppName", JsonString(c.ExternalAppName));
  field("ExternalAppCaption", JsonString(c.ExternalAppCaption));
  field("ExternalDataFile", JsonString(c.ExternalDataFile), true);
  return j + "}\n";
}

}  // namespace qm::app
