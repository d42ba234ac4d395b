#include "app/toolbar_layout.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/commands.h"
#include "platform/atomic_file.h"

namespace qm::app {

namespace {

constexpr std::array<TToolbarInfo, kToolbarCount> kToolbars{{
    {"XFileToolBar", "File ToolBar", "File tools", "Display file toolbar"},
    {"XEditToolBar", "Edit ToolBar", "Edit tools", "Display edit toolbar"},
    {"XViewToolBar", "View ToolBar", "View tools", "Display view toolbar"},
    {"XTransformToolBar", "Transform ToolBar", "Transform tools", "Display transform toolbar"},
    {"XsystemToolBar", "System ToolBar", "Surface tools", "Display system toolbar"},
    {"XHelpToolBar", "Help ToolBar", "Machine tools", "Display help toolbar"},
}};

constexpr float kLayoutVersion = 5.0f;
constexpr std::size_t kHeaderSize = 6;   // Single, Int16
constexpr std::size_t kRecordSize = 26;  // tag, dock, bounds, visible, count
constexpr std::size_t kButtonSize = 12;  // tag, left, top
// The longest valid file: six records of the most buttons a bar may hold.
constexpr std::size_t kMaxFileSize = kHeaderSize + kToolbarCount * (kRecordSize + kButtonSize * kMaxToolbarButtons);

void PutU8(std::string& out, std::uint8_t v) { out.push_back(static_cast<char>(v)); }
void PutU16(std::string& out, std::uint16_t v) {
  PutU8(out, static_cast<std::uint8_t>(v & 0xFF));
  PutU8(out, static_cast<std::uint8_t>(v >> 8));
}
void PutI32(std::string& out, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) PutU8(out, static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF));
}
void PutSingle(std::string& out, float v) {
  std::uint32_t u;
  std::memcpy(&u, &v, sizeof u);
  PutI32(out, static_cast<std::int32_t>(u));
}

std::uint8_t GetU8(std::string_view in, std::size_t pos) { return static_cast<std::uint8_t>(in[pos]); }
std::uint32_t GetU32(std::string_view in, std::size_t pos) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i) u = (u << 8) | GetU8(in, pos + static_cast<std::size_t>(i));
  return u;
}
std::int32_t GetI32(std::string_view in, std::size_t pos) { return static_cast<std::int32_t>(GetU32(in, pos)); }
float GetSingle(std::string_view in, std::size_t pos) {
  std::uint32_t u = GetU32(in, pos);
  float v;
  std::memcpy(&v, &u, sizeof v);
  return v;
}

TToolbarRecord MakeBar(TToolbarId id, TDock dock, std::int32_t left, std::int32_t top,
                       std::initializer_list<std::int32_t> buttons) {
  TToolbarRecord bar;
  bar.tag = static_cast<std::int32_t>(id);
  bar.dock = dock;
  bar.bounds.left = left;
  bar.bounds.top = top;
  bar.visible = true;
  for (auto tag : buttons) bar.buttons.push_back({tag, 0, 0});
  FitToolbar(bar);
  return bar;
}

}  // namespace

const std::array<TToolbarInfo, kToolbarCount>& ToolbarInfo() { return kToolbars; }

int TToolbarLayout::BarOf(std::int32_t buttonTag) const {
  for (std::size_t i = 0; i < bars.size(); ++i)
    for (const auto& b : bars[i].buttons)
      if (b.tag == buttonTag) return static_cast<int>(i);
  return -1;
}

std::vector<std::int32_t> TToolbarLayout::StockButtons() const {
  std::vector<std::int32_t> stock;
  for (auto tag : ButtonTags())
    if (BarOf(tag) < 0) stock.push_back(tag);
  return stock;
}

void FitToolbar(TToolbarRecord& bar) {
  bool vertical = IsVertical(bar.dock);
  auto n = static_cast<std::int32_t>(bar.buttons.size());
  for (std::int32_t i = 0; i < n; ++i) {
    auto& b = bar.buttons[static_cast<std::size_t>(i)];
    b.left = kToolbarBorder + (vertical ? 0 : i * kButtonPitch);
    b.top = kToolbarBorder + (vertical ? i * kButtonPitch : 0);
  }
  std::int32_t along = 2 * kToolbarBorder + n * kButtonPitch, across = 2 * kToolbarBorder + kButtonPitch;
  bar.bounds.width = vertical ? across : along;
  bar.bounds.height = vertical ? along : across;
}

TToolbarLayout DefaultToolbarLayout() {
  using T = TToolbarId;
  TToolbarLayout l;
  // SBFileNew, SBFileOpen, SBFileSave, SBExit
  l.Bar(T::File) = MakeBar(T::File, TDock::Top, 2, 2, {9, 10, 11, 15});
  // SBUndo, SBRedo, SBCut, SBCopy, SBPaste, SBAddLayer, SBShowActiveLayer, SBshowAllLayers
  l.Bar(T::Edit) = MakeBar(T::Edit, TDock::Top, 210, 2, {16, 17, 31, 32, 33, 49, 47, 48});
  // SBZoomAll, SBZoomDouble, SBZoomHalf, SBZoomWindow
  l.Bar(T::View) = MakeBar(T::View, TDock::Right, 2, 200, {20, 18, 19, 22});
  // SBTranslate, SBRotate, SBScale, SBMirror, SBStretch, SBshadow, SBParallel, SBRidge
  l.Bar(T::Transform) = MakeBar(T::Transform, TDock::Left, 2, 2, {36, 37, 38, 39, 50, 51, 52, 53});
  // SBTornak, SBImgel, SBSorvel
  l.Bar(T::System) = MakeBar(T::System, TDock::Right, 2, 7, {3, 4, 1});
  // SBAbout, SBHelp, SBHelpSearch, SBHelpOnHelp
  l.Bar(T::Help) = MakeBar(T::Help, TDock::Top, 493, 2, {25, 26, 27, 28});
  return l;
}

std::vector<int> ToolbarsInDock(const TToolbarLayout& layout, TDock dock) {
  std::vector<int> bars;
  for (int i = 0; i < kToolbarCount; ++i)
    if (layout.bars[static_cast<std::size_t>(i)].dock == dock) bars.push_back(i);
  bool vertical = IsVertical(dock);
  std::stable_sort(bars.begin(), bars.end(), [&](int a, int b) {
    const TRect& ra = layout.bars[static_cast<std::size_t>(a)].bounds;
    const TRect& rb = layout.bars[static_cast<std::size_t>(b)].bounds;
    if (vertical) return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return bars;
}

void KeepFloatingToolbarsOnScreen(TToolbarLayout& layout, const std::vector<TRect>& screens) {
  if (screens.empty() || screens[0].width <= 0 || screens[0].height <= 0) return;
  for (auto& bar : layout.bars) {
    if (bar.dock != TDock::Floating) continue;
    // 64-bit, since the file may hold any Int32 values.
    std::int64_t x = bar.bounds.left, y = bar.bounds.top;
    std::int64_t w = std::max<std::int64_t>(bar.bounds.width, 1), h = std::max<std::int64_t>(bar.bounds.height, 1);
    bool onScreen = std::any_of(screens.begin(), screens.end(), [&](const TRect& s) {
      return s.width > 0 && s.height > 0 && x < std::int64_t{s.left} + s.width && std::int64_t{s.left} < x + w &&
             y < std::int64_t{s.top} + s.height && std::int64_t{s.top} < y + h;
    });
    if (onScreen) continue;
    const TRect& p = screens[0];
    std::int64_t maxX = std::int64_t{p.left} + p.width - std::min<std::int64_t>(w, p.width);
    std::int64_t maxY = std::int64_t{p.top} + p.height - std::min<std::int64_t>(h, p.height);
    bar.bounds.left = static_cast<std::int32_t>(std::clamp<std::int64_t>(x, p.left, maxX));
    bar.bounds.top = static_cast<std::int32_t>(std::clamp<std::int64_t>(y, p.top, maxY));
  }
}

std::string SerializeToolbarLayout(const TToolbarLayout& layout) {
  std::string out;
  PutSingle(out, kLayoutVersion);
  PutU16(out, kToolbarCount);
  for (const auto& bar : layout.bars) {
    PutI32(out, bar.tag);
    PutU8(out, static_cast<std::uint8_t>(bar.dock));
    PutI32(out, bar.bounds.left);
    PutI32(out, bar.bounds.top);
    PutI32(out, bar.bounds.width);
    PutI32(out, bar.bounds.height);
    PutU8(out, bar.visible ? 1 : 0);
    PutI32(out, static_cast<std::int32_t>(bar.buttons.size()));
    for (const auto& b : bar.buttons) {
      PutI32(out, b.tag);
      PutI32(out, b.left);
      PutI32(out, b.top);
    }
  }
  return out;
}

bool ParseToolbarLayout(std::string_view bytes, TToolbarLayout& layout) {
  // The whole file is checked before any of it is used.
  if (bytes.size() < kHeaderSize || bytes.size() > kMaxFileSize) return false;
  if (GetSingle(bytes, 0) != kLayoutVersion) return false;
  std::size_t pos = kHeaderSize;
  for (int i = 0; i < kToolbarCount; ++i) {
    if (bytes.size() - pos < kRecordSize) return false;
    std::int32_t count = GetI32(bytes, pos + 22);
    if (count < 0 || count > kMaxToolbarButtons) return false;
    pos += kRecordSize;
    if (bytes.size() - pos < kButtonSize * static_cast<std::size_t>(count)) return false;
    pos += kButtonSize * static_cast<std::size_t>(count);
  }
  if (pos != bytes.size()) return false;

  TToolbarLayout result;
  std::vector<std::int32_t> placed;
  pos = kHeaderSize;
  for (auto& bar : result.bars) {
    bar.tag = GetI32(bytes, pos);
    std::uint8_t dock = GetU8(bytes, pos + 4);
    bar.dock = dock <= 3 ? static_cast<TDock>(dock) : TDock::Floating;
    bar.bounds = {GetI32(bytes, pos + 5), GetI32(bytes, pos + 9), GetI32(bytes, pos + 13), GetI32(bytes, pos + 17)};
    bar.visible = GetU8(bytes, pos + 21) != 0;
    std::int32_t count = GetI32(bytes, pos + 22);
    pos += kRecordSize;
    for (std::int32_t k = 0; k < count; ++k, pos += kButtonSize) {
      TButtonPlace b{GetI32(bytes, pos), GetI32(bytes, pos + 4), GetI32(bytes, pos + 8)};
      if (!FindCommandByButtonTag(b.tag)) continue;
      if (std::find(placed.begin(), placed.end(), b.tag) != placed.end()) continue;
      placed.push_back(b.tag);
      bar.buttons.push_back(b);
    }
  }
  layout = std::move(result);
  return true;
}

TLayoutReadResult ReadToolbarLayout(const std::string& path) {
  TLayoutReadResult r;
  std::string bytes;
  int err = platform::ReadWholeFile(path, bytes, kMaxFileSize);
  if (err == ENOENT) {
    r.source = TLayoutSource::Missing;
  } else if (err == EFBIG) {
    r.source = TLayoutSource::Invalid;
  } else if (err != 0) {
    r.source = TLayoutSource::Unreadable;
    r.error = err;
  } else if (ParseToolbarLayout(bytes, r.layout)) {
    r.source = TLayoutSource::File;
    return r;
  } else {
    r.source = TLayoutSource::Invalid;
  }
  r.layout = DefaultToolbarLayout();
  return r;
}

int WriteToolbarLayout(const std::string& path, const TToolbarLayout& layout) {
  return platform::WriteFileAtomically(path, SerializeToolbarLayout(layout));
}

std::size_t TToolbarCustomizer::Index(int bar) {
  return static_cast<std::size_t>(std::clamp(bar, 0, kToolbarCount - 1));
}

TToolbarCustomizer::TToolbarCustomizer(const TToolbarLayout& current) : base_(current) {
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    for (const auto& b : current.bars[i].buttons) panels_[i].push_back(b.tag);
    visible_[i] = current.bars[i].visible;
  }
}

std::vector<std::int32_t> TToolbarCustomizer::StockButtons() const {
  std::vector<std::int32_t> stock;
  for (auto tag : ButtonTags()) {
    bool onPanel = std::any_of(panels_.begin(), panels_.end(), [&](const auto& p) {
      return std::find(p.begin(), p.end(), tag) != p.end();
    });
    if (!onPanel) stock.push_back(tag);
  }
  return stock;
}

bool TToolbarCustomizer::PlaceButton(std::int32_t tag, int bar, int index) {
  if (!FindCommandByButtonTag(tag) || bar < 0 || bar >= kToolbarCount) return false;
  auto& target = panels_[static_cast<std::size_t>(bar)];
  for (auto& p : panels_) {
    auto it = std::find(p.begin(), p.end(), tag);
    if (it == p.end()) continue;
    if (&p == &target && index >= 0 && it - p.begin() < index) --index;
    p.erase(it);
  }
  if (index < 0 || static_cast<std::size_t>(index) > target.size()) index = static_cast<int>(target.size());
  target.insert(target.begin() + index, tag);
  return true;
}

bool TToolbarCustomizer::RemoveButton(std::int32_t tag) {
  for (auto& p : panels_) {
    auto it = std::find(p.begin(), p.end(), tag);
    if (it != p.end()) {
      p.erase(it);
      return true;
    }
  }
  return false;
}

TToolbarLayout TToolbarCustomizer::Result() const {
  TToolbarLayout result = base_;
  for (std::size_t i = 0; i < result.bars.size(); ++i) {
    auto& bar = result.bars[i];
    bar.visible = visible_[i];
    bar.buttons.clear();
    for (auto tag : panels_[i]) bar.buttons.push_back({tag, 0, 0});
    FitToolbar(bar);
  }
  return result;
}

}  // namespace qm::app
