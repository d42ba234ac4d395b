#include "model/object.h"

#include <utility>

#include "model/canvas.h"
#include "model/group.h"
#include "model/refs.h"

namespace qm {

// A drawing may hold a million entities, each in an index: the common
// record stays within one cache line (vtable, owner, two points, layer,
// flags, id, the chain of references).
static_assert(sizeof(TCadObj) <= 64, "keep the entity record compact");

ModelSettings& CurrentModelSettings() {
  static ModelSettings settings;
  return settings;
}

const char* ConstructMessage(std::int16_t code) {
  switch (code) {
    case construct::ObjectProblem: return construct_msg::ObjectProblem;
    case construct::CannotTrim: return construct_msg::CannotTrim;
    case construct::CannotBlend: return construct_msg::CannotBlend;
    case construct::CannotChamfer: return construct_msg::CannotChamfer;
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------
// References
// ---------------------------------------------------------------------------

void TRefNode::Link(TCadObj* target) {
  if (target == target_) return;
  Unlink();
  if (!target) return;
  target_ = target;
  next_ = target->refs_;
  if (next_) next_->prev_ = this;
  target->refs_ = this;
}

void TRefNode::Unlink() {
  if (!target_) return;
  if (prev_)
    prev_->next_ = next_;
  else
    target_->refs_ = next_;
  if (next_) next_->prev_ = prev_;
  prev_ = next_ = nullptr;
  target_ = nullptr;
}

TRefList::Node* TRefList::Find(const TCadObj* entity) const {
  if (!entity) return nullptr;
  for (const TRefNode* n = entity->FirstReference(); n; n = n->NextOnTarget())
    if (n->Holder() == this) return const_cast<Node*>(static_cast<const Node*>(n));
  return nullptr;
}

bool TRefList::Add(TCadObj* entity) {
  if (!entity || Find(entity)) return false;
  if (holes_ > 16 && holes_ * 2 > slots_.size()) Compact();
  Node* node;
  if (!free_.empty()) {
    node = free_.back();
    free_.pop_back();
  } else {
    node = &store_.emplace_back();
    node->list = this;
    node->SetHolder(this);
  }
  node->index = slots_.size();
  node->Link(entity);
  slots_.push_back(node);
  ++count_;
  return true;
}

bool TRefList::Remove(const TCadObj* entity) {
  Node* node = Find(entity);
  if (!node) return false;
  node->Unlink();
  Release(node);
  return true;
}

void TRefList::Release(Node* node) {
  slots_[node->index] = nullptr;
  --count_;
  ++holes_;
  free_.push_back(node);
}

void TRefList::Compact() {
  std::size_t out = 0;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (!slots_[i]) continue;
    slots_[out] = slots_[i];
    slots_[out]->index = out;
    ++out;
  }
  slots_.resize(out);
  holes_ = 0;
}

void TRefList::Clear() {
  for (Node* node : slots_)
    if (node) {
      node->Unlink();
      free_.push_back(node);
    }
  slots_.clear();
  count_ = 0;
  holes_ = 0;
}

std::vector<TCadObj*> TRefList::Items() const {
  std::vector<TCadObj*> out;
  out.reserve(count_);
  ForEach([&](TCadObj& e) { out.push_back(&e); });
  return out;
}

// ---------------------------------------------------------------------------
// TCadObj
// ---------------------------------------------------------------------------

std::int32_t TCadObj::NextId() {
  // A hostile drawing may carry the largest id; never overflow.
  if (idCounter_ < std::numeric_limits<std::int32_t>::max()) ++idCounter_;
  return idCounter_;
}

TCadObj::TCadObj(std::int16_t layer, TCadObj* owner, std::uint16_t flags, double x1, double y1, double x2,
                 double y2)
    : owner_(owner), p1_{x1, y1}, p2_{x2, y2}, layer_(layer), flags_(flags), id_(NextId()) {}

TCadObj::TCadObj(const TCadObj& other)
    : owner_(other.owner_),
      p1_(other.p1_),
      p2_(other.p2_),
      layer_(other.layer_),
      flags_(other.flags_),
      id_(NextId()) {}

TCadObj::~TCadObj() {
  while (refs_) {
    TRefNode* node = refs_;
    node->Unlink();
    node->TargetDied(this);
  }
}

void TCadObj::AdoptStoredId(std::int32_t id) {
  id_ = id;
  if (id > idCounter_) idCounter_ = id;
}

std::uint16_t TCadObj::FlagsForWriting() const {
  std::uint16_t f = flags_ & static_cast<std::uint16_t>(~ofInChar);
  if (owner_ && owner_->IsCharacter()) f |= ofInChar;
  return f;
}

void TCadObj::AdoptStoredFlags(std::uint16_t flags) {
  flags_ = flags & static_cast<std::uint16_t>(~ofInChar);
  if (flags & ofInChar) owner_ = nullptr;
}

TCadGroup* TCadObj::OwningGroup() const {
  if (!owner_) return nullptr;
  if (auto* g = dynamic_cast<TCadGroup*>(owner_)) return g;
  return dynamic_cast<TCadGroup*>(owner_->Owner());
}

void TCadObj::SetPoints(TPointD p1, TPointD p2) {
  p1_ = p1;
  p2_ = p2;
  Changed();
}

void TCadObj::SetLayer(std::int16_t layer) {
  if (layer == layer_) return;
  layer_ = layer;
  Changed(TChange::Layer);
}

void TCadObj::CopyHeaderTo(TCadObj& target) const {
  target.owner_ = owner_;
  target.layer_ = layer_;
  target.flags_ = flags_;
}

void TCadObj::MemberChanged(TCadObj& member, TChange change) {
  if (owner_) owner_->MemberChanged(member, change);
}

void TCadObj::PreparePen(TCanvas& canvas, std::int16_t mode) const {
  if (HasFlag(ofPreview)) return;
  const int width = (IsChainFwd() || IsChainBack()) ? 3 : 1;
  const PenStyle style = IsMarked() ? PenStyle::Dotted : PenStyle::Solid;
  Pen& buffer = canvas.PenOf(Surface::Buffer);
  buffer.width = width;
  buffer.style = style;
  if (mode < 0) {
    Pen& screen = canvas.PenOf(Surface::Screen);
    screen.width = width;
    screen.style = style;
  }
}

void DrawArrowhead(TCanvas& canvas, std::int16_t mode, bool highlighted, TPointD tip, double back, double pixels) {
  const double len = pixels * canvas.PixelSize();
  for (double a : {back + Pi / 8, back - Pi / 8})
    canvas.DrawLine(mode < 0, highlighted, tip, {tip.x + len * std::cos(a), tip.y + len * std::sin(a)});
}

// ---- the slots ---------------------------------------------------------------

std::int32_t TCadObj::ReadFrom(TDrawingReader&) { return NotAvailable; }
std::int32_t TCadObj::WriteTo(TDrawingWriter&) const { return NotAvailable; }
void TCadObj::DrawDirection(TCanvas&, std::int16_t) {}
void TCadObj::Draw(TCanvas& canvas, std::int16_t mode, std::int16_t) { PreparePen(canvas, mode); }
void TCadObj::DrawNow(TCanvas& canvas) { Draw(canvas, -666, 0); }
std::int32_t TCadObj::DrawAnimated(TCanvas&, std::int32_t) { return 0; }

void TCadObj::Reverse() {
  const bool fwd = IsChainFwd(), back = IsChainBack();
  SetFlag(ofChainFwd, back);
  SetFlag(ofChainBack, fwd);
  SetPoints(p2_, p1_);
}

double TCadObj::WindingAngle(double, double) const { return 0; }

void TCadObj::Mark() {
  flags_ |= ofMarked;
  if (owner_ && owner_->IsCharacter() && !owner_->IsVisited()) owner_->SpreadMark(true);
}

void TCadObj::Unmark() {
  flags_ &= static_cast<std::uint16_t>(~ofMarked);
  if (owner_ && owner_->IsCharacter() && !owner_->IsVisited()) owner_->SpreadMark(false);
}

bool TCadObj::IsMarked() const { return HasFlag(ofMarked); }
void TCadObj::Show() { SetFlag(ofVisible, true); }
void TCadObj::Hide() { SetFlag(ofVisible, false); }
bool TCadObj::IsVisible() const { return HasFlag(ofVisible); }
void TCadObj::SetChainFwd() { SetFlag(ofChainFwd, true); }
void TCadObj::ClearChainFwd() { SetFlag(ofChainFwd, false); }
bool TCadObj::IsChainFwd() const { return HasFlag(ofChainFwd); }
void TCadObj::SetChainBack() { SetFlag(ofChainBack, true); }
void TCadObj::ClearChainBack() { SetFlag(ofChainBack, false); }
bool TCadObj::IsChainBack() const { return HasFlag(ofChainBack); }
void TCadObj::SetVisited() { SetFlag(ofVisited, true); }
void TCadObj::ClearVisited() { SetFlag(ofVisited, false); }
bool TCadObj::IsVisited() const { return HasFlag(ofVisited); }

bool TCadObj::IsHighlighted() const { return IsVisible() && (IsMarked() || IsChainFwd() || IsChainBack()); }

bool TCadObj::MatchEnd(TPointD point, std::int16_t layer, TPointD& next, std::int16_t& endCode) const {
  if (IsChainFwd() || IsChainBack() || layer != layer_) return false;
  const double tol = CurrentModelSettings().chainTolerance;
  const TPointD start = GetStartPoint(), end = GetEndPoint();
  if (SamePoint(point, start, tol)) {
    endCode = 4;
    next = end;
    return true;
  }
  if (SamePoint(point, end, tol)) {
    endCode = 8;
    next = start;
    return true;
  }
  return false;
}

TPointD TCadObj::GetStartPoint() const { return p1_; }
TPointD TCadObj::GetEndPoint() const { return p2_; }
void TCadObj::SnapEnd(TPointD&) const {}
void TCadObj::SnapMid(TPointD&) const {}
TPointD TCadObj::SnapCenter() const { return MidPoint(p1_, p2_); }

bool TCadObj::Intersect(const TCadObj&, TMOptions& markers, TPointD&) const {
  markers.Clear();
  return false;
}

TConstructResult TCadObj::Construct(TClicks, TClicks, TExList<TCadObj>&, TPointD, TClicks, const TConstructInput&) {
  return TConstructResult::Refuse();
}

std::int32_t TCadObj::NormalFrom(TPointD, TSegment& s1, TSegment& s2) const {
  s1 = s2 = TSegment{};
  return 0;
}

bool TCadObj::GetArcData(TArcRec& arc) const {
  arc = TArcRec{};
  return false;
}

bool TCadObj::GetLineData(TSegment& seg) const {
  seg = TSegment{};
  return false;
}

void TCadObj::Edit(TEditHost&, TEditGroup&) {}
std::int16_t TCadObj::SplitBy(const TCadObj&, TExList<TCadObj>&) const { return 0; }
std::int16_t TCadObj::TrimPieces(const TCadObj&, TPointD, TExList<TCadObj>&) const { return construct::CannotTrim; }
std::int16_t TCadObj::ChamferLines(const TCadObj&, double, TExList<TCadObj>&) const {
  return construct::CannotChamfer;
}
bool TCadObj::SameAs(const TCadObj&) const { return false; }
void TCadObj::Assign(const TCadObj&) {}
void TCadObj::ExtendTo(const TCadObj&) {}
void TCadObj::TrimAt(const TCadObj&, const TCadObj&) {}
bool TCadObj::InFrame(const TCanvas&, bool) const { return false; }
void TCadObj::Transform(double, double, double) {}
std::int32_t TCadObj::ScaleXY(TCadGroup*, TMarkGroup*, double, double, double, double) { return NotAvailable; }
void TCadObj::Move(double, double) {}
void TCadObj::Rotate(double, double, double) {}
void TCadObj::Scale(double, double, double) {}
void TCadObj::Mirror(double, double, double, double) {}
std::int32_t TCadObj::ExportCommon(TCommonGroup&) const { return NotAvailable; }

void TCadObj::LayerRemoved() { SetLayer(static_cast<std::int16_t>(layer_ - 1)); }

bool TCadObj::IsOn(TPointD p, double tolerance) const { return DistanceTo(p) < tolerance; }
double TCadObj::DistanceAlong(std::int32_t, TPointD) const { return 0; }

double TCadObj::PointAtDistance(bool, std::int32_t which, double, TPointD& p) const {
  p = which >= 0 ? p1_ : p2_;
  return 0;
}

std::unique_ptr<TCadObj> TCadObj::BreakAt(TPointD) { return nullptr; }
std::unique_ptr<TCadObj> TCadObj::Overlap(const TCadObj&) const { return nullptr; }
void TCadObj::ProjectPoint(TPointD&) const {}
double TCadObj::Length() const { return Distance(p1_, p2_); }

}  // namespace qm
