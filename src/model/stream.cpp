#include "model/stream.h"

namespace qm {

const char* StreamErrorText(StreamError e) {
  switch (e) {
    case StreamError::None: return "no error";
    case StreamError::Truncated: return "the file ends inside a record";
    case StreamError::BadString: return "a text field is damaged";
    case StreamError::BadCount: return "a list count is out of range";
    case StreamError::BadTag: return "a record of an unknown kind";
    case StreamError::BadValue: return "a field holds an impossible value";
  }
  return "unknown error";
}

void TDrawingWriter::ShortText256(std::string_view s) {
  if (s.size() > 255) s = s.substr(0, 255);
  UInt8(static_cast<std::uint8_t>(s.size()));
  Bytes(s.data(), s.size());
  Zeros(255 - s.size());
}

void TDrawingWriter::TaggedString(std::string_view s) {
  if (s.size() <= 255) {
    UInt8(6);
    UInt8(static_cast<std::uint8_t>(s.size()));
  } else {
    UInt8(12);
    Int32(static_cast<std::int32_t>(s.size()));
  }
  Bytes(s.data(), s.size());
}

void TDrawingReader::Skip(std::size_t n) {
  if (!ok()) return;
  if (Remaining() < n) {
    Fail(StreamError::Truncated);
    p_ = end_;
    return;
  }
  p_ += n;
}

bool TDrawingReader::Bytes(void* out, std::size_t n) {
  if (!ok()) return false;
  if (Remaining() < n) {
    Fail(StreamError::Truncated);
    p_ = end_;
    return false;
  }
  std::memcpy(out, p_, n);
  p_ += n;
  return true;
}

std::string TDrawingReader::ShortText256() {
  if (!ok() || Remaining() < 256) {
    Fail(StreamError::Truncated);
    p_ = end_;
    return {};
  }
  std::size_t len = p_[0];
  std::string s(reinterpret_cast<const char*>(p_ + 1), len);
  p_ += 256;
  return s;
}

std::string TDrawingReader::TaggedString() {
  std::uint8_t tag = UInt8();
  if (!ok()) return {};
  std::size_t len;
  if (tag == 6) {
    len = UInt8();
  } else if (tag == 12) {
    std::int32_t n = Int32();
    if (!ok()) return {};
    if (n < 0) {
      Fail(StreamError::BadString);
      return {};
    }
    len = static_cast<std::size_t>(n);
  } else {
    Fail(StreamError::BadString);
    return {};
  }
  if (!ok()) return {};
  if (len > Remaining()) {
    Fail(StreamError::Truncated);
    p_ = end_;
    return {};
  }
  std::string s(reinterpret_cast<const char*>(p_), len);
  p_ += len;
  return s;
}

std::string TDrawingReader::FixedName(std::size_t width) {
  if (!ok() || Remaining() < width) {
    Fail(StreamError::Truncated);
    p_ = end_;
    return {};
  }
  const void* nul = std::memchr(p_, 0, width);
  if (!nul) {
    Fail(StreamError::BadString);
    return {};
  }
  std::string s(reinterpret_cast<const char*>(p_), static_cast<const std::uint8_t*>(nul) - p_);
  p_ += width;
  return s;
}

std::int32_t TDrawingReader::ListHeader(std::size_t minRecordBytes) {
  Marker();
  std::int32_t count = Int32();
  Int32();  // capacity: a hint only
  if (!ok()) return 0;
  if (count < 0 || (minRecordBytes > 0 && static_cast<std::size_t>(count) > Remaining() / minRecordBytes)) {
    Fail(StreamError::BadCount);
    return 0;
  }
  return count;
}

}  // namespace qm
