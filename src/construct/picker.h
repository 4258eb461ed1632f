// Object picking. The hover picker finds the object under the mouse in the standard mode (with
// pixel tolerances and weights that favour free points over other points and points over lines
// and circles) and says whether it can be dragged; the selection picker keeps the candidate list
// of a command that waits for one object of a class and moves its highlight on clicks and keys.
// Both are pure: they read a Figure (and a View for pixels), and know nothing of input modes,
// drawing or the status bar. The session turns their answers into highlights and messages.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "draw/view.h"
#include "lang/translate.h"
#include "model/figure.h"

namespace kv {

// ---------------------------------------------------------------------------------------------
// Distances and weights

// The hover picker starts from this best distance (world units), far beyond any canvas.
constexpr double kPickNoDistance = 10000;
// Lines and circles count three times their distance, so a point near a line wins over it.
constexpr double kLineCircleWeight = 3;
// After lines and circles, the best distance is raised to at least this many pixels, so that a
// point within it wins over a line the mouse nearly touches.
constexpr double kPointOverLinePixels = 7;
// Nothing is under the mouse when the best weighted distance is this many pixels or more.
constexpr double kHoverTolerancePixels = 10;
// A draggable free point counts half its distance, a locked free point 0.7 of it.
constexpr double kFreePointWeight = 0.5;
constexpr double kLockedPointWeight = 0.7;

// Distances from the mouse position (x, y) to an object's drawn shape, in world units. They do
// not look at `valid`; IsPickable does.
//  - point: the distance to its position;
//  - circle: the distance to its circumference;
//  - line, by `lineType`: a straight line (0) the distance to its foot; a half-line from its
//    first point (2, 7) or from its second point (3) the distance to the foot while the foot
//    lies on the half-line, else to its starting point; a segment (1, 4, 5, 6) the distance to
//    the foot while the foot lies between the ends, else to the nearer end (the second end on
//    a tie). A line whose points coincide counts as the point they share.
double PointPickDistance(const PointRec& p, double x, double y);
double LinePickDistance(const LineRec& line, double x, double y);
double CirclePickDistance(const CircleRec& c, double x, double y);

// Whether a picker may find the object at all: it lies in its table, is defined and is drawn
// (colour not 0; for a line, a display type that is drawn). Undefined objects have no
// position to measure, and hidden ones cannot be seen, so neither is found under the mouse.
bool IsPickable(const Figure& fig, ObjRef ref);
// The distance from (x, y) to a point, line or circle; false for anything else.
bool ObjectPickDistance(const Figure& fig, ObjRef ref, double x, double y, double& distance);

// ---------------------------------------------------------------------------------------------
// Hover picker (standard mode)

enum class PointerShape { kArrow, kSizeAll };

struct HoverResult {
  ObjRef object;  // class 1 point, 2 line, 3 circle; {0, 0} when nothing is under the mouse
  bool draggable = false;
  PointerShape pointer = PointerShape::kArrow;  // size-all over a draggable object
  bool IsNothing() const { return object.index == 0; }
};

// What a press in the standard mode may drag: a point whose `free` is -1, or a line joining two
// points (`byTwoPoints`, kept by Figure::RefreshLineEnds) by its body when both of its points
// are draggable. Moving a line moves its two points, so a line through a constructed point
// would only jump back, and one through a locked point would break the lock.
bool IsDraggable(const Figure& fig, ObjRef ref);
// The points shown as markers to say what can be dragged (a press on empty canvas, the easy
// menu's redraw): the draggable points a picker can find, in index order. `out` is cleared
// and refilled, so that its capacity is reused.
void ListDraggablePoints(const Figure& fig, std::vector<ObjRef>& out);

// Full menu: lines and circles first, then points, in index order; equal weighted distances
// keep the object met first. Within 10/3 pixels for a line or circle, 10 for an ordinary
// point, 20 for a free point and about 14.3 for a locked one. Allocates nothing.
HoverResult HoverPick(const Figure& fig, const View& view, double x, double y);
// Easy menu: points only, free points at half their distance, within 10 pixels.
HoverResult HoverPickPoints(const Figure& fig, const View& view, double x, double y);
// The picker of the current menu mode.
inline HoverResult HoverPickFor(bool easyMenu, const Figure& fig, const View& view, double x,
                                double y) {
  return easyMenu ? HoverPickPoints(fig, view, x, y) : HoverPick(fig, view, x, y);
}

// The draggable object currently marked under the mouse. Each hover result is fed to Update,
// which says which mark to remove and which to draw; both are empty when nothing changes, so
// the session repaints only when the mouse moves onto or off a draggable object.
class HoverIndication {
 public:
  struct Change {
    ObjRef unmark;  // the mark to remove, or empty
    ObjRef mark;    // the object to mark, or empty
    bool Any() const { return unmark.index != 0 || mark.index != 0; }
  };
  Change Update(const HoverResult& result);
  // Forgets the mark (a new figure, leaving the standard mode); returns the one to remove.
  ObjRef Reset();
  ObjRef Indicated() const { return indicated_; }

 private:
  ObjRef indicated_;
};

// Status panel 11 while an object is under the mouse or highlighted: the class word ("変数",
// "点", "直線", "円"; untranslated) and the text the panel shows, the translated class word
// followed at once by the object's right-trimmed name. Empty for no object.
std::string_view PickClassWord(int cls);
std::string PickStatusText(const Figure& fig, ObjRef ref, const Translator& translate);

// ---------------------------------------------------------------------------------------------
// Selection picker (construction parents, the point to drag, the multi-point selection, the
// object to edit, the binding)

// Which objects a selection offers. Candidates are all objects 1..classCount of the class (or
// only the draggable points), in index order; of those, the ones that are excluded, undefined
// or (unless `offerHidden`) hidden cannot become current, by click or by key.
struct SelectionRules {
  int cls = kClassPoint;
  // Candidates are only the points whose `free` is -1 (the point to drag, the multi-point
  // selection, the point to bind).
  bool draggablePointsOnly = false;
  // Objects of the class that may not be chosen now: the parents already chosen for other
  // slots of the pending step, the polygon's vertices so far, the points already selected.
  std::vector<ObjRef> excluded;
  // 0 or more, for a line: only lines of this `lineType` may be chosen (a segment for L4).
  int requiredLineType = -1;
  // Hidden objects can be chosen too. The attribute editing and the binding target need this:
  // choosing a hidden object in the edit selection is the only way to show it again.
  bool offerHidden = false;
};

// Rules for parent slot `slot` of the pending step `step`: the slot's class (a pending number,
// class 100, is not picked here), every object of that class already given to another slot
// excluded, and the slot's required line type.
SelectionRules ParentRules(const Figure& fig, int32_t step, int slot, int requiredLineType);
// Rules for the next polygon vertex: all points except the vertices already chosen, by click
// as by key, so that a polygon's vertices are distinct.
SelectionRules VertexRules(std::span<const int32_t> chosenVertices);
// Rules for the point to drag (and the point to bind): the draggable points.
SelectionRules DraggableRules();
// Rules for the multi-point selection: the draggable points not yet selected.
SelectionRules MultiPointRules(std::span<const int32_t> selectedPoints);
// Rules for the object to edit or to bind to: every object of the class, hidden ones too.
SelectionRules EditRules(int cls);

enum class SelectionAction {
  kNone,     // nothing to do (a click or key with no candidate that can be chosen)
  kMoved,    // the highlight moved: unhighlight `previous`, highlight `current`
  kConfirm,  // `current` is chosen: unhighlight it and hand it to the caller
  kCancel,   // Esc or the right button: unhighlight `previous`; the caller cancels
};

struct SelectionStep {
  SelectionAction action = SelectionAction::kNone;
  ObjRef previous;  // the candidate highlighted before the event
  ObjRef current;   // the candidate highlighted (or chosen) after it
};

class SelectionPicker {
 public:
  // Lists the candidates of the rules and makes the first one that can be chosen current.
  // Returns false when the list is empty (the caller pops its selection mode); `Current()`
  // may still be empty when every candidate is excluded.
  bool Start(const Figure& fig, SelectionRules rules);
  // Forgets the list (after a confirmation or a cancel).
  void Clear();
  bool Active() const { return active_; }

  // A click: the nearest candidate that can be chosen, without a pixel tolerance (the first of
  // equal ones). A candidate other than the current one becomes current (kMoved); a click
  // whose nearest candidate already is current confirms it (kConfirm).
  SelectionStep Click(const Figure& fig, double x, double y);
  // Up: the previous candidate that can be chosen, from the first back round to the last.
  SelectionStep Previous(const Figure& fig);
  // Down: the next candidate that can be chosen, from the last round to the first.
  SelectionStep Next(const Figure& fig);
  // Enter: confirms the current candidate (kNone when there is none).
  SelectionStep Confirm(const Figure& fig);
  // Esc or the right button: the current candidate is dropped (kCancel, `previous` set).
  SelectionStep Cancel();
  // The multi-point selection after a point was added: the current candidate is excluded from
  // now on and the next one that can be chosen becomes current (kMoved); kNone with an empty
  // `current` when none remains.
  SelectionStep ExcludeCurrentAndAdvance(const Figure& fig);

  ObjRef Current() const;
  // 1-based position of the current candidate in the list; 0 when there is none.
  int32_t Cursor() const { return cursor_; }
  int32_t CandidateCount() const { return static_cast<int32_t>(candidates_.size()); }
  // The candidate at position 1..CandidateCount().
  ObjRef Candidate(int32_t position) const;
  // Whether the candidate at a position can become current now.
  bool CanChoose(const Figure& fig, int32_t position) const;
  const SelectionRules& Rules() const { return rules_; }

 private:
  SelectionStep Step(const Figure& fig, int direction);

  SelectionRules rules_;
  std::vector<int32_t> candidates_;    // object indices of class rules_.cls, in list order
  std::vector<uint8_t> excludedMark_;  // by object index: 1 when the rules exclude it
  int32_t cursor_ = 0;
  bool active_ = false;
};

}  // namespace kv
