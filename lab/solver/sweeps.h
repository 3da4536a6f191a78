// The two half steps of the leapfrog update on a range of nodes, span by span with each
// span's coefficients held in registers:
//   Hy[i] <- Hy[i] + db (Ez[i+1] - Ez[i]),   Ez[i] <- ca Ez[i] + cb (Hy[i] - Hy[i-1]).
// Every node is written from values no other node of the same half step writes, so a range
// may be swept in any order or split among threads with the same bits as one sweep.
#pragma once

#include "lab/solver/field_arrays.h"
#include "lab/solver/step_hook.h"

namespace lab {

// The nodes each half step updates: Hy up to the last Ez node, Ez between the end nodes,
// which the ends set.
inline CellRange hy_nodes(long cells) { return {0, cells - 1}; }
inline CellRange ez_nodes(long cells) { return {1, cells - 1}; }

void sweep_hy(FieldArrays& f, CellRange nodes); // Hy from n - 1/2 to n + 1/2
void sweep_ez(FieldArrays& f, CellRange nodes); // Ez from n to n + 1

// A whole step on hy_nodes, then Ez from ez_first (hy_nodes.first or the node after it) to the
// same end, in one pass that loads each value once: the same as sweep_hy then sweep_ez,
// provided no hook acts between them and Hy[ez_first - 1] is already at n + 1/2.
void sweep_step(FieldArrays& f, CellRange hy_nodes, long ez_first);

} // namespace lab
