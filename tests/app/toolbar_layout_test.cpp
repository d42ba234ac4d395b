#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>

#include "app/toolbar_layout.h"
#include "test_support.h"

using namespace qm::app;
using qm::test::ReadFile;
using qm::test::TempDir;
using qm::test::WriteFile;
using Tags = std::vector<std::int32_t>;
using T = TToolbarId;

namespace {

Tags ButtonsOf(const TToolbarRecord& bar) {
  Tags tags;
  for (const auto& b : bar.buttons) tags.push_back(b.tag);
  return tags;
}

void PutI32At(std::string& bytes, std::size_t pos, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) bytes[pos + static_cast<std::size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

// Where record `bar` of a well-formed file begins.
std::size_t RecordAt(const std::string& bytes, int bar) {
  std::size_t pos = 6;
  for (int i = 0; i < bar; ++i) {
    std::int32_t count;
    std::memcpy(&count, bytes.data() + pos + 22, 4);
    pos += 26 + 12 * static_cast<std::size_t>(count);
  }
  return pos;
}

}  // namespace

TEST(ToolbarLayout, TheDefaultArrangement) {
  struct Row {
    T bar;
    TDock dock;
    std::int32_t left, top;
    Tags buttons;
  } rows[] = {
      {T::Help, TDock::Top, 493, 2, {25, 26, 27, 28}},
      {T::Edit, TDock::Top, 210, 2, {16, 17, 31, 32, 33, 49, 47, 48}},
      {T::File, TDock::Top, 2, 2, {9, 10, 11, 15}},
      {T::System, TDock::Right, 2, 7, {3, 4, 1}},
      {T::View, TDock::Right, 2, 200, {20, 18, 19, 22}},
      {T::Transform, TDock::Left, 2, 2, {36, 37, 38, 39, 50, 51, 52, 53}},
  };
  const TToolbarLayout layout = DefaultToolbarLayout();
  for (const auto& r : rows) {
    const TToolbarRecord& bar = layout.Bar(r.bar);
    SCOPED_TRACE(ToolbarInfo()[static_cast<std::size_t>(r.bar)].component);
    EXPECT_EQ(bar.tag, static_cast<std::int32_t>(r.bar));
    EXPECT_EQ(bar.dock, r.dock);
    EXPECT_EQ(bar.bounds.left, r.left);
    EXPECT_EQ(bar.bounds.top, r.top);
    EXPECT_TRUE(bar.visible);
    EXPECT_EQ(ButtonsOf(bar), r.buttons);
  }
  // The other buttons stay on the stock panel.
  EXPECT_EQ(layout.StockButtons(), (Tags{12, 13, 14, 21, 23, 34, 35, 40, 41, 42, 43, 44, 45, 46, 54, 55, 56, 57, 58}));
  // Docks show their bars across, then along.
  EXPECT_EQ(ToolbarsInDock(layout, TDock::Top), (std::vector<int>{0, 1, 5}));
  EXPECT_EQ(ToolbarsInDock(layout, TDock::Right), (std::vector<int>{4, 2}));
}

TEST(ToolbarLayout, WithNoFileTheDefaultIsReadAndWrittenAs534Bytes) {
  TempDir dir;
  const std::string path = dir / "Quillmar.lay";
  TLayoutReadResult read = ReadToolbarLayout(path);
  EXPECT_EQ(read.source, TLayoutSource::Missing);
  EXPECT_EQ(read.layout, DefaultToolbarLayout());

  ASSERT_EQ(WriteToolbarLayout(path, read.layout), 0);
  const std::string bytes = ReadFile(path);
  ASSERT_EQ(bytes.size(), 534u);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\x00\x00\xA0\x40\x06\x00", 6));
  // The File record: tag 0, dock top, bounds, visible, four buttons, the first SBFileNew.
  EXPECT_EQ(bytes.substr(6, 5), std::string("\x00\x00\x00\x00\x00", 5));
  EXPECT_EQ(bytes.substr(27, 5), std::string("\x01\x04\x00\x00\x00", 5));
  EXPECT_EQ(bytes.substr(32, 4), std::string("\x09\x00\x00\x00", 4));

  // Written again over the file, nothing but the layout file is left.
  TToolbarLayout changed = read.layout;
  changed.Bar(T::Help).visible = false;
  changed.Bar(T::View).dock = TDock::Floating;
  changed.Bar(T::View).bounds = {300, 400, 100, 28};
  ASSERT_EQ(WriteToolbarLayout(path, changed), 0);
  read = ReadToolbarLayout(path);
  EXPECT_EQ(read.source, TLayoutSource::File);
  EXPECT_EQ(read.layout, changed);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  EXPECT_NE(WriteToolbarLayout(dir / "no/such/dir/Quillmar.lay", changed), 0);
}

TEST(ToolbarLayout, HostileFilesGiveTheDefaultLayout) {
  const std::string good = SerializeToolbarLayout(DefaultToolbarLayout());
  const std::size_t help = RecordAt(good, 5), file = RecordAt(good, 0);
  TToolbarLayout tooMany = DefaultToolbarLayout();
  for (std::int32_t i = 0; i < 51; ++i) tooMany.Bar(T::Help).buttons.push_back({25, 0, 0});

  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"an empty file", ""},
      {"the header only", good.substr(0, 6)},
      {"one byte short", good.substr(0, good.size() - 1)},
      {"one byte too many", good + '\0'},
      {"five records", good.substr(0, help)},
      {"version 5.09", [&] {
         std::string b = good;
         float v = 5.09f;
         std::memcpy(b.data(), &v, 4);
         return b;
       }()},
      {"version NaN", [&] {
         std::string b = good;
         PutI32At(b, 0, 0x7FC00000);
         return b;
       }()},
      {"a negative button count", [&] {
         std::string b = good;
         PutI32At(b, file + 22, -1);
         return b;
       }()},
      {"a huge button count", [&] {
         std::string b = good;
         PutI32At(b, file + 22, std::numeric_limits<std::int32_t>::max());
         return b;
       }()},
      {"a count that does not match the entries", [&] {
         std::string b = good;
         PutI32At(b, file + 22, 5);
         return b;
       }()},
      // Consistent in length, but more buttons than a bar may hold.
      {"51 buttons in a bar", SerializeToolbarLayout(tooMany)},
      {"far too long", std::string(64 * 1024, '\x40')},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TToolbarLayout untouched;
    untouched.Bar(T::File).tag = 77;
    TToolbarLayout parsed = untouched;
    EXPECT_FALSE(ParseToolbarLayout(c.bytes, parsed));
    EXPECT_EQ(parsed, untouched);
    WriteFile(dir / "Quillmar.lay", c.bytes);
    TLayoutReadResult read = ReadToolbarLayout(dir / "Quillmar.lay");
    EXPECT_EQ(read.source, TLayoutSource::Invalid);
    EXPECT_EQ(read.layout, DefaultToolbarLayout());
  }
  // A layout file that cannot be read at all.
  std::filesystem::create_directory(dir / "dir.lay");
  TLayoutReadResult read = ReadToolbarLayout(dir / "dir.lay");
  EXPECT_EQ(read.source, TLayoutSource::Unreadable);
  EXPECT_NE(read.error, 0);
  EXPECT_EQ(read.layout, DefaultToolbarLayout());
}

TEST(ToolbarLayout, UnknownAndRepeatedButtonsAreSkippedAndOddDocksFloat) {
  TToolbarLayout written = DefaultToolbarLayout();
  written.Bar(T::File).tag = 42;  // whatever the file says is kept
  // SBFileNew (9) is already on the File bar; 24 and 999 are no buttons.
  written.Bar(T::Help).buttons = {{24, 2, 2}, {26, 26, 2}, {999, 50, 2}, {26, 74, 2}, {9, 98, 2}, {12, 122, 2}};
  std::string bytes = SerializeToolbarLayout(written);
  bytes[RecordAt(bytes, 4) + 4] = 7;  // the System bar's dock byte
  bytes[4] = 3;                       // the bar count is not used

  TToolbarLayout layout;
  ASSERT_TRUE(ParseToolbarLayout(bytes, layout));
  EXPECT_EQ(layout.Bar(T::File).tag, 42);
  EXPECT_EQ(layout.Bar(T::Help).buttons, (std::vector<TButtonPlace>{{26, 26, 2}, {12, 122, 2}}));
  EXPECT_EQ(layout.BarOf(9), static_cast<int>(T::File));
  EXPECT_EQ(layout.Bar(T::System).dock, TDock::Floating);
  EXPECT_EQ(layout.Bar(T::System).bounds, written.Bar(T::System).bounds);
  EXPECT_EQ(layout.Bar(T::Edit), written.Bar(T::Edit));
}

TEST(ToolbarLayout, AFloatingBarOnNoScreenMovesOntoThePrimaryOne) {
  const std::vector<TRect> screens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    TDock dock;
    TRect bounds, expected;
  } cases[] = {
      {TDock::Floating, {5000, 5000, 100, 28}, {1820, 1052, 100, 28}},
      {TDock::Floating, {-500, -300, 100, 28}, {0, 0, 100, 28}},
      {TDock::Floating, {2500, 100, 100, 28}, {2500, 100, 100, 28}},   // on the second screen
      {TDock::Floating, {1900, -20, 100, 28}, {1900, -20, 100, 28}},   // partly on a screen
      {TDock::Floating, {kMax, kMax, kMax, kMax}, {0, 0, kMax, kMax}}, // larger than any screen
      {TDock::Floating, {3500, 10, -5, -5}, {1919, 10, -5, -5}},
      {TDock::Right, {5000, 5000, 28, 100}, {5000, 5000, 28, 100}},    // docked: the dock places it
  };
  for (const auto& c : cases) {
    TToolbarLayout layout = DefaultToolbarLayout();
    layout.Bar(T::View).dock = c.dock;
    layout.Bar(T::View).bounds = c.bounds;
    TToolbarLayout unmoved = layout;
    KeepFloatingToolbarsOnScreen(layout, screens);
    EXPECT_EQ(layout.Bar(T::View).bounds, c.expected) << c.bounds.left << "," << c.bounds.top;
    KeepFloatingToolbarsOnScreen(unmoved, {});
    EXPECT_EQ(unmoved.Bar(T::View).bounds, c.bounds);
  }
}

TEST(ToolbarLayout, CustomizingRebuildsTheBarsFromTheirPanels) {
  const TToolbarLayout current = DefaultToolbarLayout();
  TToolbarCustomizer dialog(current);
  const int file = static_cast<int>(T::File), edit = static_cast<int>(T::Edit), help = static_cast<int>(T::Help);
  EXPECT_EQ(dialog.Panel(file), (Tags{9, 10, 11, 15}));

  EXPECT_TRUE(dialog.PlaceButton(31, file, 1));    // SBCut from the Edit panel
  EXPECT_TRUE(dialog.PlaceButton(10, file, 4));    // moved along its own panel, before SBExit
  EXPECT_TRUE(dialog.PlaceButton(12, file));       // SBFileSaveAs from the stock, at the end
  EXPECT_TRUE(dialog.RemoveButton(15));
  EXPECT_FALSE(dialog.RemoveButton(15));
  EXPECT_FALSE(dialog.PlaceButton(24, file));      // no such button
  EXPECT_FALSE(dialog.PlaceButton(9, 6));          // no such bar
  dialog.SetVisible(help, false);
  EXPECT_EQ(dialog.Panel(file), (Tags{9, 31, 11, 10, 12}));
  EXPECT_EQ(dialog.Panel(edit), (Tags{16, 17, 32, 33, 49, 47, 48}));
  const Tags stock = dialog.StockButtons();
  EXPECT_NE(std::find(stock.begin(), stock.end(), 15), stock.end());
  EXPECT_EQ(std::find(stock.begin(), stock.end(), 12), stock.end());

  TToolbarLayout result = dialog.Result();
  EXPECT_EQ(ButtonsOf(result.Bar(T::File)), (Tags{9, 31, 11, 10, 12}));
  EXPECT_FALSE(result.Bar(T::Help).visible);
  EXPECT_EQ(result.Bar(T::File).bounds.left, current.Bar(T::File).bounds.left);
  EXPECT_EQ(result.Bar(T::Transform), current.Bar(T::Transform));
  // The buttons of a rebuilt bar sit side by side and the bar grows around them.
  EXPECT_LT(result.Bar(T::File).buttons[3].left, result.Bar(T::File).buttons[4].left);
  EXPECT_GT(result.Bar(T::File).bounds.width, current.Bar(T::File).bounds.width);
}
