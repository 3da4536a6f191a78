// Drawing of one axes: the dispatch to its decoration and children, the
// two-dimensional decoration (frame, read-out, grid, ticks, labels, title), and
// the black bitmap text that every renderer writes at window positions.
#include <GL/glut.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "rizodozad/core/print_mirror.h"
#include "rizodozad/rizodozad.h"

namespace rizodozad {

namespace {

//-----------------------------------------------------------------------------
// [SECTION] Sizes, in normalised window units or pixels
//-----------------------------------------------------------------------------

constexpr double tick_length = 0.01; // window units
constexpr double text_gap = 0.01;    // window units, between the frame and the texts around it
// The layout counts every character of the bitmap font as 6 by 12 pixels.
constexpr double char_width_px = 6;
constexpr double char_height_px = 12;
constexpr double tick_label_width_px = 24; // tick labels are placed as if 4 characters wide
constexpr double x_label_drop_px = 24;     // the x label hangs below the tick labels
constexpr int axes_type_2d = 0;
constexpr int axes_type_3d = 1;
constexpr int axes_type_colorbar = 2;
constexpr int patch_type_2d = 0;
constexpr int patch_type_3d = 1;

//-----------------------------------------------------------------------------
// [SECTION] Grid line styles
//-----------------------------------------------------------------------------

// The stipple pattern of a grid style, or none for a solid grid; unknown styles are dotted.
std::optional<GLushort> grid_stipple(const std::string& style) {
    if (style == "-") return std::nullopt;
    if (style == "- -") return print_mirror::dashed_pattern;
    if (style == "-.") return print_mirror::dash_dot_pattern;
    return print_mirror::dotted_pattern;
}

void set_stipple(std::optional<GLushort> pattern) {
    if (pattern)
        print_mirror::stippled_lines(*pattern);
    else
        print_mirror::solid_lines();
}

void segment(double x0, double y0, double x1, double y1) {
    glBegin(GL_LINES);
    glVertex2d(x0, y0);
    glVertex2d(x1, y1);
    glEnd();
}

void use_unit_square(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    glLoadIdentity();
    gluOrtho2D(0, 1, 0, 1);
}

// The read-out of a selected axes, as long as its values need: 1e300 prints 300 digits.
std::string mouse_readout(double x, double y) {
    constexpr const char* pattern = "Mouse:(%f,%f)";
    const int length = std::snprintf(nullptr, 0, pattern, x, y);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, x, y);
    return text;
}

} // namespace

//-----------------------------------------------------------------------------
// [SECTION] Axes dispatch
//-----------------------------------------------------------------------------

void ZarIdor::display_axes() {
    const Axes* axes = current_axes.get();
    if (!axes) return;
    if (debug)
        std::printf("mode: %d handle: %4d Axes  #Children %d\n", mode, axes->handle,
                    static_cast<int>(axes->children.size()));

    if (!axes->children.empty()) {
        if (axes->type == axes_type_2d) display_axes_2d();
        if (current_axes && current_axes->type == axes_type_3d) display_axes_3d();
    }
    if (current_axes && current_axes->type == axes_type_colorbar) display_colorbar();
    if (!current_axes) return;

    // A copy: the list is read while the children are drawn.
    const std::vector<int> children = current_axes->children;
    for (const int child : children) {
        const int index = handle_index(child);
        if (index < 0) continue;
        const auto position = static_cast<std::size_t>(index);
        switch (handle_kind(child)) {
        case kind::line:
            if (position >= line_list.size()) break;
            current_line.select(position);
            display_line();
            break;
        case kind::surface:
            if (position >= surface_list.size()) break;
            current_surface.select(position);
            display_surface();
            break;
        case kind::text:
            if (position >= text_list.size()) break;
            current_text.select(position);
            display_text();
            break;
        case kind::patch:
            if (position >= patch_list.size()) break;
            current_patch.select(position);
            if (debug)
                std::printf("display:%4d Patch :type %d, Faces.size %d\n", current_patch->handle,
                            current_patch->type, static_cast<int>(current_patch->faces.size()));
            if (current_patch->type == patch_type_2d) display_patch();
            if (current_patch && current_patch->type == patch_type_3d) display_patch_3d();
            break;
        default:
            break;
        }
    }
}

//-----------------------------------------------------------------------------
// [SECTION] Two-dimensional decoration
//-----------------------------------------------------------------------------

void ZarIdor::display_axes_2d() {
    const Axes* axes = current_axes.get();
    if (!axes) return;
    const float left = axes->position[0];
    const float bottom = axes->position[1];
    const float width = axes->position[2];
    const float height = axes->position[3];
    const double ww = window_width;
    const double wh = window_height;

    use_unit_square(0, 0, window_width, window_height);
    set_stipple(std::nullopt);

    if (axes->box) {
        // Frame; a selected axes is twice as wide on screen but keeps its width in a print.
        print_mirror::set_line_width(axes->line_width);
        if (axes->selected) {
            glLineWidth(2 * axes->line_width);
            print_mirror::line_width(axes->line_width);
        }
        glColor3f(0, 0, 0);
        glBegin(GL_LINE_LOOP);
        glVertex2f(left, bottom);
        glVertex2f(left + width, bottom);
        glVertex2f(left + width, bottom + height);
        glVertex2f(left, bottom + height);
        glEnd();
        if (axes->selected)
            draw_string(left, static_cast<float>(bottom + height + text_gap),
                        mouse_readout(axes->mouse_x, axes->mouse_y));

        // Grid lines, each with the style set again before it.
        const std::optional<GLushort> grid_pattern = grid_stipple(axes->grid_line_style);
        if (axes->x_grid) {
            print_mirror::set_line_width(axes->line_width);
            for (const double t : axes->x_tick) {
                set_stipple(grid_pattern);
                const double x = data_to_window_x(t);
                segment(x, bottom, x, bottom + height);
            }
        }
        if (axes->y_grid) {
            for (const double t : axes->y_tick) {
                set_stipple(grid_pattern);
                const double y = data_to_window_y(t);
                segment(left, y, left + width, y);
            }
        }

        // Ticks and their labels.
        const double direction = axes->tick_dir == "out" ? -1 : 1;
        set_stipple(std::nullopt);
        for (const double t : axes->x_tick) {
            const double x = data_to_window_x(t);
            segment(x, bottom, x, bottom + tick_length * direction);
        }
        if (axes->show_tick_labels) {
            for (const double t : axes->x_tick) {
                const double x = data_to_window_x(t) - (tick_label_width_px / ww) / 2;
                const double y = bottom - text_gap - char_height_px / wh;
                draw_string(static_cast<float>(x), static_cast<float>(y), format_tick_label(t));
            }
        }
        for (const double t : axes->y_tick) {
            const double y = data_to_window_y(t);
            segment(left, y, left + tick_length * direction, y);
        }
        if (axes->show_tick_labels) {
            for (const double t : axes->y_tick) {
                const double x = left - tick_label_width_px / ww - text_gap;
                const double y = data_to_window_y(t) - (char_height_px / 2) / wh;
                draw_string(static_cast<float>(x), static_cast<float>(y), format_tick_label(t));
            }
        }
    }

    // Title and axis labels, centred for characters of the nominal width.
    const auto centred_left = [&](const std::string& text) {
        return static_cast<float>(left + width / 2.0 - (text.size() * char_width_px / ww) / 2);
    };
    draw_string(centred_left(axes->title), static_cast<float>(bottom + height + text_gap),
                axes->title);
    draw_string(centred_left(axes->x_label),
                static_cast<float>(bottom - text_gap - x_label_drop_px / wh), axes->x_label);
    draw_string(left, static_cast<float>(bottom + height + text_gap), axes->y_label);

    // The children draw in the axes' unit square.
    const auto fw = static_cast<float>(window_width);
    const auto fh = static_cast<float>(window_height);
    use_unit_square(static_cast<int>(fw * left), static_cast<int>(fh * bottom),
                    static_cast<int>(fw * width), static_cast<int>(fh * height));
}

//-----------------------------------------------------------------------------
// [SECTION] Window text
//-----------------------------------------------------------------------------

void ZarIdor::draw_string(float x, float y, const std::string& text) {
    use_unit_square(0, 0, window_width, window_height);
    glColor3f(0, 0, 0);
    glRasterPos2f(x, y);
    print_mirror::text(text);
    for (const char c : text)
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_12, static_cast<unsigned char>(c));
}

} // namespace rizodozad
