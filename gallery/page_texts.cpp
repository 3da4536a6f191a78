// Page 6: texts. Notes anchored at data coordinates beside a curve, with the axes'
// own title and labels, and a specimen of the characters the bitmap font draws.
#include <array>
#include <cmath>
#include <vector>

#include "gallery/pages.h"
#include "gallery/panels.h"

namespace gallery {

namespace {

using rizodozad::ZarIdor;

using rizodozad::pi;

// Two panels one above the other, with room under the upper one for its x label.
constexpr std::array<float, 4> upper_panel{0.13f, 0.55f, 0.775f, 0.36f};
constexpr std::array<float, 4> lower_panel{0.13f, 0.05f, 0.775f, 0.34f};

//-----------------------------------------------------------------------------
// [SECTION] A curve with notes
//-----------------------------------------------------------------------------

constexpr Limits time_range{0.0, 10.0};
constexpr Limits amplitude_range{-1.0, 1.2};
constexpr int curve_points = 200;
constexpr double decay_time = 3.0;
constexpr double angular_frequency = 2.0;
constexpr float curve_width = 1.5f;

double ringing(double t) { return std::exp(-t / decay_time) * std::cos(angular_frequency * t); }

void annotated_curve(ZarIdor& engine) {
    struct Note {
        double x;
        double y;
        const char* text;
    };
    constexpr std::array<Note, 3> notes{{{0.2, 1.05, "start: cos(0) = 1"},
                                         {pi / 2 + 0.15, -0.62, "first trough"},
                                         {5.0, 0.45, "the envelope exp(-t/3) decays"}}};

    engine.layer("notes");
    rizodozad::Axes* axes = panel(engine, 1, 1, 1, "Texts at data coordinates");
    engine.fix_limits(time_range, amplitude_range);
    if (axes != nullptr) {
        axes->position = upper_panel;
        axes->x_label = "time t (s)";
        axes->y_label = "amplitude";
    }

    const std::vector<double> t = rizodozad::linspace(time_range[0], time_range[1], curve_points);
    engine.plot(t, sampled(t, ringing));
    engine.set("b");
    engine.set_line_width(curve_width);
    engine.plot(t, sampled(t, [](double v) { return std::exp(-v / decay_time); }));
    engine.set("r");
    engine.set(":");
    for (const Note& note : notes)
        engine.text(note.x, note.y, note.text);
}

//-----------------------------------------------------------------------------
// [SECTION] The characters of the font
//-----------------------------------------------------------------------------

void specimen(ZarIdor& engine) {
    constexpr std::array<const char*, 5> lines{
        "Helvetica 12 on the screen, Arial 12 in the EPS export",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ",
        "abcdefghijklmnopqrstuvwxyz",
        "0123456789  + - * / = < > ( ) [ ] { } . , ; : ! ? % & # @ ~ ^ _ |",
        "Each line is one Text record anchored at its lower left corner.",
    };
    constexpr double left_margin = 0.3;
    constexpr double baseline_drop = 0.2; // centres the letters on their row
    constexpr Limits row_range{0.0, lines.size() + 1.0};

    engine.layer("characters");
    rizodozad::Axes* axes = panel(engine, 1, 1, 1, "The characters of the bitmap font");
    engine.fix_limits(time_range, row_range);
    if (axes != nullptr) {
        axes->position = lower_panel;
        axes->show_tick_labels = 0;
    }
    double row = lines.size();
    for (const char* line : lines) {
        engine.text(left_margin, row - baseline_drop, line);
        row -= 1.0;
    }
}

} // namespace

void compose_texts_page(ZarIdor& engine) {
    annotated_curve(engine);
    specimen(engine);
}

} // namespace gallery
