#include "app/options.h"

#include <CLI/CLI.hpp>

namespace {

constexpr const char* description =
    "fdtd1d: a Gaussian pulse travelling along 200 cells of 1 mm, computed live with the "
    "one-dimensional FDTD method and drawn in three plots (Ez and Hz over the cells, Ez at "
    "cell 50 over the steps). The run starts paused.";

constexpr const char* keys = R"(Keys and mouse:
  space, r      start the run; press again to pause, and again to go on
  p             write the picture to out.eps in the working directory
  q, x, Escape  quit
  pointer at the left edge, click a box   show or hide that layer
  click in a plot          select it
  click again in it        read off the data coordinates of that point)";

} // namespace

std::optional<Options> parse_options(int argc, char** argv, int& exit_code) {
    CLI::App app{description, "fdtd1d"};
    Options options;
    app.add_flag("--tidy", options.tidy,
                 "tidy layout: margins sized to the texts, axis labels with units, legends, "
                 "and a read-out with the nearest data point");
    app.footer(keys);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        exit_code = app.exit(e);
        return std::nullopt;
    }
    return options;
}
