// Reading the metrics of a TrueType font file.
#include "pdf/content/truetype_reader.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "common/cp1252.h"
#include "pdf/content/mac_roman.h"

namespace pdf {

namespace {

constexpr std::int32_t kTruncated = 62;
constexpr std::int32_t kMalformed = 321;

[[noreturn]] void malformed(const std::string& detail) { throw FontFileError(kMalformed, detail); }

struct Tables {
    std::optional<TtfView> head, hhea, hmtx, cmap, name, glyf, loca, os2, post, maxp;
};

std::string tag_text(std::uint32_t tag) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>(tag >> shift);
        text += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
    }
    return text;
}

// Checks the header and the whole directory (a table cut off by the end of
// the file would be embedded cut off too) and locates the tables we read.
Tables locate_tables(const TtfView& file) {
    const std::uint32_t version = file.u32(0);
    if (version == 0x4F54544F) malformed("contorni CFF ('OTTO'), non TrueType");
    if (version == 0x74746366) malformed("raccolta di caratteri ('ttcf'), non un carattere solo");
    if (version != 0x00010000 && version != 0x74727565) malformed("non \xE8 un file TrueType");

    Tables tables;
    const std::int64_t count = file.u16(4);
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t entry = 12 + 16 * i;
        const std::uint32_t tag = file.u32(entry);
        const std::int64_t offset = file.u32(entry + 8);
        const std::int64_t length = file.u32(entry + 12);
        const std::string name = "tabella '" + tag_text(tag) + "'";
        if (offset + length > file.size()) throw FontFileError(kTruncated, name + " oltre la fine del file");
        std::optional<TtfView>* slot = nullptr;
        switch (tag) {
            case 0x68656164: slot = &tables.head; break;  // head
            case 0x68686561: slot = &tables.hhea; break;  // hhea
            case 0x686D7478: slot = &tables.hmtx; break;  // hmtx
            case 0x636D6170: slot = &tables.cmap; break;  // cmap
            case 0x6E616D65: slot = &tables.name; break;  // name
            case 0x676C7966: slot = &tables.glyf; break;  // glyf
            case 0x6C6F6361: slot = &tables.loca; break;  // loca
            case 0x4F532F32: slot = &tables.os2; break;   // OS/2
            case 0x706F7374: slot = &tables.post; break;  // post
            case 0x6D617870: slot = &tables.maxp; break;  // maxp
            default: break;
        }
        if (slot && !*slot) *slot = file.window(offset, length, kMalformed, name);
    }
    const std::pair<const std::optional<TtfView>*, const char*> required[] = {
        {&tables.head, "head"}, {&tables.hhea, "hhea"}, {&tables.hmtx, "hmtx"}, {&tables.cmap, "cmap"},
        {&tables.name, "name"}, {&tables.glyf, "glyf"}, {&tables.loca, "loca"}};
    for (const auto& [table, tag] : required)
        if (!*table) malformed(std::string("manca la tabella '") + tag + "'");
    return tables;
}

// A Windows character map of format 4 (segments of codes).
class CharacterMap {
public:
    CharacterMap(const TtfView& cmap, std::int64_t offset) : cmap_(cmap), offset_(offset) {
        const std::int64_t twice = cmap.u16(offset + 6);
        if (twice == 0 || twice % 2 != 0) malformed("mappa dei caratteri con " + std::to_string(twice) + " / 2 segmenti");
        segments_ = twice / 2;
        // The four arrays must be there in full, whatever codes are asked.
        (void)cmap.u16(offset + 16 + 8 * segments_ - 2);
    }

    // The glyph of character c by the format's rule: the first segment that
    // ends at or after c holds it when it starts at or before it.
    std::uint32_t glyph(std::uint32_t c) const {
        const std::int64_t ends = offset_ + 14;
        const std::int64_t starts = ends + 2 * segments_ + 2;
        const std::int64_t deltas = starts + 2 * segments_;
        const std::int64_t ranges = deltas + 2 * segments_;
        for (std::int64_t s = 0; s < segments_; ++s) {
            if (cmap_.u16(ends + 2 * s) < c) continue;
            const std::uint32_t start = cmap_.u16(starts + 2 * s);
            if (start > c) return 0;
            const std::uint32_t delta = cmap_.u16(deltas + 2 * s);
            const std::int64_t range_at = ranges + 2 * s;
            const std::uint32_t range = cmap_.u16(range_at);
            if (range == 0) return (c + delta) & 0xFFFF;
            const std::uint32_t g = cmap_.u16(range_at + range + 2 * static_cast<std::int64_t>(c - start));
            return g == 0 ? 0 : (g + delta) & 0xFFFF;
        }
        return 0;
    }

private:
    const TtfView& cmap_;
    std::int64_t offset_;
    std::int64_t segments_ = 0;
};

// The first Windows subtable of format 4 with Unicode (1) or symbol (0)
// characters; the other Windows encodings are national code pages whose
// codes would be misread as characters.
std::pair<std::int64_t, bool> find_character_map(const TtfView& cmap) {
    const std::int64_t count = cmap.u16(2);
    for (std::int64_t k = 0; k < count; ++k) {
        const std::uint16_t platform = cmap.u16(4 + 8 * k);
        const std::uint16_t encoding = cmap.u16(6 + 8 * k);
        if (platform != 3 || encoding > 1) continue;
        const std::int64_t offset = cmap.u32(8 + 8 * k);
        if (cmap.u16(offset) == 4) return {offset, encoding == 0};
    }
    malformed("manca una mappa dei caratteri Windows di formato 4");
}

// The character a viewer shows for a code of a text font. Windows-1252
// leaves five codes (and DEL) without a character; a viewer shows its
// bullet there.
char32_t character_of(unsigned char code, FontCodes codes) {
    if (codes == FontCodes::MacRoman) return mac_roman_to_unicode(code);
    switch (code) {
        case 0x7F: case 0x81: case 0x8D: case 0x8F: case 0x90: case 0x9D: return 0x2022;
        default: return cp1252_a_unicode(code);
    }
}

// One character of a name as a Windows-1252 byte; blanks, controls and
// characters the code page lacks are left out (0).
unsigned char name_byte(char32_t c) {
    if (c <= 0x20 || (c >= 0x7F && c <= 0xA0)) return 0;
    const auto byte = unicode_a_cp1252(c);
    return byte ? *byte : 0;
}

class NameTable {
public:
    explicit NameTable(const TtfView& name) : name_(name), count_(name.u16(2)), storage_(name.u16(4)) {}

    // The full name (ID 4) of the Windows records of `encoding`: the first
    // usable one, replaced by a later one in an English language.
    std::string windows_full_name(std::uint16_t encoding) const {
        static constexpr std::uint16_t kEnglish[] = {1033, 2057, 3081, 4105, 5129, 6153};
        std::string chosen;
        int taken = 0;
        for (std::int64_t k = 0; k < count_ && taken < 2; ++k) {
            if (field(k, 0) != 3 || field(k, 1) != encoding || field(k, 3) != 4) continue;
            const std::uint16_t language = field(k, 2);
            bool english = false;
            for (auto l : kEnglish) english = english || l == language;
            if (taken > 0 && !english) continue;
            std::string text = decode(k);
            if (text.empty()) continue;
            chosen = std::move(text);
            ++taken;
        }
        return chosen;
    }

    // The first usable record of the platform (3 Windows with encoding 0 or
    // 1, or 1 Macintosh Roman) and name ID.
    std::string first(std::uint16_t platform, std::uint16_t id) const {
        for (std::int64_t k = 0; k < count_; ++k) {
            if (field(k, 0) != platform || field(k, 3) != id) continue;
            const std::uint16_t encoding = field(k, 1);
            if (platform == 3 ? encoding > 1 : encoding != 0) continue;
            std::string text = decode(k);
            if (!text.empty()) return text;
        }
        return {};
    }

private:
    // Field i of record k: platform, encoding, language, ID, length, offset.
    std::uint16_t field(std::int64_t k, int i) const { return name_.u16(6 + 12 * k + 2 * i); }

    std::string decode(std::int64_t k) const {
        const TtfView text = name_.window(storage_ + field(k, 5), field(k, 4), kMalformed, "testo del nome");
        std::string out;
        if (field(k, 0) == 1) {
            for (std::int64_t i = 0; i < text.size(); ++i)
                if (auto b = name_byte(mac_roman_to_unicode(text.bytes()[static_cast<std::size_t>(i)]))) out += static_cast<char>(b);
        } else {
            for (std::int64_t i = 0; i + 1 < text.size(); i += 2)
                if (auto b = name_byte(text.u16(i))) out += static_cast<char>(b);
        }
        return out;
    }

    const TtfView& name_;
    std::int64_t count_;
    std::int64_t storage_;
};

std::int32_t clamp16(std::int64_t v) {
    return static_cast<std::int32_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

}  // namespace

TrueTypeMetrics read_truetype(std::span<const std::uint8_t> bytes, FontCodes codes) {
    const TtfView file(bytes, kTruncated, "il file");
    const Tables t = locate_tables(file);

    const std::uint16_t units_per_em = t.head->u16(18);
    // Outside this range no font is drawn sensibly, and 0 would divide by zero.
    if (units_per_em < 16 || units_per_em > 16384)
        malformed("unitsPerEm " + std::to_string(units_per_em) + " fuori da 16-16384");
    const std::int16_t loca_format = t.head->i16(50);
    if (loca_format != 0 && loca_format != 1) malformed("indexToLocFormat " + std::to_string(loca_format));
    const float scale = 1000.0f / static_cast<float>(units_per_em);
    // Current rounding mode: to nearest, halves to even.
    auto scaled = [scale](std::int64_t v) { return static_cast<std::int64_t>(std::llrint(static_cast<float>(v) * scale)); };

    const std::int64_t h_metrics = t.hhea->u16(34);
    if (h_metrics == 0) malformed("nessuna metrica orizzontale");
    if (t.hmtx->size() < 4 * h_metrics) malformed("tabella 'hmtx' pi\xF9 corta delle sue " + std::to_string(h_metrics) + " metriche");
    // Glyphs past the metrics share the last advance width.
    auto advance = [&](std::uint32_t g) {
        return t.hmtx->u16(4 * (g < h_metrics ? static_cast<std::int64_t>(g) : h_metrics - 1));
    };

    const std::int64_t loca_size = loca_format == 0 ? 2 : 4;
    std::int64_t glyph_count = t.loca->size() / loca_size - 1;
    // Renderers know as many glyphs as maxp counts.
    if (t.maxp) glyph_count = std::min<std::int64_t>(glyph_count, t.maxp->u16(4));
    if (glyph_count < 1) malformed("la tabella 'loca' non ha glifi");
    auto glyph_offset = [&](std::uint32_t g) -> std::int64_t {
        return loca_format == 0 ? 2 * static_cast<std::int64_t>(t.loca->u16(2 * g)) : t.loca->u32(4 * g);
    };

    const auto [map_offset, symbol] = find_character_map(*t.cmap);
    const CharacterMap map(*t.cmap, map_offset);

    TrueTypeMetrics m;
    std::array<std::int64_t, 4> box{};
    std::int64_t width_sum = 0;
    for (int code = 0; code < 256; ++code) {
        std::uint32_t g = 0;
        if (symbol) {
            g = map.glyph(static_cast<std::uint32_t>(code));
            if (g == 0) g = map.glyph(0xF000u + static_cast<std::uint32_t>(code));
        } else {
            g = map.glyph(character_of(static_cast<unsigned char>(code), codes));
        }
        if (g >= glyph_count) g = 0;  // a glyph the font does not have: viewers show glyph 0
        const auto width = clamp16(scaled(advance(g)));
        m.widths[static_cast<std::size_t>(code)] = static_cast<std::int16_t>(width);
        width_sum += width;

        const std::int64_t start = glyph_offset(g);
        const std::int64_t end = glyph_offset(g + 1);
        if (end < start) malformed("il glifo " + std::to_string(g) + " finisce prima di iniziare");
        if (end == start) continue;  // no outline: nothing to bound
        const TtfView glyph = t.glyf->window(start, end - start, kMalformed, "glifo " + std::to_string(g));
        if (glyph.i16(0) < 0) continue;  // composite glyphs are not measured
        box[0] = std::min<std::int64_t>(box[0], glyph.i16(2));
        box[1] = std::min<std::int64_t>(box[1], glyph.i16(4));
        box[2] = std::max<std::int64_t>(box[2], glyph.i16(6));
        box[3] = std::max<std::int64_t>(box[3], glyph.i16(8));
    }
    for (std::size_t i = 0; i < 4; ++i) m.bbox[i] = static_cast<std::int32_t>(scaled(box[i]));
    m.missing_width = static_cast<std::int32_t>(scaled(advance(0)));
    m.max_width = static_cast<std::int32_t>(scaled(t.hhea->u16(10)));

    std::int64_t weight = 400;
    if (t.os2) {
        m.avg_width = static_cast<std::int32_t>(scaled(t.os2->i16(2)));
        weight = t.os2->u16(4);
        m.ascent = static_cast<std::int32_t>(scaled(t.os2->u16(74)));
        m.descent = static_cast<std::int32_t>(-scaled(t.os2->u16(76)));
    } else {
        m.avg_width = static_cast<std::int32_t>(std::llrint(static_cast<double>(width_sum) / 256.0));
        m.ascent = static_cast<std::int32_t>(scaled(t.hhea->i16(4)));
        m.descent = static_cast<std::int32_t>(scaled(t.hhea->i16(6)));
    }
    m.bold = weight > 500;
    m.stem_v = m.bold ? 120 : 70;

    bool fixed_pitch = false;
    if (t.post) {
        const double angle = t.post->i16(4) + t.post->u16(6) / 65536.0;
        // angle * 100 is exact in double, so halves are seen as halves.
        m.italic_angle = static_cast<float>(std::nearbyint(angle * 100.0) / 100.0);
        fixed_pitch = t.post->u32(12) != 0;
    }
    m.italic = m.italic_angle != 0;
    m.flags = (m.italic ? 64 : 0) + (fixed_pitch ? 1 : 0) + (symbol ? 4 : 32);

    const NameTable names(*t.name);
    m.name = names.windows_full_name(symbol ? 0 : 1);
    if (m.name.empty()) m.name = names.first(1, 4);
    if (m.name.empty()) m.name = names.first(3, 6);
    if (m.name.empty()) m.name = names.first(1, 6);
    return m;
}

}  // namespace pdf
