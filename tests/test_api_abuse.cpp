// Randomised abuse of the engine's public operations: random compositions of every create
// call and creator with odd arguments and data, replayed in every pass, each followed by a
// display cycle and now and then an export to memory. A fixed seed makes a run repeatable;
// RIZODOZAD_ABUSE_CALLS asks for a longer run, RIZODOZAD_ABUSE_SEED for another sequence.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "rizodozad/core/engine.h"
#include "rizodozad/test_hooks.h"
#include "tests/support/gl_fixture.h"

namespace {

using rizodozad::Colormap;
using rizodozad::Matrix;

constexpr long default_call_budget = 60000;
constexpr unsigned default_seed = 20240917u;
constexpr int max_script_length = 40;
constexpr int cycles_per_round = 4;
constexpr int long_vector = 3000; // points of the occasional long line
constexpr int max_matrix_side = 12;

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

//-----------------------------------------------------------------------------
// [SECTION] Random arguments
//-----------------------------------------------------------------------------

class Dice {
  public:
    explicit Dice(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    double uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }
    template <class T> const T& pick(const std::vector<T>& from) {
        return from[static_cast<std::size_t>(below(static_cast<int>(from.size())))];
    }

    // Mostly ordinary values, with zeros, extremes, NaN and infinities mixed in.
    double value() {
        static const std::vector<double> odd{0.0,
                                             -0.0,
                                             1.0,
                                             -1.0,
                                             1e-300,
                                             1e300,
                                             -1e300,
                                             std::numeric_limits<double>::max(),
                                             std::numeric_limits<double>::lowest(),
                                             std::numeric_limits<double>::denorm_min(),
                                             nan,
                                             inf,
                                             -inf};
        if (chance(0.85)) return uniform(-10, 10);
        return pick(odd);
    }

    int integer() {
        static const std::vector<int> odd{0, 1, 2, 3, -1, -7, 100, 1000000, INT_MIN, INT_MAX};
        return chance(0.6) ? below(7) - 1 : pick(odd);
    }

    std::vector<double> vector() {
        int n = below(12);
        if (chance(0.1)) n = 0;
        if (chance(0.03)) n = long_vector;
        std::vector<double> v(static_cast<std::size_t>(n));
        const bool constant = chance(0.1);
        const double base = value();
        for (double& x : v)
            x = constant ? base : value();
        return v;
    }

    // Rows of equal length mostly; ragged, empty and single rows now and then.
    Matrix matrix() {
        const int rows = chance(0.1) ? 0 : 1 + below(max_matrix_side);
        const int columns = 1 + below(max_matrix_side);
        Matrix m(static_cast<std::size_t>(rows));
        for (auto& row : m) {
            const int n = chance(0.1) ? below(max_matrix_side + 1) : columns;
            row.resize(static_cast<std::size_t>(n));
            for (double& x : row)
                x = chance(0.9) ? uniform(-5, 5) : value();
        }
        return m;
    }

    Colormap colors() {
        Colormap c(static_cast<std::size_t>(below(6)));
        for (auto& rgb : c)
            for (float& channel : rgb)
                channel =
                    chance(0.9) ? static_cast<float>(uniform(0, 1)) : static_cast<float>(value());
        return c;
    }

    // Valid style tokens and colour names, and strings that are not.
    std::string token() {
        static const std::vector<std::string> tokens{
            "k",  "r",   "b",    "g",  "ubr",  "dy",   "-",   "- -",  ":",       "-.",
            ".",  "o",   "x",    "|",  "none", "flat", "",    "R",    "rr",      "--",
            "in", "out", "%s%n", "\n", "\xff", "Jet",  "Hot", "Gray", "nonsense"};
        if (chance(0.02)) return std::string(500, 'x');
        return pick(tokens);
    }

    std::string key() {
        static const std::vector<std::string> keys{"Color",
                                                   "COLOR",
                                                   "Marker",
                                                   "LineStyle",
                                                   "MarkerEdgeColor",
                                                   "MarkerFaceColor",
                                                   "EdgeColor",
                                                   "FaceColor",
                                                   "TickDir",
                                                   "color",
                                                   "",
                                                   "LineWidth",
                                                   "XLim"};
        return pick(keys);
    }

    std::string colormap_name() {
        static const std::vector<std::string> names{"Jet",    "HSV",    "Hot",    "Cool",   "Gray",
                                                    "Spring", "Summer", "Autumn", "Winter", "Bone",
                                                    "jet",    "",       "Parula"};
        return pick(names);
    }

    // Handles of every kind and index, and ones that name nothing.
    int handle(int last_handle) {
        static const std::vector<int> odd{
            0,       -1,      -101,
            -3,      99,      100,
            INT_MIN, INT_MAX, rizodozad::make_handle(1000000, rizodozad::kind::line)};
        if (chance(0.3)) return last_handle;
        if (chance(0.6)) return rizodozad::make_handle(below(12), below(10));
        return pick(odd);
    }

  private:
    std::mt19937 rng_;
};

//-----------------------------------------------------------------------------
// [SECTION] A composition as recorded calls
//-----------------------------------------------------------------------------

enum class Op {
    create_figure,
    create_layer,
    create_axes,
    create_line,
    create_surface,
    create_patch,
    create_text,
    layer,
    subplot,
    plot,
    plot_y,
    line,
    surface_of_z,
    surface,
    mesh,
    surf,
    contour,
    patch_2d,
    patch_3d,
    text,
    colorbar,
    set_style,
    set_property,
    set_colormap,
    axes_limits,
    axes_scales,
    axes_type,
    axes_view,
    axes_ticks,
    axes_looks,
    axes_position,
    layer_visibility,
    line_looks,
    surface_looks,
    count
};

struct Call {
    Op op = Op::create_figure;
    std::vector<int> n;
    std::vector<double> v;
    std::vector<double> a, b, c;
    Matrix x, y, z;
    Colormap colors;
    std::string s, t;
};

Call random_call(Dice& dice, int last_handle) {
    Call call;
    call.op = static_cast<Op>(dice.below(static_cast<int>(Op::count)));
    call.n = {dice.integer(), dice.integer(), dice.integer()};
    call.v = {dice.value(), dice.value(), dice.value(), dice.value()};
    switch (call.op) {
    case Op::plot:
    case Op::line:
    case Op::axes_ticks:
    case Op::line_looks:
    case Op::surface_looks:
        call.a = dice.vector();
        // As many y as x mostly, another count now and then.
        call.b.resize(dice.chance(0.7) ? call.a.size() : static_cast<std::size_t>(dice.below(12)));
        for (double& y : call.b)
            y = dice.chance(0.9) ? dice.uniform(-3, 3) : dice.value();
        call.c = dice.vector();
        break;
    case Op::plot_y:
        call.a = dice.vector();
        break;
    case Op::surface_of_z:
    case Op::surface:
    case Op::mesh:
    case Op::surf:
    case Op::contour:
    case Op::patch_2d:
    case Op::patch_3d:
        call.x = dice.matrix();
        call.y = dice.chance(0.5) ? call.x : dice.matrix();
        call.z = dice.matrix();
        call.colors = dice.colors();
        call.a = dice.vector();
        call.b = dice.vector();
        call.c = dice.vector();
        break;
    case Op::set_property:
        call.n[0] = dice.handle(last_handle);
        call.s = dice.key();
        call.t = dice.token();
        break;
    case Op::set_colormap:
        call.s = dice.colormap_name();
        break;
    default:
        call.s = dice.token();
        call.t = dice.token();
        break;
    }
    return call;
}

std::array<double, 2> pair_of(const Call& call) { return {call.v[0], call.v[1]}; }

class AbusedEngine : public rizodozad::ZarIdor {
  public:
    std::vector<Call> script;
    // When set, every other pass makes one more line than the pass before: the
    // composition never agrees with itself.
    bool unstable = false;
    long calls_replayed = 0;

    void compose_figure() override {
        for (const Call& call : script)
            replay(call);
        calls_replayed += static_cast<long>(script.size());
        if (unstable && (++passes_ % 2) == 0) create_line();
    }

  private:
    void replay(const Call& c) {
        rizodozad::Axes* axes = current_axes();
        switch (c.op) {
        case Op::create_figure:
            create_figure();
            break;
        case Op::create_layer:
            create_layer();
            break;
        case Op::create_axes:
            create_axes();
            break;
        case Op::create_line:
            create_line();
            break;
        case Op::create_surface:
            create_surface();
            break;
        case Op::create_patch:
            create_patch();
            break;
        case Op::create_text:
            create_text();
            break;
        case Op::layer:
            layer(c.s);
            break;
        case Op::subplot:
            subplot(c.n[0], c.n[1], c.n[2]);
            break;
        case Op::plot:
            plot(c.a, c.b);
            break;
        case Op::plot_y:
            plot_y(c.a);
            break;
        case Op::line:
            line(c.a, c.b);
            break;
        case Op::surface_of_z:
            surface(c.z);
            break;
        case Op::surface:
            surface(c.x, c.y, c.z);
            break;
        case Op::mesh:
            mesh(c.x, c.y, c.z);
            break;
        case Op::surf:
            surf(c.x, c.y, c.z);
            break;
        case Op::contour:
            contour(c.a, c.b, c.z, c.c);
            break;
        case Op::patch_2d:
            patch(c.x, c.y, c.colors);
            break;
        case Op::patch_3d:
            patch(c.x, c.y, c.z, c.colors);
            break;
        case Op::text:
            text(c.v[0], c.v[1], c.s);
            break;
        case Op::colorbar:
            colorbar();
            break;
        case Op::set_style:
            set(c.s);
            break;
        case Op::set_property:
            set(c.n[0], c.s, c.t);
            break;
        case Op::set_colormap:
            set_colormap(c.s);
            break;
        case Op::axes_limits:
            if (axes == nullptr) break;
            axes->x_lim = pair_of(c);
            axes->y_lim = {c.v[2], c.v[3]};
            axes->z_lim = {c.v[1], c.v[0]};
            axes->x_lim_mode = c.n[0];
            axes->y_lim_mode = c.n[1];
            axes->z_lim_mode = c.n[2];
            break;
        case Op::axes_scales:
            if (axes == nullptr) break;
            axes->x_scale = c.n[0];
            axes->y_scale = c.n[1];
            break;
        case Op::axes_type:
            if (axes != nullptr) axes->type = c.n[0];
            break;
        case Op::axes_view:
            if (axes == nullptr) break;
            axes->view_azimuth = static_cast<float>(c.v[0]);
            axes->view_elevation = static_cast<float>(c.v[1]);
            axes->camera_target = {static_cast<float>(c.v[2]), 0, 0};
            axes->camera_up = {0, static_cast<float>(c.v[3]), 1};
            break;
        case Op::axes_ticks:
            if (axes == nullptr) break;
            axes->x_tick = c.a;
            axes->y_tick = c.b;
            axes->c_tick = c.c;
            axes->c_lim = pair_of(c);
            break;
        case Op::axes_looks:
            if (axes == nullptr) break;
            axes->box = c.n[0];
            axes->x_grid = c.n[1];
            axes->y_grid = c.n[2];
            axes->show_tick_labels = c.n[1];
            axes->line_width = static_cast<float>(c.v[0]);
            axes->tick_dir = c.s;
            axes->grid_line_style = c.t;
            axes->title = c.s;
            axes->x_label = c.t;
            axes->y_label = c.s;
            axes->selected = c.n[2];
            break;
        case Op::axes_position:
            if (axes == nullptr) break;
            axes->position = {static_cast<float>(c.v[0]), static_cast<float>(c.v[1]),
                              static_cast<float>(c.v[2]), static_cast<float>(c.v[3])};
            axes->position_3d = axes->position;
            break;
        case Op::layer_visibility:
            if (internals(*this).current_layer) internals(*this).current_layer->visible = c.n[0];
            break;
        case Op::line_looks:
            if (!current_line()) break;
            current_line()->error_bar = c.n[0];
            current_line()->error_upper = c.a;
            current_line()->error_lower = c.c;
            current_line()->z_data = c.b;
            current_line()->marker_size = static_cast<float>(c.v[0]);
            current_line()->line_width = static_cast<float>(c.v[1]);
            current_line()->line_style = c.s;
            current_line()->marker = c.t;
            break;
        case Op::surface_looks:
            if (!internals(*this).current_surface) break;
            internals(*this).current_surface->contour_levels = c.a;
            internals(*this).current_surface->face_color = c.s;
            internals(*this).current_surface->edge_color = c.t;
            internals(*this).current_surface->line_width = static_cast<float>(c.v[0]);
            internals(*this).current_surface->type = c.n[0];
            break;
        case Op::count:
            break;
        }
    }

    long passes_ = 0;
};

//-----------------------------------------------------------------------------
// [SECTION] Checks after a cycle
//-----------------------------------------------------------------------------

template <class Record>
bool names_a_record(int handle, int kind_code, const std::vector<Record>& list) {
    const int index = rizodozad::handle_index(handle);
    return rizodozad::handle_kind(handle) == kind_code && index >= 0 &&
           static_cast<std::size_t>(index) < list.size();
}

// Every child handle names a record of a kind its parent may hold.
bool tree_is_whole(const AbusedEngine& e) {
    namespace kind = rizodozad::kind;
    for (const auto& figure : internals(e).figure_list)
        for (int h : figure.children)
            if (!names_a_record(h, kind::layer, internals(e).layer_list)) return false;
    for (const auto& layer : internals(e).layer_list)
        for (int h : layer.children)
            if (!names_a_record(h, kind::axes, internals(e).axes_list)) return false;
    for (const auto& axes : internals(e).axes_list)
        for (int h : axes.children)
            if (!names_a_record(h, kind::line, internals(e).line_list) &&
                !names_a_record(h, kind::surface, internals(e).surface_list) &&
                !names_a_record(h, kind::text, internals(e).text_list) &&
                !names_a_record(h, kind::patch, internals(e).patch_list))
                return false;
    return true;
}

bool exports_to_memory(AbusedEngine& engine) {
    char* data = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&data, &size);
    if (stream == nullptr) return false;
    const bool ok = engine.export_eps(stream, "abuse.eps");
    std::fclose(stream);
    const bool has_page = size > 0 && std::string(data, size).find("%%EOF") != std::string::npos;
    std::free(data);
    return ok && has_page;
}

// Runs work with standard output collected (the trace, and the cell-plot renderer's
// report) and returns it, so that it stays out of the test log.
template <class Work> std::string quietly(const Work& work) {
    testing::internal::CaptureStdout();
    work();
    return testing::internal::GetCapturedStdout();
}

std::size_t allocation_passes(const std::string& trace) {
    std::size_t count = 0;
    const std::string header = "============================= allocation ...";
    for (auto at = trace.find(header); at != std::string::npos; at = trace.find(header, at + 1))
        ++count;
    return count;
}

void drain_gl_errors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// The first error that shows drawing code out of step with OpenGL: a call between
// glBegin and glEnd, a matrix stack pushed or popped too often, an unknown enum.
// Widths and rectangles written out of range are refused by OpenGL (GL_INVALID_VALUE),
// which keeps the previous value; that is the engine drawing less, not a fault.
GLenum unbalanced_drawing_error() {
    GLenum first = GL_NO_ERROR;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
        if (e != GL_INVALID_VALUE && first == GL_NO_ERROR) first = e;
    return first;
}

long env_number(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::strtol(text, nullptr, 10);
}

struct Tally {
    long calls = 0; // composition calls replayed, in every pass
    long cycles = 0;
    long exports = 0;
    long rounds = 0;
};

class ApiAbuse : public testsupport::GlTest {};

// Window sizes from none at all to larger than the screen.
void random_window(Dice& dice, AbusedEngine& engine) {
    static const std::vector<std::array<int, 2>> sizes{{800, 400}, {800, 400}, {1, 1},
                                                       {0, 0},     {3, 700},   {4000, 3000}};
    const auto size = dice.pick(sizes);
    engine.window_width = size[0];
    engine.window_height = size[1];
}

void random_pointer_events(Dice& dice, AbusedEngine& engine) {
    const int x = dice.chance(0.7) ? dice.below(800) : dice.integer();
    const int y = dice.chance(0.7) ? dice.below(400) : dice.integer();
    engine.pointer_x = dice.chance(0.3) ? dice.below(30) : x;
    engine.pointer_y = y;
    engine.debug_mouse = dice.below(2);
    rizodozad::test_hooks::layer_list_click_at(engine, dice.below(3), dice.below(2), dice.below(30),
                                               y, dice.below(100000));
    engine.axes_click(dice.below(3), dice.below(2), x, y);
    engine.axes_drag(dice.chance(0.8) ? dice.below(1000) : dice.integer(), y);
}

bool window_is_sane(const AbusedEngine& engine) {
    return engine.window_width >= 1 && engine.window_width <= testsupport::window_width * 2 &&
           engine.window_height >= 1 && engine.window_height <= testsupport::window_height * 2;
}

// One composition run through several cycles, changed between them now and then.
void abuse_round(Dice& dice, Tally& tally) {
    AbusedEngine engine;
    testsupport::size_like_window(engine);
    const int length = 1 + dice.below(max_script_length);
    for (int k = 0; k < length; ++k)
        engine.script.push_back(random_call(dice, internals(engine).last_handle));
    engine.unstable = dice.chance(0.05);
    engine.debug = 1;

    bool first_or_changed = true;
    for (int cycle = 0; cycle < cycles_per_round; ++cycle) {
        if (cycle > 0 && dice.chance(0.3)) random_window(dice, engine);
        drain_gl_errors();
        const std::string trace = quietly([&] { engine.display_cycle(); });
        ++tally.cycles;
        ASSERT_EQ(internals(engine).mode, rizodozad::display_mode::configuration);
        // A composition that repeats its calls is matched again without rebuilding,
        // whatever odd arguments it passes.
        if (!engine.unstable) {
            const std::size_t expected = cycle == 0 ? 1 : 0;
            if (cycle == 0 || !first_or_changed) {
                EXPECT_EQ(allocation_passes(trace), expected) << "round " << tally.rounds;
            }
        }
        first_or_changed = false;
        ASSERT_TRUE(tree_is_whole(engine)) << "round " << tally.rounds << " cycle " << cycle;
        EXPECT_EQ(unbalanced_drawing_error(), static_cast<GLenum>(GL_NO_ERROR))
            << "round " << tally.rounds << " cycle " << cycle;

        if (dice.chance(0.15) && window_is_sane(engine)) {
            bool exported = false;
            quietly([&] { exported = exports_to_memory(engine); });
            EXPECT_TRUE(exported) << "round " << tally.rounds;
            ++tally.exports;
        }
        if (dice.chance(0.3)) quietly([&] { random_pointer_events(dice, engine); });
        if (dice.chance(0.3)) {
            // Change the composition: the next cycle may find other counts and rebuild.
            first_or_changed = true;
            const auto at =
                engine.script.begin() + dice.below(static_cast<int>(engine.script.size()));
            if (dice.chance(0.5) && engine.script.size() > 1)
                engine.script.erase(at);
            else
                engine.script.insert(at, random_call(dice, internals(engine).last_handle));
        }
    }
    tally.calls += engine.calls_replayed;
}

} // namespace

TEST_F(ApiAbuse, RandomCompositionsDrawAndExportWithoutFault) {
    const long budget = env_number("RIZODOZAD_ABUSE_CALLS", default_call_budget);
    const auto seed = static_cast<unsigned>(env_number("RIZODOZAD_ABUSE_SEED", default_seed));
    Dice dice(seed);
    Tally tally;

    while (tally.calls < budget && !HasFatalFailure()) {
        Dice round_dice(static_cast<unsigned>(dice.below(INT_MAX)));
        abuse_round(round_dice, tally);
        ++tally.rounds;
    }

    std::printf("api abuse (seed %u): %ld calls in %ld rounds, %ld display cycles and %ld "
                "exports ran clean\n",
                seed, tally.calls, tally.rounds, tally.cycles, tally.exports);
    RecordProperty("calls", std::to_string(tally.calls));
    RecordProperty("cycles", std::to_string(tally.cycles));
}
