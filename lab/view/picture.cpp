#include "lab/view/picture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "lab/analysis/run_warnings.h"
#include "lab/scenario/constants.h"
#include "lab/view/index_shading.h"
#include "lab/view/label_rows.h"
#include "lab/view/plot_data.h"
#include "lab/view/status_lines.h"

namespace lab::view {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Layout, in window fractions (left, bottom, width, height)
//-----------------------------------------------------------------------------

constexpr std::array<float, 4> space_position{0.07f, 0.55f, 0.9f, 0.32f};
constexpr std::array<float, 4> time_position_alone{0.07f, 0.08f, 0.9f, 0.36f};
constexpr std::array<float, 4> time_position_beside{0.07f, 0.08f, 0.39f, 0.36f};
constexpr std::array<float, 4> spectra_position{0.57f, 0.08f, 0.4f, 0.36f};
constexpr std::array<float, 4> whole_window{0.0f, 0.0f, 1.0f, 1.0f};
constexpr double plots_top = 0.9;     // the plots' room reaches this high, the status above
constexpr double status_share = 0.25; // of the window's height, at most, for status lines
// Pixels at the font's own size, multiplied by the text scale where they are used.
constexpr double status_left_px = 8; // the status line and the lines below it
constexpr double status_from_top_px = 16;
constexpr double status_pitch_px = 18; // from one of those lines to the next
constexpr double label_inset_px = 2;   // between a label and the frame it stands in
// Labels are spaced as at least this wide per character (the font's common lower-case
// letters and digits), the spacing the view has always had, and wider where the font
// makes them wider.
constexpr double label_least_char_px = 7;
constexpr double help_left = 0.2, help_right = 0.8, help_top = 0.85, help_bottom = 0.2;
constexpr double help_line_height = 0.03;
constexpr double help_key_column = 0.1; // from help_left to the meanings
// Larger text, or a narrow window, widens the help's rows and key column beyond the
// fractions above to these pixel sizes (at text scale 1) so that neither runs into the next.
constexpr double help_row_px = 16;
constexpr double help_column_gap_px = 10;
constexpr double help_lowest_bottom = 0.02;

constexpr double headroom = 1.1;     // the y range reaches 10% beyond the peak so far
constexpr double least_field = 1e-3; // V/m: the smallest half range of the field plots
constexpr double spectrum_top = 1.1; // R and T lie in 0..1
constexpr double label_height = 0.9; // where region labels sit, as a fraction of the range,
                                     // unless that leaves them too little room below the top

constexpr int max_label_rows = 3;
constexpr int index_bar_entries = 64; // steps of the index scale beside the space plot
const rizodozad::Rgb pml_shade{0.85f, 0.85f, 0.85f};
const rizodozad::Rgb band_shade{0.88f, 1.0f, 0.88f};
const rizodozad::Rgb help_background{1.0f, 1.0f, 0.95f};

const char* const probe_colours[] = {"m", "dg", "dc", "dy", "dm", "k"};

rizodozad::Colormap as_colormap(const std::vector<Shade>& shades) {
    return rizodozad::Colormap(shades.begin(), shades.end());
}

// A new axes, current from here on, at a fixed place in the window.
rizodozad::Axes* place(rizodozad::ZarIdor& engine, const std::array<float, 4>& position) {
    engine.create_axes();
    rizodozad::Axes* axes = engine.current_axes();
    if (axes != nullptr) axes->position = position;
    return axes;
}

std::array<double, 2> symmetric(double peak) {
    const double half = std::max(peak * headroom, least_field);
    return {-half, half};
}

rizodozad::Matrix rectangles_x(const std::vector<Span>& spans) {
    rizodozad::Matrix x;
    for (const Span& s : spans)
        x.push_back({s.from, s.to, s.to, s.from});
    return x;
}

rizodozad::Matrix rectangles_y(std::size_t count, const std::array<double, 2>& y) {
    return rizodozad::Matrix(count, {y[0], y[0], y[1], y[1]});
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] The whole picture
//-----------------------------------------------------------------------------

void Picture::compose_figure() {
    follow_restarts();
    layer("lab");
    plots_squeeze_ = 1;
    if (status_shown) compose_status(); // first: the plots make room for its lines
    compose_space();
    compose_time();
    if (session_.experiment().has_spectra()) compose_spectra();
    if (session_.help_shown()) compose_help();
}

void Picture::follow_restarts() {
    const Simulation& run = session_.run();
    if (run.step_count() < last_step_seen_) field_peak_ = 0.0;
    last_step_seen_ = run.step_count();
    field_peak_ =
        std::max({field_peak_, largest_magnitude(run.ez()), eta0 * largest_magnitude(run.hy())});
    // Frames of many steps skip values: the histories take the peak at every step.
    probe_peak_ = session_.histories().ez_peak();
}

//-----------------------------------------------------------------------------
// [SECTION] Space: Ez and eta0 Hy, materials, pml, source and probes
//-----------------------------------------------------------------------------

void Picture::compose_space() {
    const Simulation& run = session_.run();
    const Scenario& s = run.scenario();
    const double dx = s.grid.cell_size_m;
    rizodozad::Axes* axes = place(*this, below_status(space_position));
    if (axes == nullptr) return;
    const std::array<double, 2> y_lim = symmetric(field_peak_);
    fix_limits({cell_left_mm(0, dx), cell_right_mm(s.grid.cells - 1, dx)}, y_lim);
    space_axes_ = axes->handle;
    axes->title = "Fields over x";
    axes->x_label = "x (mm)";
    axes->y_label = "V/m";

    compose_space_regions(y_lim);
    compose_index_bar();
    if (ez_x_mm_.size() != run.ez().size() || positions_dx_m_ != dx) {
        ez_x_mm_ = ez_positions_mm(s.grid.cells, dx);
        hy_x_mm_ = hy_positions_mm(s.grid.cells, dx);
        positions_dx_m_ = dx;
    }
    scale_by_impedance(run.hy(), eta0_hy_);
    plot_kept(ez_x_mm_, run.ez());
    set("r");
    plot_kept(hy_x_mm_, eta0_hy_);
    set("b");
    compose_markers(y_lim);
    std::vector<std::string> names{"Ez", "eta0*Hy", "source"};
    for (const Probe& probe : s.probes)
        names.push_back(probe.name);
    legend(names);
}

void Picture::compose_space_regions(const std::array<double, 2>& y_lim) {
    const Scenario& s = session_.run().scenario();
    const bool materials = session_.run().materials_on();
    const std::vector<Span> layers = materials ? layer_spans(s) : std::vector<Span>{};
    const std::vector<Span> pmls = pml_spans(s);
    for (const auto& [spans, shades] :
         {std::pair{layers, as_colormap(layer_shades(s))},
          std::pair{pmls, rizodozad::Colormap(pmls.size(), pml_shade)}}) {
        if (spans.empty()) continue;
        const int shaded = patch(rectangles_x(spans), rectangles_y(spans.size(), y_lim), shades);
        set(shaded, "EdgeColor", "none");
    }
    std::vector<Span> labelled = layers;
    labelled.insert(labelled.end(), pmls.begin(), pmls.end());
    std::vector<double> x_mm;
    std::vector<std::string> texts;
    for (const Span& span : labelled) {
        x_mm.push_back(span.from);
        texts.push_back(span.label);
    }
    const PlotScale scale = space_scale(y_lim);
    const PlacedLabels placed = place_labels(scale, x_mm, texts);
    const double top_y = y_lim[0] + top_label_fraction(scale) * (y_lim[1] - y_lim[0]);
    const double row_px = label_row_px * text_scale();
    for (std::size_t i = 0; i < labelled.size(); ++i)
        if (placed.rows[i])
            text(placed.x_mm[i], top_y - *placed.rows[i] * row_px * scale.y_per_px, texts[i]);
}

// The shading's scale beside the space plot, from n = 1 to the largest index.
void Picture::compose_index_bar() {
    const Scenario& s = session_.run().scenario();
    rizodozad::Axes* axes = current_axes();
    if (!session_.run().materials_on() || !index_bar_shown(s) || axes == nullptr) return;
    const double largest = largest_index(s);
    axes->c_lim = {1.0, largest};
    axes->x_label = "x (mm); layers shaded by their index n, scale at right";
    set_colormap_entries(as_colormap(index_scale(largest, index_bar_entries)));
    colorbar();
}

// The frame where the last layout put the space plot (the current axes while it is
// composed; kept, since an allocation pass composes on fresh records): the composed place
// only gives the room around it, and label rows spaced in the room's pixels come closer
// than their height in the frame's.
Picture::PlotScale Picture::space_scale(const std::array<double, 2>& y_lim) {
    const double dx = session_.run().scenario().grid.cell_size_m;
    const double left_mm = cell_left_mm(0, dx);
    const double right_mm = cell_right_mm(session_.run().scenario().grid.cells - 1, dx);
    const rizodozad::Axes* axes = current_axes();
    if (axes != nullptr && axes->tidy_position[2] > 0 && axes->tidy_position[3] > 0)
        laid_out_space_ = axes->tidy_position;
    const std::array<float, 4> frame =
        laid_out_space_[2] > 0 ? laid_out_space_ : below_status(space_position);
    const double width_px = frame[2] * window_width;
    const double height_px = frame[3] * window_height;
    return {left_mm, width_px / (right_mm - left_mm), (y_lim[1] - y_lim[0]) / height_px, width_px,
            height_px};
}

// Where the region labels' first baseline stands, as a fraction of the y range: a tenth
// below the frame's top, or lower when a tenth would not hold the text.
double Picture::top_label_fraction(const PlotScale& scale) const {
    const double least_px = text_extent_px("").ascent + label_inset_px * text_scale();
    return std::min(label_height, 1 - least_px / scale.height_px);
}

// Each label's row, the rows on top and at the bottom kept from reaching each other, and
// where it is written: at its own x, or moved left as far as it must to end inside the
// frame; a label wider than the frame is left out.
Picture::PlacedLabels Picture::place_labels(const PlotScale& scale, const std::vector<double>& x_mm,
                                            const std::vector<std::string>& texts) const {
    const double factor = text_scale();
    const rizodozad::TextExtentPx font = text_extent_px("");
    const int max_rows =
        label_rows_per_edge(scale.height_px, (1 - top_label_fraction(scale)) * scale.height_px,
                            label_row_px * factor, font.ascent + font.descent, max_label_rows);
    PlacedLabels placed{x_mm, {}};
    std::vector<LabelSpot> spots;
    std::vector<std::size_t> fitting; // labels narrower than the frame, as spots
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const double width_px =
            std::max(text_extent_px(texts[i]).width,
                     label_least_char_px * factor * static_cast<double>(texts[i].size()));
        const double last_left_px = scale.width_px - label_inset_px * factor - width_px;
        if (last_left_px < 0) continue;
        double left_px = scale.px_of_mm(x_mm[i]);
        if (left_px > last_left_px) {
            left_px = last_left_px;
            placed.x_mm[i] = scale.left_mm + left_px / scale.px_per_mm;
        }
        spots.push_back({left_px, texts[i], width_px});
        fitting.push_back(i);
    }
    const std::vector<std::optional<int>> rows = label_rows(spots, max_rows, label_gap_px * factor);
    placed.rows.resize(texts.size());
    for (std::size_t k = 0; k < fitting.size(); ++k)
        placed.rows[fitting[k]] = rows[k];
    return placed;
}

int Picture::marker_cell(MarkerId marker) const {
    if (dragged_ && dragged_->is_source == marker.is_source && dragged_->probe == marker.probe)
        return dragged_cell_;
    const Scenario& s = session_.run().scenario();
    return marker.is_source ? s.source.cell : s.probes[marker.probe].cell;
}

void Picture::compose_markers(const std::array<double, 2>& y_lim) {
    const Scenario& s = session_.run().scenario();
    const double dx_mm = s.grid.cell_size_m * mm_per_m;
    std::vector<MarkerId> ids{MarkerId{true, 0}};
    std::vector<std::string> names{"source"};
    for (std::size_t k = 0; k < s.probes.size(); ++k) {
        ids.push_back(MarkerId{false, k});
        names.push_back(s.probes[k].name);
    }
    std::vector<double> x_mm;
    for (const MarkerId& id : ids)
        x_mm.push_back(marker_cell(id) * dx_mm);
    const PlotScale scale = space_scale(y_lim);
    const PlacedLabels placed = place_labels(scale, x_mm, names);
    const double row_px = label_row_px * text_scale();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        plot({x_mm[i], x_mm[i]}, {y_lim[0], y_lim[1]});
        set(ids[i].is_source ? "k" : probe_colours[ids[i].probe % std::size(probe_colours)]);
        set("- -");
        if (placed.rows[i])
            text(placed.x_mm[i], y_lim[0] + *placed.rows[i] * row_px * scale.y_per_px, names[i]);
    }
}

// A plot's place with the plots' room squeezed below the status lines.
std::array<float, 4> Picture::below_status(const std::array<float, 4>& position) const {
    const auto squeeze = static_cast<float>(plots_squeeze_);
    return {position[0], position[1] * squeeze, position[2], position[3] * squeeze};
}

PlotFrame Picture::space_frame() const {
    const Scenario& s = session_.run().scenario();
    const double dx = s.grid.cell_size_m;
    const double x_min = cell_left_mm(0, dx), x_max = cell_right_mm(s.grid.cells - 1, dx);
    // Where the last layout put the plot; the composed place until one was drawn.
    if (const auto f = axes_frame_px(space_axes_))
        return {f->left, f->right, f->top, f->bottom, x_min, x_max};
    const double w = window_width, h = window_height;
    const std::array<float, 4> p = below_status(space_position);
    return {p[0] * w, (p[0] + p[2]) * w, (1 - p[1] - p[3]) * h, (1 - p[1]) * h, x_min, x_max};
}

void Picture::show_dragged(std::optional<MarkerId> marker, int cell) {
    dragged_ = marker;
    dragged_cell_ = cell;
}

//-----------------------------------------------------------------------------
// [SECTION] Time: each probe's Ez
//-----------------------------------------------------------------------------

void Picture::compose_time() {
    const Simulation& run = session_.run();
    const bool beside = session_.experiment().has_spectra();
    rizodozad::Axes* axes =
        place(*this, below_status(beside ? time_position_beside : time_position_alone));
    if (axes == nullptr) return;
    fix_limits({0.0, run.total_steps() * run.dt_s() * ps_per_s}, symmetric(probe_peak_));
    axes->title = "Ez at the probes";
    axes->x_label = "t (ps)";
    axes->y_label = "V/m";

    const ProbeHistories& histories = session_.histories();
    if (histories.whole()) extend_times_ps(times_ps_, run.step_count(), run.dt_s());
    overviews_.resize(histories.probes());
    const std::vector<ProbeRecord>& probes = run.probes();
    std::vector<std::string> names;
    for (std::size_t k = 0; k < probes.size() && k < histories.probes(); ++k) {
        if (histories.whole()) {
            plot_kept(times_ps_, histories.ez(k));
        } else {
            // Beyond the exact part, the run's overview: its buckets are far finer than
            // the plot's pixel columns.
            Curve& overview = overviews_[k];
            histories.overview(k).points(overview.x, overview.y);
            for (double& x : overview.x)
                x = (x + 1) * run.dt_s() * ps_per_s; // step n's Ez belongs to (n + 1) dt
            plot_kept(overview.x, overview.y);
        }
        set(probe_colours[k % std::size(probe_colours)]);
        names.push_back(probes[k].name);
    }
    legend(names);
}

//-----------------------------------------------------------------------------
// [SECTION] Spectra: R and T against theory
//-----------------------------------------------------------------------------

void Picture::compose_spectra() {
    const Spectra spectra = session_.experiment().spectra();
    const SpectrumSettings& band = *session_.run().scenario().spectrum;
    rizodozad::Axes* axes = place(*this, below_status(spectra_position));
    if (axes == nullptr) return;
    const std::array<double, 2> x_lim{band.f_min_hz * ghz_per_hz, band.f_max_hz * ghz_per_hz};
    fix_limits(x_lim, {0.0, spectrum_top});
    axes->title = "Reflectance and transmittance";
    axes->x_label = "f (GHz)";

    const double resolved_top =
        std::min(frequency_resolved_by(session_.run().scenario(), resolved_cells_per_wavelength) *
                     ghz_per_hz,
                 x_lim[1]);
    if (resolved_top > x_lim[0]) {
        const int shaded =
            patch(rectangles_x({{x_lim[0], resolved_top, ""}}),
                  rectangles_y(1, {0.0, spectrum_top}), rizodozad::Colormap{band_shade});
        set(shaded, "EdgeColor", "none");
        // Said under the axis rather than inside, where the legend may come to lie over it.
        axes->x_label = "f (GHz); shaded: >= 20 cells per wavelength";
    }
    std::vector<std::string> names;
    if (spectra.theory) {
        names = {"R theory", "T theory"};
        std::vector<double> r, t;
        for (const Reflection& theory : *spectra.theory) {
            r.push_back(theory.R);
            t.push_back(theory.T);
        }
        for (const auto& [values, colour] : {std::pair{r, "dr"}, std::pair{t, "db"}}) {
            const Curve c = spectrum_curve(spectra.frequency_hz, values);
            plot(c.x, c.y);
            set(colour);
            set("- -");
        }
    }
    for (const auto& [values, colour] : {std::pair{spectra.R, "r"}, std::pair{spectra.T, "b"}}) {
        const Curve c = spectrum_curve(spectra.frequency_hz, values);
        plot(c.x, c.y);
        set(colour);
    }
    names.insert(names.end(), {"R", "T"});
    legend(names);
}

//-----------------------------------------------------------------------------
// [SECTION] Status line, message and help
//-----------------------------------------------------------------------------

// The status line, the news and the warning, each broken to the window's width, as many
// lines as the status's share of the window holds; the plots move down when the lines
// reach below the room above them.
void Picture::compose_status() {
    std::vector<std::string> texts{
        status_line(session_.run(), session_.steps_per_frame(), session_.running())};
    if (!session_.message().empty()) texts.push_back(session_.message());
    if (const std::optional<std::string> warning =
            first_warning(session_.experiment(), &session_.energy_watch()))
        texts.push_back("warning: " + *warning);
    const double factor = text_scale();
    const double left_px = status_left_px * factor;
    const double max_px = window_width - 2 * left_px;
    const auto width_of = [this](const std::string& t) { return text_extent_px(t).width; };
    std::vector<std::string> lines;
    for (const std::string& t : texts)
        for (std::string& line : broken_lines(t, max_px, width_of))
            lines.push_back(std::move(line));
    const double most = std::floor(status_share * window_height / (status_pitch_px * factor));
    lines = first_lines(lines, static_cast<std::size_t>(std::max(1.0, most)), max_px, width_of);
    double from_top_px = status_from_top_px * factor;
    for (const std::string& line : lines) {
        figure_text(static_cast<float>(left_px), static_cast<float>(window_height - from_top_px),
                    line);
        from_top_px += status_pitch_px * factor;
    }
    const rizodozad::TextExtentPx font = text_extent_px("");
    const double block_px =
        from_top_px - status_pitch_px * factor + font.descent + label_inset_px * factor;
    // Squeezed, the plots leave room as well for a tick label that stands half above a
    // plot whose title gave way to a small window.
    if (window_height > 0 && block_px > (1 - plots_top) * window_height)
        plots_squeeze_ = (1 - (block_px + font.ascent) / window_height) / plots_top;
}

// The help's lines as laid out: each key with its meaning broken to the box's width.
struct HelpRow {
    std::string keys; // "" on a meaning's later lines
    std::string meaning;
};

// The help lies over everything in an axes of its own, without a frame. Its box and rows are
// fractions of the window at scale 1 in a large window; larger text or a narrow window
// widens the box to the window, breaks long meanings and grows the rows to the text.
void Picture::compose_help() {
    rizodozad::Axes* axes = place(*this, whole_window);
    if (axes == nullptr || window_width <= 0 || window_height <= 0) return;
    fix_limits({0.0, 1.0}, {0.0, 1.0});
    axes->box = 0;
    const auto width_of = [this](const std::string& t) { return text_extent_px(t).width; };
    const std::vector<KeyHelp>& keys = line_key_help();
    double key_column = help_key_column;
    double widest_meaning_px = 0;
    for (const KeyHelp& key : keys) {
        key_column = std::max(key_column, help_line_height + (width_of(key.keys) +
                                                              help_column_gap_px * text_scale()) /
                                                                 window_width);
        widest_meaning_px = std::max(widest_meaning_px, width_of(key.meaning));
    }
    const double margin = help_column_gap_px * text_scale() / window_width;
    const bool roomy =
        key_column + (widest_meaning_px / window_width) + margin <= help_right - help_left;
    const double left = roomy ? help_left : margin;
    const double right = roomy ? help_right : 1 - margin;
    std::vector<HelpRow> rows;
    for (const KeyHelp& key : keys) {
        const double meaning_px = (right - left - key_column - margin) * window_width;
        std::string first_keys = key.keys;
        for (std::string& line : broken_lines(key.meaning, meaning_px, width_of))
            rows.push_back({std::exchange(first_keys, ""), std::move(line)});
    }
    draw_help(rows, left, right, key_column);
}

void Picture::draw_help(const std::vector<HelpRow>& rows, double left, double right,
                        double key_column) {
    const double row = std::max(help_line_height, help_row_px * text_scale() / window_height);
    const double rows_below_top = static_cast<double>(rows.size()) + 2.5;
    const double bottom =
        std::max(help_lowest_bottom, std::min(help_bottom, help_top - rows_below_top * row));
    const int background =
        patch(rectangles_x({{left, right, ""}}), rectangles_y(1, {bottom, help_top}),
              rizodozad::Colormap{help_background});
    set(background, "EdgeColor", "k");
    double y = help_top - 1.5 * row;
    text(left + help_line_height, y, "Keys (h hides this help)");
    for (const HelpRow& r : rows) {
        y -= row;
        if (!r.keys.empty()) text(left + help_line_height, y, r.keys);
        text(left + key_column, y, r.meaning);
    }
}

} // namespace lab::view
