#pragma once

#include "optimize/DistanceMatrix.h"
#include "optimize/RunControl.h"
#include "optimize/UsableTrack.h"

namespace quorvanta {

// Moves the turnpoints found on the thinned track within a window of
// Trunc(2.5 * step) usable fixes on either side. The windows of inner loops
// follow every improvement, as a literal scan of the candidates does; whole
// groups of candidates are passed over only when a bound shows that none of
// them can beat the best length, which cannot change while none does.
class Refinement {
 public:
  Refinement(const UsableTrack& track, const DistanceMatrix& D, int step, RunControl& control);

  // Turnpoints are usable-fix numbers; `perimeter` is the exact perimeter of
  // the coarse triangle.
  void triangle(int& tp1, int& tp2, int& tp3, double perimeter, bool fai);

  void freeDistance(int& start, int& tp1, int& tp2, int& tp3, int& finish, double& length);

  int window() const { return w_; }

 private:
  const UsableTrack& track_;
  const DistanceMatrix& D_;
  int step_;
  int c_;
  int w_;
  RunControl& control_;
};

}  // namespace quorvanta
