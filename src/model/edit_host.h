#pragma once
// The main window's side of Edit: it shows the edit dialog of the entity's
// class with the edit group as container. The model only declares it.
namespace qm {

class TCadLine;
class TCadArc;
class TCadCirc;
class TEditGroup;

class TEditHost {
 public:
  virtual ~TEditHost() = default;
  virtual void EditLine(TCadLine& line, TEditGroup& container) = 0;
  virtual void EditArc(TCadArc& arc, TEditGroup& container) = 0;
  virtual void EditCircle(TCadCirc& circle, TEditGroup& container) = 0;
};

}  // namespace qm
