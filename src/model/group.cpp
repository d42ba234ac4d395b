#include "model/group.h"

#include <algorithm>
#include <cstdlib>

#include "model/arc.h"
#include "model/canvas.h"
#include "model/circle.h"
#include "model/line.h"

namespace qm {

namespace {

TBox Merge(TBox a, const TBox& b) {
  a.Min.x = std::min(a.Min.x, b.Min.x);
  a.Min.y = std::min(a.Min.y, b.Min.y);
  a.Max.x = std::max(a.Max.x, b.Max.x);
  a.Max.y = std::max(a.Max.y, b.Max.y);
  return a;
}

}  // namespace

// ---------------------------------------------------------------------------
// TCadGroup
// ---------------------------------------------------------------------------

TCadGroup::TCadGroup(TCadObj* owner, std::int16_t colorIndex, std::string_view name)
    : TCadObj(0, owner, ofVisible, EmptyBox.Min.x, EmptyBox.Min.y, EmptyBox.Max.x, EmptyBox.Max.y),
      colorIndex_(colorIndex) {
  SetName(name);
}

TCadGroup::~TCadGroup() = default;

void TCadGroup::SetName(std::string_view name) { name_ = std::string(name.substr(0, 255)); }

int TCadGroup::MemberCount() const {
  return referred_ ? static_cast<int>(referred_->Count()) : members_.Count();
}

TClassCounts TCadGroup::CountByClass() const {
  TClassCounts c;
  ForEachMember([&](const TCadObj& m) {
    if (dynamic_cast<const TCadLine*>(&m))
      ++c.lines;
    else if (dynamic_cast<const TCadArc*>(&m))
      ++c.arcs;
    else if (dynamic_cast<const TCadCirc*>(&m))
      ++c.circles;
  });
  return c;
}

std::vector<TCadObj*> TCadGroup::MemberList() const {
  if (referred_) return referred_->Items();
  std::vector<TCadObj*> out;
  out.reserve(static_cast<std::size_t>(members_.Count()));
  for (TCadObj* m : members_) out.push_back(m);
  return out;
}

void TCadGroup::StoreExtents(const TBox& box) {
  if (box.Min == P1() && box.Max == P2()) return;
  StorePoints(box.Min, box.Max);
  Changed();
}

TCadObj* TCadGroup::InsertMember(std::unique_ptr<TCadObj>&& entity, const TCadObj* after, TMarkGroup* markGroup) {
  if (!entity || referred_) return nullptr;
  if (entity->IsCharacter()) {
    StoreExtents(Merge(GetExtents(), entity->GetExtents()));
    return nullptr;
  }
  entity->SetFlags(entity->Flags() & static_cast<std::uint16_t>(~ofNotInserted));
  entity->SetOwner(this);
  int index = members_.Count();
  if (after) {
    const int at = members_.IndexOf(after);
    if (at >= 0) index = at + 1;
  }
  TCadObj* e = members_.Insert(index, std::move(entity));
  StoreExtents(Merge(GetExtents(), e->GetExtents()));
  if (markGroup && e->IsMarked()) markGroup->AddMarked(e);
  MemberChanged(*e, TChange::Inserted);
  return e;
}

bool TCadGroup::DeleteMember(TCadObj* entity, TMarkGroup* markGroup, bool recalc) {
  if (!entity) return false;
  bool found;
  if (referred_) {
    found = referred_->Remove(entity);
  } else {
    const int i = members_.IndexOf(entity);
    found = i >= 0;
    if (found) {
      if (markGroup) markGroup->RemoveMarked(entity);
      MemberChanged(*entity, TChange::Removing);
      members_.Delete(i);  // every list referring to it lets go here
    }
  }
  if (found && recalc) RecalcExtents(false);
  return found;
}

std::unique_ptr<TCadObj> TCadGroup::ExtractMember(TCadObj* entity) {
  if (referred_) return nullptr;
  const int i = members_.IndexOf(entity);
  if (i < 0) return nullptr;
  MemberChanged(*entity, TChange::Removing);
  std::unique_ptr<TCadObj> e = members_.Extract(i);
  e->SetOwner(nullptr);
  return e;
}

int TCadGroup::DeleteMarked() {
  int n = 0;
  if (referred_) {
    for (TCadObj* m : referred_->Items())
      if (m->IsMarked() && referred_->Remove(m)) ++n;
  } else {
    n = members_.DeleteIf([&](TCadObj& m) {
      if (!m.IsMarked()) return false;
      MemberChanged(m, TChange::Removing);
      return true;
    });
  }
  RecalcExtents(false);
  return n;
}

bool TCadGroup::RecalcExtents(bool onlyMarked, TBox* box) {
  if (box) *box = EmptyBox;
  if (!IsVisible()) return false;
  TBox b = EmptyBox;
  int counted = 0;
  ForEachMember([&](const TCadObj& m) {
    if (onlyMarked && !m.IsMarked()) return;
    b = Merge(b, m.GetExtents());
    ++counted;
  });
  if (counted == 0) {
    if (!onlyMarked) StoreExtents(EmptyBox);
    return false;
  }
  StoreExtents(b);
  if (box) *box = b;
  return true;
}

void TCadGroup::TransformMarked(double dx, double dy, double factor) {
  ForEachMember([&](TCadObj& m) {
    if (m.IsMarked()) m.Transform(dx, dy, factor);
  });
  RecalcExtents(false);
}

TScaleXYReport TCadGroup::ScaleXYMembers(bool onlyMarked, TMarkGroup* markGroup, double dx, double dy, double sx,
                                         double sy) {
  TScaleXYReport report;
  auto tally = [&](std::int32_t n) {
    if (n > 0)
      ++report.replaced;
    else if (n == 0)
      ++report.scaled;
    else
      ++report.notScaled;
  };
  if (referred_) {
    // The entities live in their own groups; replacements go there.
    for (TCadObj* m : referred_->Items()) {
      if (onlyMarked && !m->IsMarked()) continue;
      TCadGroup* home = m->OwningGroup();
      const std::int32_t n = m->ScaleXY(home, markGroup, dx, dy, sx, sy);
      tally(n);
      if (n > 0 && home) home->DeleteMember(m, markGroup, false);
    }
  } else {
    for (int i = 0; i < members_.Count();) {
      TCadObj* m = members_.At(i);
      if (onlyMarked && !m->IsMarked()) {
        ++i;
        continue;
      }
      const std::int32_t n = m->ScaleXY(this, markGroup, dx, dy, sx, sy);
      tally(n);
      if (n > 0) {
        DeleteMember(m, markGroup, false);
        i += n;  // the replacements now stand where m stood
      } else {
        ++i;
      }
    }
  }
  RecalcExtents(false);
  return report;
}

TScaleXYReport TCadGroup::ScaleXYMarked(TMarkGroup* markGroup, double dx, double dy, double sx, double sy) {
  return ScaleXYMembers(true, markGroup, dx, dy, sx, sy);
}

// ---- slots -----------------------------------------------------------------

void TCadGroup::Draw(TCanvas& canvas, std::int16_t mode, std::int16_t fill) {
  if (!IsVisible()) return;
  const platform::Rgb color = GroupColor(canvas, colorIndex_);
  Pen& buffer = canvas.PenOf(Surface::Buffer);
  buffer.style = PenStyle::Solid;
  buffer.color = color;
  if (mode < 0) {
    Pen& screen = canvas.PenOf(Surface::Screen);
    screen.style = PenStyle::Solid;
    screen.color = color;
  }
  ForEachMember([&](TCadObj& m) {
    // A layer's members take its index; the edit and mark groups do not
    // renumber the entities they merely list.
    if (!referred_) m.SetLayer(Layer());
    m.Draw(canvas, mode, fill);
    Pen& b = canvas.PenOf(Surface::Buffer);
    b.style = PenStyle::Solid;
    b.width = 1;
  });
  if (fill > 0) {
    canvas.PenOf(Surface::Buffer).color = color;
    canvas.FillSpans(mode < 0);
    canvas.ClearFillEdges();
  }
}

void TCadGroup::DrawDirection(TCanvas& canvas, std::int16_t mode) {
  if (!IsVisible()) return;
  const platform::Rgb color = GroupColor(canvas, colorIndex_);
  canvas.PenOf(Surface::Buffer).color = color;
  if (mode < 0) canvas.PenOf(Surface::Screen).color = color;
  const bool arrows = canvas.ShowArrows();
  const std::int16_t m = static_cast<std::int16_t>(std::abs(mode));
  ForEachMember([&](TCadObj& member) {
    const std::uint16_t saved = member.Flags();
    if (arrows && dynamic_cast<TCadGroup*>(member.Owner())) member.SetFlag(ofShowDir, true);
    member.DrawDirection(canvas, m);
    member.SetFlags(saved);
  });
}

std::int32_t TCadGroup::DrawAnimated(TCanvas& canvas, std::int32_t phase) {
  std::int32_t n = 0;
  ForEachMember([&](TCadObj& m) { n += m.DrawAnimated(canvas, phase); });
  return n;
}

double TCadGroup::WindingAngle(double x, double y) const {
  double sum = 0;
  ForEachMember([&](const TCadObj& m) { sum += m.WindingAngle(x, y); });
  return sum;
}

void TCadGroup::Mark() {
  TCadObj::Mark();
  ForEachMember([](TCadObj& m) { m.Mark(); });
}

void TCadGroup::Unmark() {
  TCadObj::Unmark();
  ForEachMember([](TCadObj& m) { m.Unmark(); });
}

void TCadGroup::ClearVisited() {
  TCadObj::ClearVisited();
  ForEachMember([](TCadObj& m) { m.ClearVisited(); });
}

void TCadGroup::LayerRemoved() {
  TCadObj::LayerRemoved();
  if (!referred_)
    for (TCadObj* m : members_) m->LayerRemoved();
}

double TCadGroup::DistanceTo(TPointD p) const {
  double best = FarValue;
  ForEachMember([&](const TCadObj& m) { best = std::min(best, m.DistanceTo(p)); });
  return best;
}

std::unique_ptr<TCadObj> TCadGroup::Clone() const {
  if (referred_) return nullptr;
  // Built free and given the owner last: the owner hears nothing about a
  // copy that is not its member.
  auto copy = std::make_unique<TCadGroup>(nullptr, colorIndex_, name_);
  copy->SetLayer(Layer());
  copy->SetFlags(Flags());
  copy->StorePoints(P1(), P2());
  copy->SetOwner(Owner());
  for (const TCadObj* m : members_) {
    std::unique_ptr<TCadObj> c = m->Clone();
    if (!c) continue;
    c->SetOwner(copy.get());
    copy->members_.Add(std::move(c));
  }
  return copy;
}

bool TCadGroup::InFrame(const TCanvas& frame, bool entirely) const {
  bool any = false, all = true;
  ForEachMember([&](const TCadObj& m) {
    const bool in = m.InFrame(frame, entirely);
    any = any || in;
    all = all && in;
  });
  return entirely ? (any && all) : any;
}

void TCadGroup::Transform(double dx, double dy, double factor) {
  ForEachMember([&](TCadObj& m) { m.Transform(dx, dy, factor); });
  RecalcExtents(false);
}

std::int32_t TCadGroup::ScaleXY(TCadGroup*, TMarkGroup* markGroup, double dx, double dy, double sx, double sy) {
  const TScaleXYReport r = ScaleXYMembers(false, markGroup, dx, dy, sx, sy);
  return r.notScaled > 0 ? NotAvailable : 0;
}

void TCadGroup::Move(double dx, double dy) {
  ForEachMember([&](TCadObj& m) { m.Move(dx, dy); });
  RecalcExtents(false);
}

void TCadGroup::Rotate(double cx, double cy, double angle) {
  ForEachMember([&](TCadObj& m) { m.Rotate(cx, cy, angle); });
  RecalcExtents(false);
}

void TCadGroup::Scale(double cx, double cy, double factor) {
  ForEachMember([&](TCadObj& m) { m.Scale(cx, cy, factor); });
  RecalcExtents(false);
}

void TCadGroup::Mirror(double x1, double y1, double x2, double y2) {
  ForEachMember([&](TCadObj& m) { m.Mirror(x1, y1, x2, y2); });
  RecalcExtents(false);
}

bool TCadGroup::ClassAccepts(const TCadObj& other) const { return dynamic_cast<const TCadGroup*>(&other) != nullptr; }

// ---------------------------------------------------------------------------
// TEditGroup
// ---------------------------------------------------------------------------

TEditGroup::TEditGroup(TCadObj* owner) : TCadGroup(owner, 15, "Animated") { ReferTo(&edited_); }

TEditGroup::~TEditGroup() { ClearEdited(); }

void TEditGroup::AddEdited(TCadObj* entity) {
  if (!entity) return;
  edited_.Add(entity);
  entity->SetFlag(ofPreview, true);
  const TBox e = entity->GetExtents(), g = GetExtents();
  if (e.Min.x < g.Min.x || e.Min.y < g.Min.y || e.Max.x > g.Max.x || e.Max.y > g.Max.y) RecalcExtents(false);
}

void TEditGroup::ClearEdited() {
  edited_.ForEach([](TCadObj& e) { e.SetFlag(ofPreview, false); });
  edited_.Clear();
  RecalcExtents(false);
}

bool TEditGroup::AllOfClass(const TCadObj& entity) const {
  bool all = true;
  edited_.ForEach([&](const TCadObj& e) { all = all && entity.ClassAccepts(e); });
  return all;
}

void TEditGroup::Tick(TCanvas& canvas) {
  phase_ = (phase_ + 1) % 6;
  canvas.RefreshFromBuffer();
  Pen& pen = canvas.PenOf(Surface::Screen);
  const platform::Rgb savedColor = pen.color;
  const PenStyle savedStyle = pen.style;
  const platform::Rgb bg = canvas.BackgroundColor(), gc = GroupColor(canvas, ColorIndex());
  pen.mode = PenMode::Xor;
  pen.color = {static_cast<std::uint8_t>(bg.r ^ gc.r), static_cast<std::uint8_t>(bg.g ^ gc.g),
               static_cast<std::uint8_t>(bg.b ^ gc.b)};
  pen.style = PenStyle::Dotted;
  edited_.ForEach([&](TCadObj& e) { e.DrawAnimated(canvas, phase_); });
  Pen& after = canvas.PenOf(Surface::Screen);
  after.color = savedColor;
  after.style = savedStyle;
  after.mode = PenMode::Copy;
}

// ---------------------------------------------------------------------------
// TMarkGroup
// ---------------------------------------------------------------------------

TMarkGroup::TMarkGroup(TCadObj* owner) : TCadGroup(owner, 15, "Marked") {
  ReferTo(&marked_);
  SetFlag(ofMarked, true);
}

TMarkGroup::~TMarkGroup() = default;

bool TMarkGroup::AddMarked(TCadObj* entity) { return marked_.Add(entity); }
bool TMarkGroup::RemoveMarked(const TCadObj* entity) { return marked_.Remove(entity); }

void TMarkGroup::ClearMarked() {
  marked_.Clear();
  RecalcExtents(false);
}

}  // namespace qm
