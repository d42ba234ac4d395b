#pragma once
// Little-endian field-by-field streams of the drawing file. Every value is
// written and read byte by byte (never as a struct image), so the layout is
// the same on every machine.
//
// The reader treats its input as hostile: every read is bounded by the bytes
// that remain, the first failure is kept and every later read answers zero,
// so a parser can read a whole record and test ok() once.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "geom/geometry.h"

namespace qm {

enum class StreamError : std::uint8_t {
  None = 0,
  Truncated,      // the data ended inside a record
  BadString,      // a tagged string with a tag other than 6 or 12, or a length beyond the data
  BadCount,       // a negative count, or more records than the remaining bytes can hold
  BadTag,         // a record tag the reader does not know
  BadValue,       // any other field out of its range
};

const char* StreamErrorText(StreamError e);

class TDrawingWriter {
 public:
  explicit TDrawingWriter(std::string& out) : out_(out) {}

  void UInt8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void Int16(std::int16_t v) { Raw(static_cast<std::uint16_t>(v), 2); }
  void UInt16(std::uint16_t v) { Raw(v, 2); }
  void Int32(std::int32_t v) { Raw(static_cast<std::uint32_t>(v), 4); }
  void UInt32(std::uint32_t v) { Raw(v, 4); }
  void Single(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    Raw(u, 4);
  }
  void Double(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    Raw(u, 8);
  }
  void Point(const TPointD& p) {
    Double(p.x);
    Double(p.y);
  }
  void Bytes(const void* data, std::size_t n) { out_.append(static_cast<const char*>(data), n); }
  void Zeros(std::size_t n) { out_.append(n, '\0'); }

  // A length byte and 255 bytes, the unused ones zero. Longer text is cut.
  void ShortText256(std::string_view s);
  // Byte 6, byte L, L bytes when L ≤ 255; else byte 12, Int32 L, L bytes.
  void TaggedString(std::string_view s);
  // The Int16 50 written before every list.
  void Marker() { Int16(50); }
  // Marker, count, capacity (= count: readers only use it as a hint).
  void ListHeader(std::int32_t count) {
    Marker();
    Int32(count);
    Int32(count);
  }

  std::size_t Size() const { return out_.size(); }
  std::string& Buffer() { return out_; }

 private:
  void Raw(std::uint64_t v, int bytes) {
    char b[8];
    for (int i = 0; i < bytes; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    out_.append(b, static_cast<std::size_t>(bytes));
  }
  std::string& out_;
};

class TDrawingReader {
 public:
  TDrawingReader(const void* data, std::size_t size)
      : p_(static_cast<const std::uint8_t*>(data)), begin_(p_), end_(p_ + size) {}
  explicit TDrawingReader(std::string_view bytes) : TDrawingReader(bytes.data(), bytes.size()) {}

  bool ok() const { return error_ == StreamError::None; }
  StreamError error() const { return error_; }
  // Where the first failure happened (byte offset).
  std::size_t ErrorOffset() const { return errorOffset_; }
  void Fail(StreamError e) {
    if (error_ == StreamError::None) {
      error_ = e;
      errorOffset_ = Position();
    }
  }
  std::size_t Position() const { return static_cast<std::size_t>(p_ - begin_); }
  std::size_t Remaining() const { return static_cast<std::size_t>(end_ - p_); }
  std::size_t Size() const { return static_cast<std::size_t>(end_ - begin_); }
  bool AtEnd() const { return p_ == end_; }

  std::uint8_t UInt8() { return static_cast<std::uint8_t>(Raw(1)); }
  std::int16_t Int16() { return static_cast<std::int16_t>(static_cast<std::uint16_t>(Raw(2))); }
  std::uint16_t UInt16() { return static_cast<std::uint16_t>(Raw(2)); }
  std::int32_t Int32() { return static_cast<std::int32_t>(static_cast<std::uint32_t>(Raw(4))); }
  std::uint32_t UInt32() { return static_cast<std::uint32_t>(Raw(4)); }
  float Single() {
    std::uint32_t u = static_cast<std::uint32_t>(Raw(4));
    float f;
    std::memcpy(&f, &u, 4);
    return f;
  }
  double Double() {
    std::uint64_t u = Raw(8);
    double d;
    std::memcpy(&d, &u, 8);
    return d;
  }
  TPointD Point() {
    TPointD p;
    p.x = Double();
    p.y = Double();
    return p;
  }
  // Skips n bytes (Truncated when fewer remain).
  void Skip(std::size_t n);
  // Copies n bytes; false (and Truncated) when fewer remain.
  bool Bytes(void* out, std::size_t n);

  std::string ShortText256();
  std::string TaggedString();
  // A zero-terminated name in a fixed field of `width` bytes; BadString when
  // the field has no terminator.
  std::string FixedName(std::size_t width);
  void Marker() { Int16(); }
  // Marker, count, capacity. The count must be ≥ 0 and at most
  // Remaining() / minRecordBytes (each record needs at least that much); the
  // capacity is read and ignored. Answers 0 after any failure.
  std::int32_t ListHeader(std::size_t minRecordBytes);

  // The version of the file being read, as stored (a Single).
  float version = 5.0f;

 private:
  std::uint64_t Raw(int bytes) {
    if (Remaining() < static_cast<std::size_t>(bytes) || !ok()) {
      Fail(StreamError::Truncated);
      p_ = end_;
      return 0;
    }
    std::uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(p_[i]) << (8 * i);
    p_ += bytes;
    return v;
  }

  const std::uint8_t* p_;
  const std::uint8_t* begin_;
  const std::uint8_t* end_;
  StreamError error_ = StreamError::None;
  std::size_t errorOffset_ = 0;
};

// The stored versions the reader distinguishes. Compared as Singles: a
// stored 5.08 is 5.0799999, so a Double comparison would misread it.
inline constexpr float kVersion508 = 5.08f;
inline constexpr float kVersion509 = 5.09f;
inline bool VersionAtLeast(float stored, float version) { return stored >= version; }

}  // namespace qm
