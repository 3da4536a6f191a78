// The face of the engine: each operation a program calls hands over to the internals,
// which hold the records and draw them.
#include "rizodozad/core/engine.h"
#include "rizodozad/core/font_metrics.h"
#include "rizodozad/core/scales.h"

namespace rizodozad {

//-----------------------------------------------------------------------------
// [SECTION] Construction and display cycle
//-----------------------------------------------------------------------------

ZarIdor::ZarIdor() : engine_(std::make_unique<Engine>(*this)) {}

ZarIdor::~ZarIdor() = default;

// The engine alone describes an empty picture; applications override this.
void ZarIdor::compose_figure() {}

void ZarIdor::display_cycle() { engine_->display_cycle(); }
void ZarIdor::rebuild() { engine_->rebuild(); }
int ZarIdor::next_pass() const { return engine_->mode; }
void ZarIdor::begin_pass(int pass_mode) { engine_->begin_pass(pass_mode); }

//-----------------------------------------------------------------------------
// [SECTION] Figures, layers and axes
//-----------------------------------------------------------------------------

int ZarIdor::create_figure() { return engine_->create_figure(); }
int ZarIdor::create_layer() { return engine_->create_layer(); }
int ZarIdor::layer(std::string name) { return engine_->layer(std::move(name)); }
int ZarIdor::create_axes() { return engine_->create_axes(); }
int ZarIdor::subplot(int m, int n, int p) { return engine_->subplot(m, n, p); }
void ZarIdor::legend(std::vector<std::string> names) { engine_->legend(std::move(names)); }
void ZarIdor::figure_text(float x, float y, std::string text) {
    engine_->figure_text(x, y, std::move(text));
}

void ZarIdor::fix_limits(const Limits& x_lim, const Limits& y_lim) {
    engine_->fix_x_limits(x_lim);
    engine_->fix_y_limits(y_lim);
}
void ZarIdor::fix_x_limits(const Limits& x_lim) { engine_->fix_x_limits(x_lim); }
void ZarIdor::fix_y_limits(const Limits& y_lim) { engine_->fix_y_limits(y_lim); }
void ZarIdor::fix_z_limits(const Limits& z_lim) { engine_->fix_z_limits(z_lim); }
std::optional<FramePx> ZarIdor::axes_frame_px(int handle) const {
    return engine_->axes_frame_px(handle);
}
Axes* ZarIdor::current_axes() { return engine_->current_axes.get(); }
void ZarIdor::deselect_axes() { engine_->selected_axes = -1; }

//-----------------------------------------------------------------------------
// [SECTION] Lines, styles and colours
//-----------------------------------------------------------------------------

int ZarIdor::create_line() { return engine_->create_line(); }
int ZarIdor::line(std::vector<double> x, std::vector<double> y) {
    return engine_->line(std::move(x), std::move(y));
}
int ZarIdor::plot(std::vector<double> x, std::vector<double> y) {
    return engine_->plot(std::move(x), std::move(y));
}
int ZarIdor::plot_y(std::vector<double> y) { return engine_->plot_y(std::move(y)); }
int ZarIdor::plot_kept(const std::vector<double>& x, const std::vector<double>& y) {
    return engine_->plot_kept(x, y);
}
Line* ZarIdor::current_line() { return engine_->current_line.get(); }
void ZarIdor::set(std::string style) { engine_->set(std::move(style)); }
void ZarIdor::set(int handle, std::string property, std::string value) {
    engine_->set(handle, std::move(property), std::move(value));
}
void ZarIdor::set_colormap(std::string name) { engine_->set_colormap(std::move(name)); }
void ZarIdor::set_colormap_entries(Colormap colours) {
    if (!colours.empty()) engine_->current_colormap = std::move(colours);
}
void ZarIdor::set_line_width(float width) { engine_->set_line_width(width); }

void ZarIdor::set_text_scale(double scale) {
    if (scales::usable(scale)) engine_->scales.text = scale;
}

void ZarIdor::set_line_scale(double scale) {
    if (scales::usable(scale)) engine_->scales.line = scale;
}

double ZarIdor::text_scale() const { return engine_->scales.text; }

double ZarIdor::line_scale() const { return engine_->scales.line; }

TextExtentPx ZarIdor::text_extent_px(const std::string& text) const {
    const scales::InForce measured_at(engine_->scales);
    return {font::width_px(text), tidy::text_ascent_px(), tidy::text_descent_px()};
}

//-----------------------------------------------------------------------------
// [SECTION] Surfaces, contours, patches, texts, colour bars
//-----------------------------------------------------------------------------

int ZarIdor::create_surface() { return engine_->create_surface(); }
int ZarIdor::create_patch() { return engine_->create_patch(); }
int ZarIdor::create_text() { return engine_->create_text(); }
int ZarIdor::surface(Matrix z) { return engine_->surface(std::move(z)); }
int ZarIdor::surface(Matrix x, Matrix y, Matrix z) {
    return engine_->surface(std::move(x), std::move(y), std::move(z));
}
int ZarIdor::mesh(Matrix x, Matrix y, Matrix z) {
    return engine_->mesh(std::move(x), std::move(y), std::move(z));
}
int ZarIdor::surf(Matrix x, Matrix y, Matrix z) {
    return engine_->surf(std::move(x), std::move(y), std::move(z));
}
int ZarIdor::contour(std::vector<double> x, std::vector<double> y, Matrix z,
                     std::vector<double> levels) {
    return engine_->contour(std::move(x), std::move(y), std::move(z), std::move(levels));
}
int ZarIdor::patch(Matrix x, Matrix y, Colormap colors) {
    return engine_->patch(std::move(x), std::move(y), std::move(colors));
}
int ZarIdor::patch(Matrix x, Matrix y, Matrix z, Colormap colors) {
    return engine_->patch(std::move(x), std::move(y), std::move(z), std::move(colors));
}
int ZarIdor::text(double x, double y, std::string string) {
    return engine_->text(x, y, std::move(string));
}
int ZarIdor::colorbar() { return engine_->colorbar(); }

//-----------------------------------------------------------------------------
// [SECTION] Mouse, layer list and export
//-----------------------------------------------------------------------------

void ZarIdor::layer_list_click(int button, int state, int x, int y) {
    engine_->layer_list_click(button, state, x, y);
}
bool ZarIdor::layer_list_shown() const { return engine_->layer_list_shown(); }
void ZarIdor::axes_click(int button, int state, int x, int y) {
    engine_->axes_click(button, state, x, y);
}
void ZarIdor::axes_drag(int x, int y) { engine_->axes_drag(x, y); }

bool ZarIdor::export_picture(const std::string& path) { return engine_->export_picture(path); }
Frame ZarIdor::capture_picture() { return engine_->capture_picture(); }
void ZarIdor::print_eps() { engine_->print_eps(); }
bool ZarIdor::export_eps(std::FILE* stream, const char* file_name) {
    return engine_->export_eps(stream, file_name);
}

} // namespace rizodozad
