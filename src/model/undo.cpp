#include "model/undo.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"

namespace qm {

std::string ReduceCaption(std::string_view caption) {
  std::string s;
  for (char c : caption)
    if (c != '&') s.push_back(c);
  auto trim = [](std::string& t) {
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.pop_back();
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    t.erase(0, i);
  };
  trim(s);
  if (s.size() >= 3 && s.compare(s.size() - 3, 3, "...") == 0) s.resize(s.size() - 3);
  trim(s);
  return s;
}

bool IsSnapshotFileName(std::string_view fileName) {
  return fileName.size() >= 2 && fileName[0] == '$' && (fileName[1] == 'C' || fileName[1] == 'c');
}

TUndoItem::TUndoItem(std::string fileName, std::string name)
    : FileName(std::move(fileName)), Name(name.size() > 40 ? name.substr(0, 40) : std::move(name)) {}

TUndoItem::~TUndoItem() { ::unlink(FileName.c_str()); }

namespace {
bool ProcessIsRunning(const std::string& tag) {
  if (tag.empty() || tag.size() > 9 || !std::all_of(tag.begin(), tag.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  pid_t pid = static_cast<pid_t>(std::stol(tag));
  if (pid <= 0) return false;
  return ::kill(pid, 0) == 0 || errno == EPERM;
}
}  // namespace

TUndoList::TUndoList(std::string mailDir, std::string windowTag, TSnapshotStore& store, TUndoControls* controls,
                     int limit)
    : mailDir_(std::move(mailDir)),
      tag_(std::move(windowTag)),
      store_(store),
      controls_(controls),
      limit_(limit),
      isRunning_(ProcessIsRunning) {
  UpdateControls();
}

TUndoList::~TUndoList() {
  items_.clear();
  ClearAll();
  DeleteStaleSnapshots();
}

std::string TUndoList::SnapshotPath(int n) const {
  return platform::JoinPath(mailDir_, "$C" + tag_ + "." + std::to_string(n));
}

std::vector<TUndoList::Snapshot> TUndoList::ListSnapshots() const {
  std::vector<Snapshot> out;
  DIR* dir = ::opendir(mailDir_.c_str());
  if (!dir) return out;
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (!IsSnapshotFileName(name)) continue;
    std::string path = platform::JoinPath(mailDir_, name);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    // "$C<tag>.<n>": the tag is everything up to the last dot.
    auto dot = name.rfind('.');
    std::string tag = name.substr(2, dot == std::string::npos || dot < 2 ? std::string::npos : dot - 2);
    out.push_back({path, tag, static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec});
  }
  ::closedir(dir);
  std::sort(out.begin(), out.end(), [](const Snapshot& a, const Snapshot& b) { return a.path < b.path; });
  return out;
}

bool TUndoList::Record(std::string_view name) {
  if (limit_ <= 0) return false;
  // The snapshot is written first; the list changes only once it exists.
  int n = (counter_ + 1) % 900;
  std::string path = SnapshotPath(n);
  if (!store_.SaveSnapshot(path)) {
    ::unlink(path.c_str());
    return false;
  }
  // Drop the redo branch. Its files may share no name with the new one: a
  // number comes round only after 900 steps, long after its item was dropped.
  while (static_cast<int>(items_.size()) > index_ + 1) items_.pop_back();
  while (static_cast<int>(items_.size()) > limit_) items_.erase(items_.begin());
  counter_ = n;
  items_.push_back(std::make_unique<TUndoItem>(path, std::string(name)));
  index_ = static_cast<int>(items_.size()) - 1;
  changePending_ = false;
  UpdateControls();
  return true;
}

bool TUndoList::Restore(int newIndex) {
  const TUndoItem& item = *items_[static_cast<std::size_t>(newIndex)];
  if (!platform::FileExists(item.FileName)) return false;
  if (!store_.LoadSnapshot(item.FileName)) return false;
  index_ = newIndex;
  changePending_ = false;
  UpdateControls();
  return true;
}

bool TUndoList::Undo() {
  if (limit_ <= 0 || index_ <= 0 || index_ >= Count()) return false;
  return Restore(index_ - 1);
}

bool TUndoList::Redo() {
  if (limit_ <= 0 || changePending_ || index_ >= Count() - 1) return false;
  return Restore(index_ + 1);
}

void TUndoList::ClearAll() {
  for (const Snapshot& s : ListSnapshots())
    if (s.tag == tag_) ::unlink(s.path.c_str());
  // The items' files are gone; the items go with them.
  items_.clear();
  index_ = -1;
  counter_ = 0;
  UpdateControls();
}

void TUndoList::DeleteStaleSnapshots() {
  for (const Snapshot& s : ListSnapshots())
    if (s.tag == tag_ || !isRunning_(s.tag)) ::unlink(s.path.c_str());
}

bool TUndoList::RecoverLatest() {
  std::vector<Snapshot> all = ListSnapshots();
  // Newest first; equal times keep name order.
  std::stable_sort(all.begin(), all.end(), [](const Snapshot& a, const Snapshot& b) { return a.mtimeNs > b.mtimeNs; });
  for (const Snapshot& s : all) {
    if (s.tag == tag_) continue;
    if (store_.LoadSnapshot(s.path)) return true;
  }
  return false;
}

void TUndoList::SetChangePending(bool pending) {
  changePending_ = pending;
  UpdateControls();
}

bool TUndoList::CanUndo() const { return limit_ > 0 && (index_ > 0 || (changePending_ && index_ >= 0)); }
bool TUndoList::CanRedo() const { return limit_ > 0 && !changePending_ && index_ < Count() - 1; }

std::string TUndoList::UndoCaption() const {
  std::string c(kUndoCaption);
  if (changePending_ && index_ >= 0) return c;  // the pending change is what Undo takes back
  if (index_ > 0) c += " (" + items_[static_cast<std::size_t>(index_)]->Name + ")";
  return c;
}

std::string TUndoList::RedoCaption() const {
  std::string c(kRedoCaption);
  if (CanRedo()) c += " (" + items_[static_cast<std::size_t>(index_ + 1)]->Name + ")";
  return c;
}

void TUndoList::UpdateControls() {
  if (!controls_) return;
  std::string u = UndoCaption(), r = RedoCaption();
  controls_->SetUndoState(CanUndo(), u, ReduceCaption(u));
  controls_->SetRedoState(CanRedo(), r, ReduceCaption(r));
}

}  // namespace qm
