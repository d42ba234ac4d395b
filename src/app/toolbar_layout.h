#pragma once
// The arrangement of the six tool bars and their buttons, the toolbar layout
// file "Quillmar.lay" that keeps it between runs, and the logic of the
// "Customize Toolbars" dialog. Plain data: the Qt window applies it.
//
// The file is little-endian: Single 5.0, Int16 6, then six records in the
// order File, Edit, View, Transform, System, Help, each: Int32 tag, UInt8
// dock (0 top, 1 bottom, 2 left, 3 right, 255 floating), four Int32 left,
// top, width, height, UInt8 visible, Int32 button count B, and B entries of
// Int32 button tag, Int32 left, Int32 top.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::app {

inline constexpr int kToolbarCount = 6;
inline constexpr int kMaxToolbarButtons = 50;
enum class TToolbarId : std::uint8_t { File, Edit, View, Transform, System, Help };

struct TToolbarInfo {
  std::string_view component;  // "XFileToolBar"
  std::string_view caption;    // "File ToolBar"
  std::string_view panel;      // the customising dialog's panel title
  std::string_view checkBox;   // the customising dialog's visibility check box
};
// In record order (File … Help).
const std::array<TToolbarInfo, kToolbarCount>& ToolbarInfo();

enum class TDock : std::uint8_t { Top = 0, Bottom = 1, Left = 2, Right = 3, Floating = 255 };
constexpr bool IsVertical(TDock d) { return d == TDock::Left || d == TDock::Right; }

struct TRect {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TRect&) const = default;
};

struct TButtonPlace {
  std::int32_t tag = 0;
  std::int32_t left = 0, top = 0;
  bool operator==(const TButtonPlace&) const = default;
};

struct TToolbarRecord {
  std::int32_t tag = 0;  // kept as read and written back
  TDock dock = TDock::Top;
  TRect bounds;          // docked: within the dock; floating: on the screen
  bool visible = true;
  std::vector<TButtonPlace> buttons;  // in the bar's order; each button in at most one bar
  bool operator==(const TToolbarRecord&) const = default;
};

struct TToolbarLayout {
  std::array<TToolbarRecord, kToolbarCount> bars;  // File, Edit, View, Transform, System, Help
  TToolbarRecord& Bar(TToolbarId id) { return bars[static_cast<std::size_t>(id)]; }
  const TToolbarRecord& Bar(TToolbarId id) const { return bars[static_cast<std::size_t>(id)]; }
  // The bar holding a button, or -1 when it stays on the stock panel.
  int BarOf(std::int32_t buttonTag) const;
  // The button tags in no bar, ascending.
  std::vector<std::int32_t> StockButtons() const;
  bool operator==(const TToolbarLayout&) const = default;
};

// Buttons are laid out in a row (top, bottom, floating) or a column (left,
// right) of this pitch, inside a border of kToolbarBorder.
inline constexpr std::int32_t kButtonPitch = 24;
inline constexpr std::int32_t kToolbarBorder = 2;
// Places the bar's buttons in order and sizes the bar around them; its
// position stays.
void FitToolbar(TToolbarRecord& bar);

TToolbarLayout DefaultToolbarLayout();

// The bars of one dock in the order the dock shows them: by the position
// across the dock (rows or columns), then along it.
std::vector<int> ToolbarsInDock(const TToolbarLayout& layout, TDock dock);

// A floating bar that lies on none of the screens is moved onto the first
// (primary) one. Nothing happens without screens.
void KeepFloatingToolbarsOnScreen(TToolbarLayout& layout, const std::vector<TRect>& screens);

std::string SerializeToolbarLayout(const TToolbarLayout& layout);
// The layout in `bytes`, or false when the file is not a complete layout
// (then `layout` is left alone). Buttons with unknown tags, and the second
// and later entries of a button, are skipped; dock bytes other than 0 to 3
// make the bar float.
bool ParseToolbarLayout(std::string_view bytes, TToolbarLayout& layout);

enum class TLayoutSource : std::uint8_t { File, Missing, Invalid, Unreadable };
struct TLayoutReadResult {
  TToolbarLayout layout;  // the file's, or the default one
  TLayoutSource source = TLayoutSource::Missing;
  int error = 0;          // errno when Unreadable
};
// The layout of the file at `path`; the default layout when there is none,
// it cannot be read or it is not valid.
TLayoutReadResult ReadToolbarLayout(const std::string& path);
// Writes through a temporary file and a rename. 0 or errno.
int WriteToolbarLayout(const std::string& path, const TToolbarLayout& layout);

// The "Customize Toolbars" dialog: one panel per bar with its buttons and a
// visibility check box, and the stock of buttons in no panel.
class TToolbarCustomizer {
 public:
  explicit TToolbarCustomizer(const TToolbarLayout& current);

  const std::vector<std::int32_t>& Panel(int bar) const { return panels_[Index(bar)]; }
  std::vector<std::int32_t> StockButtons() const;
  bool Visible(int bar) const { return visible_[Index(bar)]; }
  void SetVisible(int bar, bool visible) { visible_[Index(bar)] = visible; }

  // Puts a button onto a panel before position `index` (-1 or past the end:
  // at the end), taking it from wherever it was. False for an unknown tag or
  // bar.
  bool PlaceButton(std::int32_t tag, int bar, int index = -1);
  // Takes a button back to the stock. False when it was on no panel.
  bool RemoveButton(std::int32_t tag);

  // OK: every bar rebuilt from its panel in panel order; docks and
  // positions stay.
  TToolbarLayout Result() const;

 private:
  static std::size_t Index(int bar);
  TToolbarLayout base_;
  std::array<std::vector<std::int32_t>, kToolbarCount> panels_;
  std::array<bool, kToolbarCount> visible_{};
};

}  // namespace qm::app
