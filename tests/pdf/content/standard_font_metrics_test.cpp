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
        EXPECT_EQ(h[0], styles_helvetica[style]);
        EXPECT_EQ(h[31], styles_helvetica[style]);
        EXPECT_EQ(t[5], 333);
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
    const auto& symbol = standard_font_widths(StandardFamily::Symbol, 3);
    EXPECT_EQ(symbol[0], 332);
    EXPECT_EQ(symbol[29], 332);
    EXPECT_EQ(symbol[30], 600);
    EXPECT_EQ(symbol[160], 600);
    EXPECT_EQ(symbol[255], 600);
    EXPECT_EQ(symbol['a'], 631);  // alpha

    const auto& dingbats = standard_font_widths(StandardFamily::ZapfDingbats, 0);
    EXPECT_EQ(dingbats[0], 600);
    EXPECT_EQ(dingbats[183], 788);
    EXPECT_EQ(dingbats[184], 788);
    EXPECT_EQ(dingbats[255], 0);
    EXPECT_EQ(dingbats[127], 0);
    EXPECT_EQ(dingbats[150], 0);

    for (int style = 0; style < 4; ++style)
        for (int code = 0; code < 256; ++code)
            ASSERT_EQ(standard_font_widths(StandardFamily::Courier, style)[code], 600);
}

}  // namespace
