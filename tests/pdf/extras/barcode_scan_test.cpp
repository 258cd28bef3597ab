// Every symbology but POSTNET read back by an independent scanner: the
// symbols are rendered by pdftoppm and decoded by zbarimg, which knows the
// symbologies' own tables and check rules. A wrong table entry, guard or
// check character makes a symbol unreadable or read as something else.
#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../content/content_fixture.h"
#include "pdf/extras/barcode_code128.h"
#include "support/tools.h"

namespace {

using testsupport::run_command;
using testsupport::shell_quote;

enum Type { Ean13 = 0, Code39 = 1, Interleaved = 2, Code128 = 4, Ean8 = 5 };

struct Case {
    int type;
    std::string code;
    bool add_check;
    std::string expected;  // as zbarimg reports it: "SYMBOLOGY:data"
};

// A short set-B code whose check character has the value `check`: values
// 95 to 102 occur only as check characters.
std::string code128_with_check(int check) {
    for (char a = 32; a < 127; ++a)
        for (char b = 32; b < 127; ++b) {
            const std::string code{a, b};
            if (pdf::barcode::code128_values(code).back() == check && code.find_first_of("0123456789") == std::string::npos)
                return code;
        }
    return {};
}

std::vector<Case> cases() {
    std::vector<Case> all;
    // Every leading digit (so every parity row) and every digit in both
    // left-hand sets and on the right.
    const std::string digits = "0123456789012345678901";
    for (int lead = 0; lead < 10; ++lead) {
        const std::string code = std::to_string(lead) + digits.substr(static_cast<std::size_t>(lead) + 1, 11);
        all.push_back({Ean13, code, false, ""});
    }
    all.push_back({Ean13, "400638133393", false, "EAN-13:4006381333931"});
    all.push_back({Ean8, "9638507", false, "EAN-8:96385074"});
    all.push_back({Ean8, "0123456", false, ""});
    all.push_back({Ean8, "7890123", false, ""});

    all.push_back({Code39, "0123456789ABCDEF", false, "CODE-39:0123456789ABCDEF"});
    all.push_back({Code39, "GHIJKLMNOPQRSTUVWXYZ", false, "CODE-39:GHIJKLMNOPQRSTUVWXYZ"});
    all.push_back({Code39, "A-. $/+%Z", false, "CODE-39:A-. $/+%Z"});
    all.push_back({Code39, "A", true, "CODE-39:AA"});
    all.push_back({Code39, "CODE39", true, "CODE-39:CODE39W"});
    // 33 + 36 + 37 + ... + 42 = 306, 306 mod 43 = 5.
    all.push_back({Code39, "X-. $/+%", true, "CODE-39:X-. $/+%5"});

    all.push_back({Interleaved, "01234567890123", false, "I2/5:01234567890123"});
    all.push_back({Interleaved, "98765432109876", false, "I2/5:98765432109876"});
    all.push_back({Interleaved, "123", false, "I2/5:0123"});
    all.push_back({Interleaved, "123", true, "I2/5:1236"});
    all.push_back({Interleaved, "1234567890123", true, ""});

    for (int first = 32; first < 127; first += 24) {
        std::string code;
        for (int c = first; c < std::min(first + 24, 127); ++c) code += static_cast<char>(c);
        all.push_back({Code128, code, false, "CODE-128:" + code});
    }
    for (int first = 0; first < 100; first += 20) {
        std::string code;
        for (int pair = first; pair < first + 20; ++pair) code += (pair < 10 ? "0" : "") + std::to_string(pair);
        all.push_back({Code128, code, false, "CODE-128:" + code});
    }
    for (const char* code : {"1234", "12345", "AB1234", "AB12345", "AB123", "12", "x123456y7890"})
        all.push_back({Code128, code, false, std::string("CODE-128:") + code});
    for (int check : {95, 96, 97, 98, 101, 102}) {
        const std::string code = code128_with_check(check);
        all.push_back({Code128, code, false, "CODE-128:" + code});
    }
    return all;
}

// Fills in the expectations that follow from the code alone: EAN data plus
// the check digit the scanner verifies itself.
std::string expected_of(const Case& c) {
    if (!c.expected.empty()) return c.expected;
    if (c.type == Ean13 || c.type == Ean8) {
        const std::size_t n = c.type == Ean13 ? 12 : 7;
        int sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += (c.code[i] - '0') * ((n - i) % 2 == 1 ? 3 : 1);
        return (c.type == Ean13 ? "EAN-13:" : "EAN-8:") + c.code + std::to_string((10 - sum % 10) % 10);
    }
    // Interleaved with a check digit: weights 3, 1, ... from the right, then
    // a leading zero for an odd count.
    int sum = 0;
    for (std::size_t i = 0; i < c.code.size(); ++i) sum += (c.code[i] - '0') * ((c.code.size() - i) % 2 == 1 ? 3 : 1);
    std::string data = c.code + std::to_string((10 - sum % 10) % 10);
    if (data.size() % 2 == 1) data = "0" + data;
    return "I2/5:" + data;
}

// Draws the cases stacked on tall pages at `zoom`, renders them at `dpi`
// and returns what zbarimg reads, one entry per symbol.
std::multiset<std::string> scanned(const std::vector<Case>& all, float zoom, int dpi) {
    contenttest::Document doc("symbols.pdf");
    PdfWriter& w = doc.writer;
    w.SetPaperSize(255, 620, 1400);
    float y = 1400;
    for (const Case& c : all) {
        // The bars' default height, the text and a gap.
        const float height = (c.type == Ean13 ? 64.8f : c.type == Ean8 ? 48.96f : 14.4f) * zoom + 30 * zoom;
        if (y + height > 1360) {
            w.BeginPage();
            y = 20;
        }
        float x = 20;
        float top = y;
        w.DrawBarCode(c.type, c.code, x, top, true, zoom, 0, c.add_check);
        y += height;
    }
    doc.finish();
    const auto prefix = doc.file().parent_path() / "page";
    const auto render = run_command("pdftoppm -gray -png -r " + std::to_string(dpi) + " " +
                                    shell_quote(doc.file().string()) + " " + shell_quote(prefix.string()));
    EXPECT_EQ(render.exit_code, 0) << render.err;
    EXPECT_EQ(render.err, "");
    const auto scan = run_command("zbarimg --quiet --set i25.min-length=0 " +
                                  shell_quote(doc.file().parent_path().string()) + "/page-*.png");
    std::multiset<std::string> found;
    std::string line;
    for (char ch : scan.out) {
        if (ch == '\n') {
            if (!line.empty()) found.insert(line);
            line.clear();
        } else {
            line += ch;
        }
    }
    return found;
}

struct Rendering {
    float zoom;
    int dpi;
};

class BarcodeScan : public ::testing::TestWithParam<Rendering> {};

TEST_P(BarcodeScan, EverySymbolReadsBack) {
    REQUIRE_TOOL("pdftoppm");
    REQUIRE_TOOL("zbarimg");
    const std::vector<Case> all = cases();
    std::multiset<std::string> expected;
    for (const Case& c : all) expected.insert(expected_of(c));
    const auto found = scanned(all, GetParam().zoom, GetParam().dpi);
    std::vector<std::string> missing, extra;
    std::set_difference(expected.begin(), expected.end(), found.begin(), found.end(), std::back_inserter(missing));
    std::set_difference(found.begin(), found.end(), expected.begin(), expected.end(), std::back_inserter(extra));
    EXPECT_TRUE(missing.empty()) << ::testing::PrintToString(missing) << " not read";
    EXPECT_TRUE(extra.empty()) << ::testing::PrintToString(extra) << " read instead";
}

INSTANTIATE_TEST_SUITE_P(ZoomsAndResolutions, BarcodeScan,
                         ::testing::Values(Rendering{0.8f, 300}, Rendering{1.0f, 300}, Rendering{2.0f, 300},
                                           Rendering{0.8f, 600}, Rendering{1.0f, 600}, Rendering{2.0f, 600}),
                         [](const auto& info) {
                             return "Zoom" + std::to_string(static_cast<int>(info.param.zoom * 10)) + "At" +
                                    std::to_string(info.param.dpi) + "Dpi";
                         });

}  // namespace
