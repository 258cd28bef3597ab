#include <gtest/gtest.h>

#include "pdf/core/xmp.h"

namespace {
std::vector<std::string> split_cr(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const auto cr = text.find('\r', from);
        lines.push_back(text.substr(from, cr == std::string::npos ? std::string::npos : cr - from));
        if (cr == std::string::npos) return lines;
        from = cr + 1;
    }
}
}  // namespace

TEST(CoreXmp, PacketLinesAndByteCount) {
    const std::string packet = pdf::build_xmp_packet(
        {"Titolo", "Oggetto", "chiavi", "Autore", "Creatore", "Produttore", "D:20260102030405Z+01'00'"});
    const auto lines = split_cr(packet);
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(packet.find('\n'), std::string::npos);
    EXPECT_EQ(lines[34], "<?xpacket end='r'?>");
    EXPECT_EQ(lines[3], "  <pdf:Producer>Produttore</pdf:Producer>");
    EXPECT_EQ(lines[7], "  <pdf:Title>Titolo</pdf:Title>");
    EXPECT_EQ(lines[17], "  <rdf:li xml:lang='x-default'>Titolo</rdf:li>");
    EXPECT_EQ(lines[29], "  <dc:creator>Creatore</dc:creator>");
    const std::size_t after_first = lines[0].size() + 1;
    EXPECT_EQ(lines[0], "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" +
                            std::to_string(packet.size() - after_first + 64) + "'?>");
}

TEST(CoreXmp, ValuesAreUtf8AndEscaped) {
    const std::string packet =
        pdf::build_xmp_packet({"a<b>&c \"d\" 'e' citt\xE0 \x80", "", "", "", "", "", "D:1"});
    EXPECT_NE(packet.find("<pdf:Title>a&lt;b&gt;&amp;c &quot;d&quot; &apos;e&apos; citt\xC3\xA0 \xE2\x82\xAC</pdf:Title>"),
              std::string::npos);
    EXPECT_NE(packet.find("<pdf:Subject></pdf:Subject>"), std::string::npos);
    // Control bytes cannot stand in XML at all.
    const std::string with_control = pdf::build_xmp_packet({std::string("x\x01y", 3), "", "", "", "", "", ""});
    EXPECT_NE(with_control.find("<pdf:Title>x y</pdf:Title>"), std::string::npos);
}
