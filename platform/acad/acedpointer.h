// What the editor is waiting for from the drawing window's pointer, so that a
// drawing window on a display can answer it as a person expects: a point
// (with a rubber line from a base point), a corner (with a rubber rectangle),
// objects (a pick box, or a window or crossing drawn by dragging), or the
// pointer itself (acedGrRead). Without a display nobody looks at it.
#pragma once

namespace acad {

enum class PointerWants { kNothing, kPoint, kCorner, kSelection, kTracking };

struct PointerRequest {
  PointerWants wants = PointerWants::kNothing;
  bool hasBase = false;
  double base[3] = {0, 0, 0};  // user coordinates, as prompts take points
  bool drags = false;          // kTracking: the caller wants pointer moves
};

// The request of the innermost prompt waiting now.
const PointerRequest& CurrentPointerRequest();

// Sets the request for the life of a prompt and puts back the one before.
class PointerRequestScope {
 public:
  explicit PointerRequestScope(PointerWants wants, const double* base = nullptr, bool drags = false);
  ~PointerRequestScope();
  PointerRequestScope(const PointerRequestScope&) = delete;
  PointerRequestScope& operator=(const PointerRequestScope&) = delete;

 private:
  PointerRequest m_saved;
};

}  // namespace acad
