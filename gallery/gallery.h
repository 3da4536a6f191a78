// The gallery application: an engine whose picture is the page being shown, and the
// mapping of keys to pages.
#pragma once

#include "gallery/pages.h"
#include "rizodozad/rizodozad.h"

namespace gallery {

class Gallery : public rizodozad::ZarIdor {
  public:
    void compose_figure() override;

    int page() const { return page_; }
    // Shows another page (out-of-range numbers are ignored); its records are built
    // afresh by the next display cycle, and no axes stays selected.
    void show_page(int page);

  private:
    int page_ = first_page;
};

// The page a key leads to: '1' .. '7' choose a page; other keys keep the current one.
int page_for_key(int current, unsigned char key);
// The page an arrow key leads to: right is the next page, left the previous one, both
// wrapping around; other special keys keep the current page.
int page_for_special_key(int current, int key);

} // namespace gallery
