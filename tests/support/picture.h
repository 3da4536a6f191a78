// An engine whose composition the test supplies, counting how often it was composed.
#pragma once

#include <functional>

#include "rizodozad/rizodozad.h"

namespace testsupport {

class Picture : public rizodozad::ZarIdor {
  public:
    std::function<void(Picture&)> composition = [](Picture&) {};
    int compositions = 0;

    void compose_figure() override {
        ++compositions;
        composition(*this);
    }
};

} // namespace testsupport
