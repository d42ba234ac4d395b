#include "app/actions.h"

#include <algorithm>

namespace qm::app {

void TActionLog::SetChangePending(bool pending) {
  changePending_ = pending;
  if (!pending) pendingName_.clear();
  undo_.SetChangePending(pending);
}

void TActionLog::NoteChange(std::string_view name) {
  if (!name.empty()) pendingName_ = std::string(name);
  SetChangePending(true);
}

bool TActionLog::RecordAction(std::string_view name) {
  if (name.empty()) return false;
  modified_ = true;
  if (!undo_.Record(name)) {
    changePending_ = true;
    undo_.SetChangePending(true);
    return false;
  }
  SetChangePending(false);
  return true;
}

bool TActionLog::RecordPending(std::string_view fallbackName) {
  if (!changePending_) return false;
  std::string name = pendingName_.empty() ? std::string(fallbackName) : pendingName_;
  return RecordAction(name);
}

bool TActionLog::FinishResetActivity(std::string_view statusName) {
  if (!redrawPending_) return false;
  RecordAction(statusName);
  redrawPending_ = false;
  return true;
}

void TActionLog::TypedKey(std::uint16_t code) {
  NoteChange("Text");
  if (code == 13) RecordAction("Enter");
}

bool TActionLog::Undo() {
  RecordPending("Undo");
  bool stepped = undo_.Undo();
  redrawPending_ = false;
  if (stepped) modified_ = true;
  return stepped;
}

bool TActionLog::Redo() {
  bool stepped = undo_.Redo();
  redrawPending_ = false;
  if (stepped) modified_ = true;
  return stepped;
}

void TActionLog::AddLayer(const std::function<void()>& addLayer) {
  RecordPending("Add Layer");
  addLayer();
  RecordAction("Add Layer");
}

bool TActionLog::Cut(const std::function<bool()>& copy, const std::function<void()>& deleteMarked) {
  if (!copy()) return false;
  deleteMarked();
  RecordAction("Cut");
  return true;
}

bool TActionLog::PasteText(std::string_view clipboardText, const std::function<void(char)>& insertKey) {
  std::string keys = PastedKeys(clipboardText);
  if (keys.empty()) return false;
  for (char k : keys) insertKey(k);
  RecordAction("Paste");
  return true;
}

void TActionLog::StartedNewDrawing() {
  undo_.ClearAll();
  redrawPending_ = false;
  RecordAction("New");
  SetChangePending(false);
  modified_ = false;
}

void TActionLog::RecoveredDrawing() {
  undo_.ClearAll();
  redrawPending_ = false;
  RecordAction("New");
  SetChangePending(false);
  modified_ = true;
}

void TActionLog::LoadedNativeDrawing() {
  undo_.ClearAll();
  redrawPending_ = false;
  RecordAction("Open");
  SetChangePending(false);
  modified_ = false;
}

std::string PastedKeys(std::string_view text) {
  std::string keys;
  keys.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      keys.push_back('\r');
    } else if (c == '\n') {
      keys.push_back('\r');
    } else {
      keys.push_back(c);
    }
  }
  return keys;
}

int LayerAfterUndo(int previousIndex, int tabCount) {
  if (tabCount <= 0) return -1;
  return std::clamp(previousIndex, 0, tabCount - 1);
}

}  // namespace qm::app
