#include "app/document.h"

namespace qm::app {

TDrawingDocument::TDrawingDocument(TLayoutHost* host) : layout_(std::make_unique<TCadLayout>(host)) {}

TDrawingDocument::~TDrawingDocument() {
  markGroup_.ClearMarked();
  editGroup_.ClearEdited();
  layout_.reset();
}

void TDrawingDocument::SetHost(TLayoutHost* host) { layout_->SetHost(host); }

bool TDrawingDocument::IsEmpty() const {
  TBox text;
  return layout_->EntityCount() == 0 && !layout_->Text().Extents(false, text);
}

bool TDrawingDocument::MarkingShown() const { return markGroup_.MemberCount() > 0; }

void TDrawingDocument::New() {
  markGroup_.ClearMarked();
  editGroup_.ClearEdited();
  layout_->Clear();
  stackBlock_.clear();
  TCadObj::ResetIdCounter();
  layout_->AddLayer("", newLayerColor_ ? newLayerColor_() : 1);
  layout_->UpdateExtents();
  if (onReplaced_) onReplaced_();
}

void TDrawingDocument::Adopt(TLoadedDrawing&& d) {
  markGroup_.ClearMarked();
  editGroup_.ClearEdited();
  layout_->Clear();
  const int count = static_cast<int>(d.layers.size());
  for (auto& layer : d.layers) layout_->AdoptLayer(std::move(layer));
  int active = d.activeLayer >= 0 && d.activeLayer < count ? d.activeLayer : count - 1;
  layout_->SetActiveLayer(active);
  stackBlock_ = std::move(d.stackBlock);
  // A loaded drawing (and a restored step) starts unmarked.
  layout_->Unmark();
  layout_->UpdateExtents();
  if (onReplaced_) onReplaced_();
}

int TDrawingDocument::Load(const std::string& path, TFileKind kind) {
  lastLoad_ = {};
  switch (kind) {
    case TFileKind::Picture: {
      TDecodedPicture pic;
      int r = LoadPicture(path, decoder_, pic);
      if (r != kPictureOk) return r;
      if (!pictureSink_ || !pictureSink_(std::move(pic), path)) return kPictureDamaged;
      return kLoadOk;
    }
    case TFileKind::Converter:
    case TFileKind::Export:
      lastLoad_.result = kLoadNotAvailable;
      lastLoad_.message = "importing this kind of file is not available yet";
      return kLoadNotAvailable;
    default: break;
  }
  TLoadedDrawing d;
  lastLoad_ = LoadDrawingFile(path, kind == TFileKind::Snapshot, d);
  if (lastLoad_.result != kLoadOk) return lastLoad_.result;
  Adopt(std::move(d));
  return kLoadOk;
}

TDrawingToSave TDrawingDocument::ToSave() const {
  TDrawingToSave s;
  TBox box;
  if (layout_->RecalcExtents(false, box)) s.extents = box;
  s.activeLayer = layout_->ActiveLayer();
  s.hasCurrentLayer = layout_->CurrentLayer() != nullptr;
  s.textToolBoxShown = textToolBoxShown_ && textToolBoxShown_();
  for (int i = 0; i < layout_->LayerCount(); ++i) s.layers.push_back(layout_->LayerAt(i));
  s.stackBlock = stackBlock_;
  return s;
}

int TDrawingDocument::Save(const std::string& path, TFileKind kind) {
  lastSaveError_ = 0;
  if (kind == TFileKind::Export) return kLoadNotAvailable;
  TPreviewSource preview = preview_ ? preview_() : TPreviewSource{};
  TSaveReport rep = SaveDrawingFile(path, ToSave(), preview);
  lastSaveError_ = rep.error;
  return rep.result;
}

bool TDrawingDocument::SaveSnapshot(const std::string& path) { return Save(path, TFileKind::Snapshot) == kSaveOk; }

bool TDrawingDocument::LoadSnapshot(const std::string& path) { return Load(path, TFileKind::Snapshot) == kLoadOk; }

}  // namespace qm::app
