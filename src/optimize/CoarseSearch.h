#pragma once

#include "optimize/DistanceMatrix.h"
#include "optimize/RunControl.h"

namespace quorvanta {

// The best routes on the thinned track, as thinned point numbers (0: none).
struct CoarseRoutes {
  int freeStart = 0, freeTp1 = 0, freeTp2 = 0, freeTp3 = 0, freeFinish = 0;
  int flatTp1 = 0, flatTp2 = 0, flatTp3 = 0;
  int faiTp1 = 0, faiTp2 = 0, faiTp3 = 0;
};

// The exhaustive search over every candidate (i, k, j) of the thinned track:
// free distance S-i-m-j-F, and flat and FAI triangles with their closing
// gaps. It returns exactly what scanning the candidates in the order i, j, k
// with strict improvements gives, but works pair by pair: the best middle
// point of each pair (i, j) comes from one max-plus pass over the matrix, and
// only pairs whose bound can still win are looked at in detail.
CoarseRoutes coarseSearch(const DistanceMatrix& D, RunControl& control);

}  // namespace quorvanta
