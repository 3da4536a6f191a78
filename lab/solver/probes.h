// Probes, as the last hook of the step: Ez and Hy at named cells after every step, and a
// running discrete Fourier transform of Ez over the scenario's frequency grid.
#pragma once

#include <complex>
#include <string>
#include <vector>

#include "lab/scenario/discretisation.h"
#include "lab/solver/step_hook.h"

namespace lab {

struct ProbeRecord {
    std::string name;
    int cell = 0;
    double ez = 0.0, hy = 0.0;      // after the latest step
    std::vector<double> ez_history; // one value per step, oldest first (when kept)
    std::vector<double> hy_history;
    // sum over steps of Ez(t) exp(-i 2 pi f t) dt, t the time Ez belongs to (V s / m)
    std::vector<std::complex<double>> ez_spectrum;
};

class Probes : public StepHook {
  public:
    Probes(const Scenario& scenario, const Discretisation& grid, bool keep_history);

    // Records the fields after step n (Ez at time (n + 1) dt).
    void after_e(FieldArrays& fields, int n) override;
    void clear() override;
    void keep_history(bool keep) { keep_history_ = keep; }
    bool keeps_history() const { return keep_history_; }

    const std::vector<ProbeRecord>& records() const { return records_; }
    const std::vector<double>& frequencies() const { return frequencies_hz_; }

  private:
    void advance_kernel(int n);

    std::vector<ProbeRecord> records_;
    std::vector<double> frequencies_hz_;
    std::vector<std::complex<double>> kernel_;   // exp(-i 2 pi f t) dt of step kernel_step_
    std::vector<std::complex<double>> rotation_; // exp(-i 2 pi f dt): the kernel's turn a step
    int kernel_step_ = -1;                       // none yet
    double dt_s_;
    bool keep_history_;
};

} // namespace lab
