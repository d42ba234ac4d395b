#include <gtest/gtest.h>

#include <QImage>
#include <sstream>

#include "app/cli/verbs.h"
#include "model/arc.h"
#include "model/circle.h"
#include "model/line.h"
#include "persist/drawing_file.h"
#include "test_support.h"

using namespace qm;
using qm::test::TempDir;
using qm::test::WriteFile;

namespace {
std::string MakeDrawing(const std::string& path) {
  TCadGroup a(nullptr, 13, "Outline"), b(nullptr, 14, "Holes");
  a.InsertMember(std::make_unique<TCadLine>(TPointD{0, 0}, TPointD{10, 5}));
  b.InsertMember(std::make_unique<TCadArc>(TPointD{0, 0}, TPointD{2, 0}, 1.0));
  b.InsertMember(std::make_unique<TCadCirc>(TPointD{5, 2.5}, 1.5));
  b.Hide();
  TDrawingToSave d;
  d.layers = {&a, &b};
  d.activeLayer = 0;
  std::vector<std::uint32_t> px(16 * 12, 0xFF000000u);
  EXPECT_EQ(SaveDrawingFile(path, d, {16, 12, 16, px.data()}).result, kSaveOk);
  return path;
}
}  // namespace

TEST(CliInfo, ListsLayersAndEntitiesAsJson) {
  TempDir dir;
  std::string path = MakeDrawing(dir / "plan.qmd");
  cli::Options opts;
  opts.positional = {path};
  opts.flags = {"json"};
  std::ostringstream out, err;
  ASSERT_EQ(cli::RunInfo(opts, out, err), cli::kExitOk) << err.str();
  std::string j = out.str();
  EXPECT_NE(j.find("\"version\": 5.09"), std::string::npos) << j;
  EXPECT_NE(j.find("\"name\": \"Outline\", \"colorIndex\": 13, \"visible\": true, \"entityCount\": 1"),
            std::string::npos)
      << j;
  EXPECT_NE(j.find("\"visible\": false, \"entityCount\": 2"), std::string::npos);
  EXPECT_NE(j.find("{\"kind\": \"line\""), std::string::npos);
  EXPECT_NE(j.find("\"p2\": [10, 5]"), std::string::npos);
  EXPECT_NE(j.find("\"bulge\": 1}"), std::string::npos);
  EXPECT_NE(j.find("\"radius\": 1.5}"), std::string::npos);

  WriteFile(dir / "broken.qmd", "not a drawing at all");
  cli::Options bad;
  bad.positional = {dir / "broken.qmd"};
  std::ostringstream out2, err2;
  EXPECT_EQ(cli::RunInfo(bad, out2, err2), cli::kExitFailure);
  EXPECT_NE(err2.str().find("(result -2"), std::string::npos) << err2.str();
}

TEST(CliRender, DrawsTheVisibleLayersZoomedToAll) {
  TempDir dir;
  std::string path = MakeDrawing(dir / "plan.qmd");
  cli::Options opts;
  opts.positional = {path};
  opts.values = {{"png", dir / "out.png"}, {"size", "200x100"}};
  std::ostringstream out, err;
  ASSERT_EQ(cli::RunRender(opts, out, err), cli::kExitOk) << err.str();
  QImage img(QString::fromStdString(dir / "out.png"));
  ASSERT_EQ(img.size(), QSize(200, 100));
  int red = 0, green = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      QRgb c = img.pixel(x, y);
      red += c == qRgb(255, 0, 0);
      green += c == qRgb(0, 255, 0);
    }
  EXPECT_GT(red, 100);   // the line of the visible layer, across the picture
  EXPECT_EQ(green, 0);   // the hidden layer draws nothing

  opts.values["size"] = "0x5";
  std::ostringstream out2, err2;
  EXPECT_EQ(cli::RunRender(opts, out2, err2), cli::kExitUsage);
}
