#pragma once
// Undo and redo over whole-drawing snapshots. After each command the drawing
// is saved as a numbered snapshot file "$C<tag>.<n>" in the mail-box
// directory; stepping back or forward loads another snapshot in its place.
// Snapshots left behind by a crash are recovered at the next start.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Saving and loading the drawing, provided by the main window.
class TSnapshotStore {
 public:
  virtual ~TSnapshotStore() = default;
  // Saves the current drawing to `path`; true on success.
  virtual bool SaveSnapshot(const std::string& path) = 0;
  // Loads `path` in place of the drawing, which changes only when the whole
  // file was read; true on success. Loading a snapshot keeps the current file
  // name and the recent files, and clears every marking.
  virtual bool LoadSnapshot(const std::string& path) = 0;
};

// The "&Undo" and "&Redo" menu items and their tool buttons.
class TUndoControls {
 public:
  virtual ~TUndoControls() = default;
  virtual void SetUndoState(bool enabled, const std::string& caption, const std::string& hint) = 0;
  virtual void SetRedoState(bool enabled, const std::string& caption, const std::string& hint) = 0;
};

// A menu caption as a hint: "&" removed, a trailing "..." and surrounding
// blanks trimmed.
std::string ReduceCaption(std::string_view caption);

// True when `fileName` (the last path component) names an undo snapshot:
// it begins with "$C" or "$c".
bool IsSnapshotFileName(std::string_view fileName);

class TUndoItem {
 public:
  TUndoItem(std::string fileName, std::string name);
  ~TUndoItem();  // deletes the snapshot file
  TUndoItem(const TUndoItem&) = delete;
  TUndoItem& operator=(const TUndoItem&) = delete;
  const std::string FileName;
  const std::string Name;  // at most 40 characters
};

class TUndoList {
 public:
  // `windowTag` identifies this program window among those sharing the
  // mail box (the process id). `isRunning` tells whether the instance that
  // wrote snapshots under a tag still runs (default: the tag is the id of a
  // live process).
  TUndoList(std::string mailDir, std::string windowTag, TSnapshotStore& store, TUndoControls* controls,
            int limit = 100);
  ~TUndoList();  // deletes this window's snapshots and those of instances that no longer run
  TUndoList(const TUndoList&) = delete;
  TUndoList& operator=(const TUndoList&) = delete;

  void SetRunningTest(std::function<bool(const std::string& tag)> isRunning) { isRunning_ = std::move(isRunning); }

  // Saves the drawing as a new step. The step is listed only when the save
  // succeeded; false otherwise (the change stays pending for the caller).
  bool Record(std::string_view name);
  // Steps back or forward; false when there is nothing to step to or the
  // snapshot could not be loaded (the position then stays where it was).
  bool Undo();
  bool Redo();
  // Deletes this window's snapshot files and empties the list.
  void ClearAll();
  // At start-up: loads the newest snapshot of the mail box (any window's),
  // trying older ones when a load fails. True when one was loaded.
  bool RecoverLatest();
  // Deletes this window's snapshots and those of every instance that is not
  // running any more.
  void DeleteStaleSnapshots();

  // Whether the drawing holds a change no step has recorded yet: Undo is then
  // possible (the caller records the change first) and Redo is not (it would
  // lose the change).
  void SetChangePending(bool pending);
  bool CanUndo() const;
  bool CanRedo() const;
  void UpdateControls();

  int Limit() const { return limit_; }
  int Counter() const { return counter_; }
  int Index() const { return index_; }
  int Count() const { return static_cast<int>(items_.size()); }
  const TUndoItem& Item(int i) const { return *items_[static_cast<std::size_t>(i)]; }
  const std::string& WindowTag() const { return tag_; }
  std::string UndoCaption() const;
  std::string RedoCaption() const;

  static constexpr std::string_view kUndoCaption = "&Undo", kRedoCaption = "&Redo";

 private:
  bool Restore(int newIndex);
  std::string SnapshotPath(int n) const;
  // Files of the mail box that are snapshots, with their tags.
  struct Snapshot {
    std::string path, tag;
    std::int64_t mtimeNs;
  };
  std::vector<Snapshot> ListSnapshots() const;

  std::string mailDir_, tag_;
  TSnapshotStore& store_;
  TUndoControls* controls_;
  int limit_;
  int counter_ = 0;
  int index_ = -1;
  bool changePending_ = false;
  std::vector<std::unique_ptr<TUndoItem>> items_;
  std::function<bool(const std::string&)> isRunning_;
};

}  // namespace qm
