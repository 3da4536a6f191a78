// The source, as a hook of the step: hard (sets Ez at its cell), soft (adds to it), or
// total-field/scattered-field (tfsf: a wave travelling right from its cell on, with nothing
// travelling left of it).
#pragma once

#include <memory>

#include "lab/scenario/discretisation.h"
#include "lab/solver/field_grid.h"

namespace lab {

class Source : public StepHook {
  public:
    // run_steps bounds how far the tfsf incident wave must travel without an echo.
    Source(const SourceSettings& settings, const Discretisation& grid, int run_steps);

    // The tfsf correction of Hy just left of the source cell.
    void after_h(FieldArrays& f, int n) override;
    // Drives the source cell once the Ez sweep of step n is done.
    void after_e(FieldArrays& f, int n) override;
    void clear() override;
    // The source cell, and for tfsf the Hy node left of it.
    std::optional<std::vector<CellRange>> reach() const override;

  private:
    SourceSettings settings_;
    double dt_s_;
    std::size_t cell_;
    // tfsf only: the incident wave, computed on a vacuum grid of the same dx and dt whose
    // node incident_offset lines up with the source cell.
    std::unique_ptr<FieldGrid> incident_;
};

} // namespace lab
