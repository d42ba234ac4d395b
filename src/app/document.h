#pragma once
// The drawing as the main window holds it: the layout with its mark and edit
// groups, read and written through the drawing file, and the snapshots of
// the undo list. Plain C++, so the file commands, the undo list and the
// headless programs share it with the window.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/file_commands.h"
#include "model/group.h"
#include "model/layout.h"
#include "model/undo.h"
#include "persist/drawing_file.h"
#include "persist/picture.h"

namespace qm::app {

class TDrawingDocument : public TDocument, public TSnapshotStore {
 public:
  // `host` (the main window, or none) is told about layer tabs, changes and
  // redraws; it must outlive the document or be replaced first.
  explicit TDrawingDocument(TLayoutHost* host = nullptr);
  ~TDrawingDocument() override;

  TCadLayout& Layout() { return *layout_; }
  const TCadLayout& Layout() const { return *layout_; }
  TMarkGroup& MarkGroup() { return markGroup_; }
  TEditGroup& EditGroup() { return editGroup_; }
  void SetHost(TLayoutHost* host);

  // The view's buffer, for the preview of a saved drawing. Without it (or
  // with a view of no size) a save answers kSaveNoView.
  void SetPreviewSource(std::function<TPreviewSource()> source) { preview_ = std::move(source); }
  // A background picture was read: the view takes it (answer false to drop it).
  void SetPictureSink(std::function<bool(TDecodedPicture&&, const std::string& path)> sink) {
    pictureSink_ = std::move(sink);
  }
  void SetPictureDecoder(TPictureDecoder* decoder) { decoder_ = decoder; }
  // The colour of the first layer of a new drawing.
  void SetNewLayerColor(std::function<std::int16_t()> color) { newLayerColor_ = std::move(color); }
  // Told after the drawing was replaced (New, a load, an undo step).
  void SetReplacedHandler(std::function<void()> handler) { onReplaced_ = std::move(handler); }
  // Whether the text tool box is shown (stored in the file, nothing more).
  void SetTextToolBoxShown(std::function<bool()> shown) { textToolBoxShown_ = std::move(shown); }

  // ---- TDocument -----------------------------------------------------------------
  bool IsEmpty() const override;
  bool MarkingShown() const override;
  void New() override;
  int Load(const std::string& path, TFileKind kind) override;
  int Save(const std::string& path, TFileKind kind) override;

  // ---- TSnapshotStore --------------------------------------------------------
  bool SaveSnapshot(const std::string& path) override;
  bool LoadSnapshot(const std::string& path) override;

  // What the last load said (its message and where a file broke).
  const TLoadReport& LastLoadReport() const { return lastLoad_; }
  int LastSaveError() const { return lastSaveError_; }
  // The drawing as the file writer sees it.
  TDrawingToSave ToSave() const;

 private:
  // Replaces the drawing by what was read; every list that refers to the old
  // entities lets go as they are freed.
  void Adopt(TLoadedDrawing&& d);

  std::unique_ptr<TCadLayout> layout_;
  TMarkGroup markGroup_;
  TEditGroup editGroup_;
  std::string stackBlock_;
  TLoadReport lastLoad_;
  int lastSaveError_ = 0;
  std::function<TPreviewSource()> preview_;
  std::function<bool(TDecodedPicture&&, const std::string&)> pictureSink_;
  TPictureDecoder* decoder_ = nullptr;
  std::function<std::int16_t()> newLayerColor_;
  std::function<void()> onReplaced_;
  std::function<bool()> textToolBoxShown_;
};

}  // namespace qm::app
