#include "pdf/content/standard_font_metrics.h"

#include <gtest/gtest.h>

namespace {

using pdf::StandardFamily;
using pdf::standard_font_widths;

// Spot checks against well-known widths; the full tables are checked
// against an independent reader in the writer tests.
TEST(StandardFontMetrics, WinAnsiOrderNotStandardEncoding) {
    const auto& times = standard_font_widths(StandardFamily::Times, 0);
    EXPECT_EQ(times['A'], 722);
    EXPECT_EQ(times[' '], 250);
    EXPECT_EQ(times[39], 180);   // quotesingle, not quoteright (333)
    EXPECT_EQ(times[96], 333);   // grave
    EXPECT_EQ(times[146], 333);  // quoteright
    EXPECT_EQ(times[128], 500);  // Euro
    EXPECT_EQ(times[160], 250);  // no-break space is a space
    EXPECT_EQ(times[173], 333);  // soft hyphen is a hyphen
    EXPECT_EQ(times[0xE0], 444); // agrave

    const auto& helvetica = standard_font_widths(StandardFamily::Helvetica, 0);
    EXPECT_EQ(helvetica[39], 191);
    EXPECT_EQ(helvetica[96], 333);
    EXPECT_EQ(helvetica['W'], 944);
    EXPECT_EQ(standard_font_widths(StandardFamily::Helvetica, 1)['W'], 944);
    EXPECT_EQ(standard_font_widths(StandardFamily::Helvetica, 1)['a'], 556);
    EXPECT_EQ(standard_font_widths(StandardFamily::Times, 1)['A'], 722);
    EXPECT_EQ(standard_font_widths(StandardFamily::Times, 2)['A'], 611);
    EXPECT_EQ(standard_font_widths(StandardFamily::Times, 3)['A'], 667);
}

TEST(StandardFontMetrics, ExceptionsOfTheWriter) {
    const int styles_helvetica[4] = {272, 311, 259, 311};
    for (int style = 0; style < 4; ++style) {
        const auto& h = standard_font_widths(StandardFamily::Helvetica, style);
        const auto& t = standard_font_widths(StandardFamily::Times, style);
        for (int code = 0; code < 32; ++code) {
            EXPECT_EQ(h[code], styles_helvetica[style]) << style << " " << code;
            EXPECT_EQ(t[code], 333) << style << " " << code;
        }
        for (int code : {127, 129, 141, 143, 144, 157}) {
            EXPECT_EQ(h[code], 750);
            EXPECT_EQ(t[code], 778);
        }
        EXPECT_EQ(h[175], 552);
        EXPECT_EQ(t[175], 500);
        for (int code : {177, 247}) {
            EXPECT_EQ(h[code], 549);
            EXPECT_EQ(t[code], 549);
        }
        EXPECT_EQ(h[181], 576);
        EXPECT_EQ(t[181], 576);
    }
    // Symbol and ZapfDingbats: every code outside their own encodings.
    const auto& symbol = standard_font_widths(StandardFamily::Symbol, 3);
    const auto& dingbats = standard_font_widths(StandardFamily::ZapfDingbats, 0);
    for (int code = 0; code < 256; ++code) {
        const bool unencoded = code == 127 || (code >= 128 && code <= 160) || code == 240 || code == 255;
        if (code < 32 || unencoded) {
            EXPECT_EQ(symbol[code], code < 30 ? 332 : 600) << code;
        }
        if (code < 32 || (unencoded && (code < 128 || code > 141))) {
            EXPECT_EQ(dingbats[code], code < 32 ? 600 : 0) << code;
        }
    }
    EXPECT_EQ(symbol['a'], 631);  // alpha
    EXPECT_EQ(dingbats[183], 788);
    EXPECT_EQ(dingbats[184], 788);

    for (int style = 0; style < 4; ++style)
        for (int code = 0; code < 256; ++code)
            ASSERT_EQ(standard_font_widths(StandardFamily::Courier, style)[code], 600);
}

}  // namespace
