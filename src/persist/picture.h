#pragma once
// Raster pictures for the view's background: PCX is decoded here, the other
// formats (BMP, PNG, JPEG, GIF, TIFF) by a decoder the program plugs in (the
// desktop program uses Qt's image readers).
#include <string>
#include <string_view>

#include "persist/pcx.h"

namespace qm {

// Results of loading a picture, each shown with its own message:
//   −1 (109) the file cannot be opened or read,
//   −2 (114) the format is unknown or not supported,
//   −3 … −10 (115) the picture is damaged or cannot be used.
enum PictureResult : int {
  kPictureOk = 0,
  kPictureCannotOpen = -1,
  kPictureUnknownFormat = -2,
  kPictureDamaged = -3,
  kPictureTooLarge = -4,
  kPictureNoMemory = -5,
  kPictureEmpty = -6,
};

// The message number a picture result is shown with (0 for success).
int PictureMessageNumber(int result);

class TPictureDecoder {
 public:
  virtual ~TPictureDecoder() = default;
  // Decodes the bytes of a file (its name is given for the format's
  // extension); a PictureResult.
  virtual int Decode(const std::string& path, std::string_view bytes, TDecodedPicture& out) = 0;
};

// True for the extensions the open dialog routes to the picture loader.
bool IsPictureExtension(std::string_view path);

// Reads and decodes a picture file: PCX by content or extension here, the
// others through `decoder` (none: unknown format). At most 512 MiB are read.
int LoadPicture(const std::string& path, TPictureDecoder* decoder, TDecodedPicture& out);

}  // namespace qm
