#pragma once
// Qt's image readers for the background picture: BMP, PNG, JPEG, GIF, and
// TIFF through the image-formats plugins.
#include "persist/picture.h"

namespace qm {

class TQtPictureDecoder : public TPictureDecoder {
 public:
  int Decode(const std::string& path, std::string_view bytes, TDecodedPicture& out) override;
};

}  // namespace qm
