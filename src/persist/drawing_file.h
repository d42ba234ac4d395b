#pragma once
// The drawing file (".qmd") and its older sibling, the version-4 ".cad"
// drawing; the same format serves the undo snapshots.
//
// Reading never touches the drawing in memory: a file is parsed into a fresh
// TLoadedDrawing, and the caller swaps that in only when the whole file was
// read. Writing builds the whole file in memory and replaces the target
// atomically, so a failed save leaves the existing file as it was.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geom/geometry.h"
#include "model/group.h"
#include "model/stream.h"

namespace qm {

// LoadDrawing results. 0 and the positive codes are those the main window
// shows as messages; the negative ones show nothing (−1, −2) or their own
// text (−3, −4).
enum LoadResult : int {
  kLoadOk = 0,
  kLoadMissing = 1,             // no such file, or a name with "*" or "?"
  kLoadDxfFailed = 2,
  kLoadHpglFailed = 3,
  kLoadEpsFailed = 4,
  kLoadCncFailed = 5,
  kLoadRlfFailed = 6,
  kLoadBadStructure = -1,       // not a drawing of a known version or record structure
  kLoadOldVersion = -2,         // version below 4.0, or an unknown header kind
  kLoadUnsupportedContent = -3, // holds records this version of the program cannot read yet (text)
  kLoadNotAvailable = -4,       // a converter format whose engine is not installed
  kLoadCannotRead = -5,         // the file exists but cannot be read
};

enum SaveResult : int {
  kSaveOk = 0,
  kSaveDxfFailed = 2,
  kSaveHpglFailed = 3,
  kSaveNoView = 5,         // the view has no size, so no preview can be made
  kSaveWriteFailed = -10,  // the file system refused (see `error`)
};

// What a drawing file holds, parsed.
struct TLoadedDrawing {
  float version = 0;                     // as stored
  TBox extents = EmptyBox;               // as stored (recomputed by the caller)
  std::int16_t activeLayer = -1;         // index of the current layer, −1 none
  std::vector<std::unique_ptr<TCadGroup>> layers;
  // The stack block exactly as stored ("" when the file had none: an empty
  // stack). Kept and written back unchanged until stacks are understood.
  std::string stackBlock;
  int droppedEntities = 0;  // entities with a non-finite point, radius or bulge
  int hiddenOrphans = 0;    // outline entities no character claimed
};

struct TLoadReport {
  int result = kLoadOk;
  StreamError error = StreamError::None;
  std::size_t offset = 0;  // where the structure broke
  std::string message;     // a short explanation for users and logs
};

// Parses the bytes of a native drawing (version 5.0 or later).
TLoadReport ParseDrawing(std::string_view bytes, TLoadedDrawing& out);
// Parses the bytes of a version-4 ".cad" drawing.
TLoadReport ParseCadV4(std::string_view bytes, TLoadedDrawing& out);

// The kind of a file, from its extension, its name inside the mail box (undo
// snapshots) or, where the extension says nothing, its header.
enum class FileKind {
  Native,    // .qmd and undo snapshots
  CadV4,     // .cad
  TextV4,    // .txt
  Picture,   // a background picture
  Dxf, Hpgl, Eps, Rlf, Cnc,
  Unknown,
};
FileKind RouteByName(std::string_view path, bool isSnapshot);
// For an unknown extension: Native or CadV4 by the header, else Unknown.
FileKind RouteByHeader(std::string_view bytes);

// Reads a file from disk and parses it by kind (native, ".cad", snapshot,
// unknown extension recognised by its header). Converter formats, pictures
// and ".txt" are the caller's business and answer kLoadNotAvailable here.
TLoadReport LoadDrawingFile(const std::string& path, bool isSnapshot, TLoadedDrawing& out);

// The thumbnail of the view at the time of saving: the visible part of its
// back buffer, RGB32 (0xFFRRGGBB), top row first.
struct TPreviewSource {
  int width = 0, height = 0, stride = 0;  // stride in pixels
  const std::uint32_t* pixels = nullptr;
};

struct TDrawingToSave {
  TBox extents = EmptyBox;
  std::int16_t activeLayer = -1;
  bool hasCurrentLayer = false;
  bool textToolBoxShown = false;
  std::vector<const TCadGroup*> layers;
  std::string_view stackBlock;  // "" writes the block of an empty stack
};

// The complete file image.
std::string SerializeDrawing(const TDrawingToSave& drawing, const TPreviewSource& preview);

struct TSaveReport {
  int result = kSaveOk;
  int error = 0;  // errno when result is kSaveWriteFailed
};
// Writes a native drawing atomically. A preview of zero size is refused
// with kSaveNoView before anything is touched.
TSaveReport SaveDrawingFile(const std::string& path, const TDrawingToSave& drawing, const TPreviewSource& preview);

// ".qmd" appended when the last path component has no "." at all.
std::string WithDefaultExtension(const std::string& path);

inline constexpr std::size_t kHeaderSize = 20270;

}  // namespace qm
