// The source: hard (sets Ez at its cell), soft (adds to it), or total-field/scattered-field
// (tfsf: a wave travelling right from its cell on, with nothing travelling left of it).
#pragma once

#include <memory>

#include "lab/solver/field_grid.h"
#include "lab/scenario/scenario.h"

namespace lab {

class Source {
  public:
    Source(const Scenario& scenario);

    // After the Hy sweep: the tfsf correction of Hy just left of the source cell.
    void after_h(FieldGrid& grid);
    // After the Ez sweep of step n: drive the source cell.
    void after_e(FieldGrid& grid, int n);
    void clear();

  private:
    SourceSettings settings_;
    double dt_s_;
    std::size_t cell_;
    // tfsf only: the incident wave, computed on a vacuum grid of the same dx and dt whose
    // node incident_offset lines up with the source cell.
    std::unique_ptr<FieldGrid> incident_;
};

} // namespace lab
