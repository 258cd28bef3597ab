// MD5 and RC4 against their published test vectors.
#include <gtest/gtest.h>

#include <string>

#include "pdf/core/ascii_hex_encoder.h"
#include "pdf/core/md5.h"
#include "pdf/core/rc4.h"
#include "support/tools.h"

namespace {

std::string hex(const std::string& bytes) { return pdf::encode_ascii_hex(bytes); }

TEST(Md5, Rfc1321TestSuite) {
    EXPECT_EQ(hex(pdf::md5_digest("")), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(hex(pdf::md5_digest("a")), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(hex(pdf::md5_digest("abc")), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(hex(pdf::md5_digest("message digest")), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(hex(pdf::md5_digest("abcdefghijklmnopqrstuvwxyz")), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(hex(pdf::md5_digest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(hex(pdf::md5_digest("1234567890123456789012345678901234567890"
                                  "1234567890123456789012345678901234567890")),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

// Messages of "a" whose padding ends just before, at and past the 56-byte
// mark of a block (digests computed with coreutils md5sum).
TEST(Md5, DigestsAroundThePaddingBoundary) {
    const std::pair<std::size_t, const char*> vectors[] = {
        {55, "EF1772B6DFF9A122358552954AD0DF65"},
        {56, "3B0C8AC703F828B04C6C197006D17218"},
        {64, "014842D480B571495A4A0363793F7367"},
        {119, "8A7BD0732ED6A28CE75F6DABC90E1613"},
    };
    for (const auto& [length, digest] : vectors)
        EXPECT_EQ(hex(pdf::md5_digest(std::string(length, 'a'))), digest) << "length " << length;
}

TEST(Md5, PaddingBoundariesAndPiecewiseInputAgree) {
    // Lengths around the 56- and 64-byte boundaries take the two-block
    // padding path; feeding the message in odd pieces must not matter.
    for (std::size_t length : {55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u}) {
        std::string message;
        for (std::size_t i = 0; i < length; ++i) message.push_back(char((i * 7 + 3) & 0xFF));
        pdf::Md5 pieces;
        for (std::size_t i = 0; i < length; i += 13) pieces.update(std::string_view(message).substr(i, 13));
        const auto digest = pieces.finish();
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(digest.data()), 16), pdf::md5_digest(message))
            << "length " << length;
    }
    // A million "a" (a common extra vector).
    pdf::Md5 million;
    const std::string chunk(1000, 'a');
    for (int i = 0; i < 1000; ++i) million.update(chunk);
    const auto d = million.finish();
    EXPECT_EQ(hex(std::string(reinterpret_cast<const char*>(d.data()), 16)), "7707D6AE4E027C70EEA2A935C2296F21");
}

TEST(Rc4, CommonVectors) {
    EXPECT_EQ(hex(pdf::rc4_crypt("Key", "Plaintext")), "BBF316E8D940AF0AD3");
    EXPECT_EQ(hex(pdf::rc4_crypt("Wiki", "pedia")), "1021BF0420");
    EXPECT_EQ(hex(pdf::rc4_crypt("Secret", "Attack at dawn")), "45A01F645FC35B383552544B9BF5");
    // Keystream of the 40-bit key 01 02 03 04 05 (first 16 bytes).
    EXPECT_EQ(hex(pdf::rc4_crypt(std::string("\x01\x02\x03\x04\x05", 5), std::string(16, '\0'))),
              "B2396305F03DC027CCC3524A0A1118A8");
}

TEST(Rc4, AKeptScheduleStartsEveryTextAfresh) {
    const std::string key = "0123456789";
    const std::string text = "Contratto di appalto (bozza)";
    const pdf::Rc4Schedule schedule = pdf::rc4_key_schedule(key);
    std::string once(text.size(), '\0'), twice(text.size(), '\0');
    auto apply = [&](const std::string& in, std::string& out) {
        pdf::rc4_apply(schedule, reinterpret_cast<const std::uint8_t*>(in.data()),
                       reinterpret_cast<std::uint8_t*>(out.data()), in.size());
    };
    apply(text, once);
    apply(text, twice);
    EXPECT_EQ(once, twice);  // no keystream carried over
    EXPECT_EQ(once, pdf::rc4_crypt(key, text));
    std::string back(text.size(), '\0');
    apply(once, back);
    EXPECT_EQ(back, text);  // its own inverse
    EXPECT_EQ(pdf::rc4_crypt(key, std::string()), std::string());
}

// Long texts go round the state index many times and meet the rare steps
// where a swap changes the entry the cipher has already read for the next
// step: compared with openssl's cipher on 16-byte keys.
TEST(Rc4, LongTextsMatchOpenssl) {
    REQUIRE_TOOL("openssl");
    testsupport::TempDir dir;
    std::string text(70001, '\0');
    for (std::size_t k = 0; k < text.size(); ++k) text[k] = static_cast<char>(k * 131 + k / 7);
    testsupport::write_file(dir / "in", text);
    for (const std::string& key : {std::string(16, '\0'), std::string("0123456789abcdef"),
                                  std::string("\xff\x01\xfe\x02\xfd\x03\xfc\x04\xfb\x05\xfa\x06\xf9\x07\xf8\x08", 16)}) {
        const auto run = testsupport::run_command(
            "openssl enc -rc4 -nosalt -provider legacy -provider default -K " + hex(key) + " -in " +
            testsupport::shell_quote((dir / "in").string()) + " -out " +
            testsupport::shell_quote((dir / "out").string()));
        ASSERT_EQ(run.exit_code, 0) << run.err;
        EXPECT_TRUE(testsupport::read_file(dir / "out") == pdf::rc4_crypt(key, text)) << hex(key);
    }
}

}  // namespace
