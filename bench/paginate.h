// The benchmarks' page filler: paragraphs laid out one after the other in
// justified boxes, carried over page breaks by their remainders, as the
// program writes its contracts.
#pragma once

#include <string>

#include "pdf/PdfWriter.h"

namespace bench {

// From a page already begun, in the current font, until `pages` pages are
// full. `paragraph(n)` gives article n (from 1); `indentation` opens each
// paragraph and `gap` (user units) follows it.
template <class Paragraph>
void fill_pages(PdfWriter& w, int pages, float indentation, float gap, Paragraph paragraph) {
    const float width = w.GetPageWidth(true);
    const float height = w.GetPageHeight(true);
    const float line = w.TextHeight();
    float y = 0;
    int article = 1;
    std::string pending;
    for (;;) {
        if (pending.empty()) pending = paragraph(article++);
        if (height - y < line) {
            if (w.GetPage() == pages) break;
            w.BeginPage();
            y = 0;
        }
        pending = w.DrawTextBox(0, y, width, height - y, pending, indentation, 64, 1);
        y = w.GetY() + (pending.empty() ? gap : height);
    }
}

}  // namespace bench
