#pragma once
// Undo-step bookkeeping of the main window: RecordAction and the three flags
// Modified, ChangePending and RedrawPending, with the rules of the commands
// that record in more than one place (Undo, Redo, Add Layer, Cut, Paste,
// typing, Reset Activity, New and Open).
#include "model/undo.h"
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qm::app {

// A menu caption as a command name or tool-button hint: every "&" removed,
// surrounding blanks trimmed and a trailing "..." dropped ("&Print ..." →
// "Print", "Save &As..." → "Save As").
using qm::ReduceCaption;  // a caption as a hint: "&" and a trailing "..." removed

// The undo list as far as the bookkeeping needs it (the snapshot list of the
// drawing model implements these with the same meaning).
class TUndoSteps {
 public:
  virtual ~TUndoSteps() = default;
  // Saves the drawing as a new step; false when the snapshot was not written.
  virtual bool Record(std::string_view name) = 0;
  // Step back / forward; false when nothing was restored.
  virtual bool Undo() = 0;
  virtual bool Redo() = 0;
  // Forgets every step of this window.
  virtual void ClearAll() = 0;
  // Whether a change exists that no step has recorded yet.
  virtual void SetChangePending(bool pending) = 0;
};

class TActionLog {
 public:
  explicit TActionLog(TUndoSteps& undo) : undo_(undo) {}

  // The drawing changed since it was loaded or saved.
  bool Modified() const { return modified_; }
  // A change happened (typed text, a committed construction) that no undo
  // step holds yet.
  bool ChangePending() const { return changePending_; }
  // The drawing must be redrawn, and the drafting tool's work recorded, at the
  // end of the next Reset Activity.
  bool RedrawPending() const { return redrawPending_; }
  // The name the pending change will be recorded under ("" when unknown).
  const std::string& PendingActionName() const { return pendingName_; }

  void SetModified(bool modified) { modified_ = modified; }
  void SetRedrawPending(bool pending) { redrawPending_ = pending; }
  // A change that is recorded later; `name` (when given) names its step.
  void NoteChange(std::string_view name = {});

  // Records one undo step named `name`. An empty name records nothing.
  // Otherwise Modified is set; when the snapshot was written the pending
  // change is cleared, when it was not the change stays pending so that the
  // next recording takes it along. True when a step was recorded.
  bool RecordAction(std::string_view name);
  // Records the pending change, when there is one, under its own name or
  // else under `fallbackName`.
  bool RecordPending(std::string_view fallbackName);

  // The end of Reset Activity: with RedrawPending set the tool's work is
  // recorded under `statusName` and the flag cleared. True when the drawing
  // must be redrawn.
  bool FinishResetActivity(std::string_view statusName);

  // A character typed into the text: the change is pending; Enter (13)
  // records a step named "Enter".
  void TypedKey(std::uint16_t code);

  // "&Undo": a pending change is first recorded as "Undo"; then one step
  // back. "&Redo": one step forward. Both clear RedrawPending (a later Reset
  // Activity must not record again and drop the redo branch) and set
  // Modified only when the drawing changed. True when a step was restored.
  bool Undo();
  bool Redo();

  // "&Add Layer": a pending change is recorded first (under its name, else
  // "Add Layer"); `addLayer` adds the layer; then one step "Add Layer".
  void AddLayer(const std::function<void()>& addLayer);
  // "Cu&t": the marked entities are deleted only after `copy` wrote them;
  // then one step "Cut". False when the copy failed (nothing deleted).
  bool Cut(const std::function<bool()>& copy, const std::function<void()>& deleteMarked);
  // Clipboard text pasted into the text: every key goes to `insertKey` (line
  // ends as Enter, 13) and the whole paste is one step "Paste". False when
  // the text held nothing to insert.
  bool PasteText(std::string_view clipboardText, const std::function<void(char)>& insertKey);

  // After New: the undo list is cleared, "New" becomes the first step and
  // nothing is modified or pending.
  void StartedNewDrawing();
  // After the previous run's drawing was restored at start-up: the undo list
  // is cleared and "New" recorded; the drawing stays modified (it was never
  // saved under a name).
  void RecoveredDrawing();
  // After a drawing was read by the native reader: the undo list is cleared,
  // "Open" recorded as the first step, and nothing is modified or pending.
  void LoadedNativeDrawing();

 private:
  void SetChangePending(bool pending);

  TUndoSteps& undo_;
  bool modified_ = false;
  bool changePending_ = false;
  bool redrawPending_ = true;  // the window starts with a redraw due
  std::string pendingName_;
};

// Clipboard text as the keys the text receives: CR LF, a lone CR and a lone
// LF each become one Enter (13); every other byte is kept.
std::string PastedKeys(std::string_view clipboardText);

// The tab to select again after Undo: the previously active index clamped to
// the tabs there are now; -1 when there are none.
int LayerAfterUndo(int previousIndex, int tabCount);

// "Remove!" asks before removing a layer that holds members or text.
constexpr bool RemoveLayerAsks(bool hasMembers, bool hasText) { return hasMembers || hasText; }

}  // namespace qm::app
