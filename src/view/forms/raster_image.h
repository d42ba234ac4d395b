#pragma once
// Qt's view of the core rasters: a QImage over a raster's own memory (no
// copy), for painting it, drawing text into it and saving it.
#include <QFont>
#include <QImage>
#include <QString>
#include <string>

#include "platform/palette.h"
#include "view/raster.h"

namespace qm::view {

// The image shares the raster's pixels; it is valid until the raster is
// resized or destroyed. Device pixel ratio 1.
QImage WrapRaster(TRaster& raster);
// Read-only: painting from it or saving it never copies or detaches.
QImage WrapRaster(const TRaster& raster);

// Text with its baseline's left end at (x, y), rotated counter-clockwise by
// `angleDegrees`, drawn without antialiasing so the raster keeps to the
// palette's colours.
void DrawRasterText(TRaster& raster, int x, int y, const QString& text, const QFont& font, platform::Rgb color,
                    double angleDegrees = 0);

// Writes the raster as a PNG file (through a temporary file and a rename).
// Result: 0 on success, otherwise an errno value (EIO when encoding fails).
int SaveRasterPng(const TRaster& raster, const std::string& path);

}  // namespace qm::view
