#include "lab/view/line_page.h"

#include "lab/solver/field_energy.h"
#include "lab/view/outputs.h"

namespace lab::view {

// The tables are the line's own, so the page writes them; the other effects need the window.
Effect LinePage::command(Command command) {
    const Effect effect = session_.command(command);
    if (effect != Effect::write_csv) return effect;
    session_.say(write_tables(session_.experiment(), session_.histories()));
    return Effect::none;
}

Progress LinePage::progress() const {
    const Simulation& run = session_.run();
    return {run.step_count(), run.total_steps(), run.finished(), run.blow_up_message(),
            field_energy_j_per_m2(run)};
}

// Presses that miss the markers go to the engine's axes, which select and read off data.
bool LinePage::mouse(int button, int state, int x_px, int y_px) {
    if (button != rizodozad::mouse::left_button) return false;
    const PlotFrame frame = picture_.space_frame();
    const Scenario& s = session_.run().scenario();
    if (state == rizodozad::mouse::pressed) dragged_ = marker_at(s, frame, x_px, y_px);
    if (!dragged_) {
        picture_.axes_click(button, state, x_px, y_px);
        return true;
    }
    const int cell = cell_at(s, frame, x_px);
    if (state == rizodozad::mouse::pressed)
        picture_.show_dragged(dragged_, cell);
    else
        drop(*dragged_, cell);
    return true;
}

void LinePage::drop(MarkerId marker, int cell) {
    if (marker.is_source)
        session_.move_source(cell);
    else
        session_.move_probe(marker.probe, cell);
    picture_.show_dragged(std::nullopt, 0);
    dragged_.reset();
}

bool LinePage::drag(int x_px, int) {
    if (!dragged_) return false;
    picture_.show_dragged(dragged_,
                          cell_at(session_.run().scenario(), picture_.space_frame(), x_px));
    return true;
}

} // namespace lab::view
