#include "persist/picture.h"

#include <cerrno>
#include <new>

#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace qm {

int PictureMessageNumber(int result) {
  if (result == kPictureOk) return 0;
  if (result == kPictureCannotOpen) return 109;
  if (result == kPictureUnknownFormat) return 114;
  return 115;
}

bool IsPictureExtension(std::string_view path) {
  for (const char* ext : {".pcx", ".tif", ".tiff", ".jpg", ".jpeg", ".bmp", ".png", ".gif"})
    if (platform::HasExtension(path, ext)) return true;
  return false;
}

int LoadPicture(const std::string& path, TPictureDecoder* decoder, TDecodedPicture& out) {
  out = {};
  std::string bytes;
  int err = 0;
  try {
    err = platform::ReadWholeFile(path, bytes, 512u << 20);
  } catch (const std::bad_alloc&) {
    return kPictureNoMemory;
  }
  if (err == EFBIG) return kPictureTooLarge;
  if (err) return kPictureCannotOpen;
  if (bytes.empty()) return kPictureEmpty;
  const bool pcxSignature = static_cast<unsigned char>(bytes[0]) == 0x0A;
  if (platform::HasExtension(path, ".pcx") || (pcxSignature && !decoder)) {
    switch (DecodePcx(bytes, out)) {
      case PcxResult::Ok: return kPictureOk;
      case PcxResult::NotPcx: return kPictureUnknownFormat;
      case PcxResult::Unsupported: return kPictureUnknownFormat;
      case PcxResult::Damaged: return kPictureDamaged;
      case PcxResult::TooLarge: return kPictureTooLarge;
    }
    return kPictureDamaged;
  }
  if (!decoder) return kPictureUnknownFormat;
  int r = decoder->Decode(path, bytes, out);
  if (r == kPictureOk && (out.width <= 0 || out.height <= 0 ||
                          out.pixels.size() != static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height)))
    return kPictureDamaged;
  return r;
}

}  // namespace qm
