// The first page: the fields along the line, the probes over time and the spectra, with
// the source and probe markers dragged along the space plot.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "lab/view/dragging.h"
#include "lab/view/page.h"
#include "lab/view/picture.h"
#include "lab/view/session.h"

namespace lab::view {

class LinePage : public Page {
  public:
    explicit LinePage(const Scenario& scenario) : session_(scenario), picture_(session_) {}

    rizodozad::ZarIdor& picture() override { return picture_; }
    const KeyTable& keys() const override { return line_keys(); }
    Effect command(Command command) override;
    bool mouse(int button, int state, int x_px, int y_px) override;
    bool drag(int x_px, int y_px) override;

    bool advance_frame() override { return session_.advance_frame(); }
    bool running() const override { return session_.running(); }
    void set_steps_per_frame(int steps) override { session_.set_steps_per_frame(steps); }
    Progress progress() const override;

    void say(std::string message) override { session_.say(std::move(message)); }
    void show_status(bool shown) override { picture_.status_shown = shown; }
    bool needs_redraw() const override { return session_.needs_redraw(); }
    void drawn() override { session_.drawn(); }

    const Session& session() const { return session_; }

  private:
    void drop(MarkerId marker, int cell);

    Session session_;
    Picture picture_; // draws session_, so comes after it
    std::optional<MarkerId> dragged_;
};

} // namespace lab::view
