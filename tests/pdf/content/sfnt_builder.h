// A small TrueType file writer for exact font cases: every value the reader
// takes can be set, every table left out, and the glyphs are real (one
// rectangle each), so that renderers can draw the font.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fonttest {

struct Glyph {
    Glyph(std::uint16_t advance, std::int16_t x_min = 0, std::int16_t y_min = 0, std::int16_t x_max = 0,
          std::int16_t y_max = 0, bool composite = false)
        : advance(advance), x_min(x_min), y_min(y_min), x_max(x_max), y_max(y_max), composite(composite) {}
    std::uint16_t advance;
    std::int16_t x_min, y_min, x_max, y_max;  // equal corners: an empty glyph
    bool composite;
    bool no_contours = false;  // a simple glyph of 0 contours with its box
};

// Characters first..last map to glyph (c + delta) mod 65536, or, when `ids`
// is given, to ids[c - first] plus delta (a fetched 0 stays 0).
struct Segment {
    Segment(std::uint16_t first, std::uint16_t last, std::uint16_t delta, std::vector<std::uint16_t> ids = {})
        : first(first), last(last), delta(delta), ids(std::move(ids)) {}
    std::uint16_t first, last, delta;
    std::vector<std::uint16_t> ids;
};

struct NameRecord {
    std::uint16_t platform = 3, encoding = 1, language = 1033, id = 4;
    std::string text;  // Latin-1: one byte per character (Macintosh records: the bytes as they are)
};

struct Sfnt {
    std::uint32_t version = 0x00010000;
    std::uint16_t units_per_em = 2048;
    std::int16_t loca_format = 0;
    // 0 .notdef, 1 space (1024 = 500 at 2048 units), 2 'A', 3 'B'.
    std::vector<Glyph> glyphs = {{1536, 100, 0, 1400, 1600}, {1024}, {1400, 0, -400, 1350, 1500},
                                 {1300, 60, 0, 1200, 1500}};
    std::uint16_t h_metrics = 0;  // 0: one per glyph
    std::uint16_t maxp_glyphs = 0;  // 0: the number of glyphs
    std::uint16_t advance_width_max = 1536;
    std::int16_t ascender = 1900, descender = -500;
    std::uint16_t cmap_platform = 3, cmap_encoding = 1;
    std::vector<Segment> segments = {{32, 32, static_cast<std::uint16_t>(1 - 32)},
                                     {65, 66, static_cast<std::uint16_t>(2 - 65)}};
    std::vector<NameRecord> names = {{3, 1, 1033, 4, "Test Sans"}, {3, 1, 1033, 6, "TestSans-Regular"}};
    std::int16_t avg_width = 1200;
    std::uint16_t weight = 400, win_ascent = 1900, win_descent = 500;
    std::int32_t italic_angle = 0;  // 16.16 fixed point
    std::uint32_t fixed_pitch = 0;
    std::set<std::string> omit;                       // tables left out
    std::map<std::string, std::size_t> cut;           // tables cut to this length

    std::string bytes() const {
        std::map<std::string, std::string> t;
        std::string glyf, loca;
        auto u16 = [](std::string& s, unsigned v) { s += char(v >> 8 & 255); s += char(v & 255); };
        auto u32 = [&](std::string& s, std::uint32_t v) { u16(s, v >> 16); u16(s, v & 0xFFFF); };
        auto pad = [](std::string s, std::size_t n) { s.resize(std::max(s.size(), n)); return s; };
        for (const Glyph& g : glyphs) {
            loca_format ? u32(loca, unsigned(glyf.size())) : u16(loca, unsigned(glyf.size() / 2));
            if (g.x_min == g.x_max && g.y_min == g.y_max) continue;
            std::string d;
            for (int v : {g.composite ? -1 : g.no_contours ? 0 : 1, +g.x_min, +g.y_min, +g.x_max, +g.y_max})
                u16(d, unsigned(v) & 0xFFFF);
            if (g.no_contours) {
                u16(d, 0);  // no instructions
            } else if (g.composite) {
                for (unsigned v : {0x0002u, 0u}) u16(d, v);  // glyph 0, byte offsets 0 0
                d += std::string(2, '\0');
            } else {  // one contour through the box's four corners
                for (unsigned v : {3u, 0u}) u16(d, v);
                d += std::string(4, '\1');
                for (int v : {+g.x_min, g.x_max - g.x_min, 0, g.x_min - g.x_max, +g.y_min, 0, g.y_max - g.y_min, 0})
                    u16(d, unsigned(v) & 0xFFFF);
            }
            glyf += d;
        }
        loca_format ? u32(loca, unsigned(glyf.size())) : u16(loca, unsigned(glyf.size() / 2));
        t["glyf"] = glyf;
        t["loca"] = loca;
        std::string& head = t["head"];
        u32(head, 0x00010000), u32(head, 0), u32(head, 0), u32(head, 0x5F0F3CF5), u16(head, 0x000B);
        u16(head, units_per_em);
        head = pad(head, 50);
        u16(head, unsigned(loca_format)), u16(head, 0);
        const unsigned metrics = h_metrics ? h_metrics : unsigned(glyphs.size());
        std::string& hhea = t["hhea"];
        u32(hhea, 0x00010000), u16(hhea, unsigned(ascender) & 0xFFFF), u16(hhea, unsigned(descender) & 0xFFFF);
        u16(hhea, 0), u16(hhea, advance_width_max);
        hhea = pad(hhea, 34);
        u16(hhea, metrics);
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            if (i < metrics) u16(t["hmtx"], glyphs[i].advance);
            u16(t["hmtx"], unsigned(glyphs[i].x_min) & 0xFFFF);
        }
        std::string& maxp = t["maxp"];
        u32(maxp, 0x00010000), u16(maxp, maxp_glyphs ? maxp_glyphs : unsigned(glyphs.size())), u16(maxp, 4), u16(maxp, 1);
        maxp = pad(maxp, 14), u16(maxp, 2), maxp = pad(maxp, 32);
        // cmap: one format-4 subtable, the closing FFFF segment added.
        std::vector<Segment> segs = segments;
        segs.push_back({0xFFFF, 0xFFFF, 1});
        const unsigned n = unsigned(segs.size());
        std::string sub, ids;
        u16(sub, 4), u16(sub, 0), u16(sub, 0), u16(sub, 2 * n), u16(sub, 2), u16(sub, 0), u16(sub, 2 * n - 2);
        for (const auto& s : segs) u16(sub, s.last);
        u16(sub, 0);
        for (const auto& s : segs) u16(sub, s.first);
        for (const auto& s : segs) u16(sub, s.delta);
        for (unsigned i = 0; i < n; ++i) {
            u16(sub, segs[i].ids.empty() ? 0 : 2 * (n - i) + unsigned(ids.size()));
            for (auto id : segs[i].ids) u16(ids, id);
        }
        sub += ids;
        sub[2] = char(sub.size() >> 8), sub[3] = char(sub.size() & 255);
        std::string& cmap = t["cmap"];
        u16(cmap, 0), u16(cmap, 1), u16(cmap, cmap_platform), u16(cmap, cmap_encoding), u32(cmap, 12);
        cmap += sub;
        std::string& name = t["name"];
        std::string storage;
        u16(name, 0), u16(name, unsigned(names.size())), u16(name, unsigned(6 + 12 * names.size()));
        for (const auto& r : names) {
            std::string text;
            for (char c : r.text) r.platform == 1 ? void(text += c) : u16(text, static_cast<unsigned char>(c));
            for (unsigned v : {unsigned(r.platform), unsigned(r.encoding), unsigned(r.language), unsigned(r.id),
                               unsigned(text.size()), unsigned(storage.size())})
                u16(name, v);
            storage += text;
        }
        name += storage;
        std::string& post = t["post"];
        u32(post, 0x00030000), u32(post, std::uint32_t(italic_angle)), u32(post, 0), u32(post, fixed_pitch);
        post = pad(post, 32);
        std::string& os2 = t["OS/2"];
        u16(os2, 1), u16(os2, unsigned(avg_width) & 0xFFFF), u16(os2, weight), u16(os2, 5);
        os2 = pad(os2, 74), u16(os2, win_ascent), u16(os2, win_descent), os2 = pad(os2, 86);

        for (const auto& tag : omit) t.erase(tag);
        for (const auto& [tag, length] : cut) t[tag].resize(length);
        std::string out;
        u32(out, version), u16(out, unsigned(t.size())), u16(out, 16), u16(out, 0), u16(out, 0);
        std::string data;
        for (const auto& [tag, table] : t) {
            std::uint32_t sum = 0;
            for (std::size_t i = 0; i < table.size(); ++i)
                sum += std::uint32_t(static_cast<unsigned char>(table[i])) << (24 - 8 * (i % 4));
            out += tag, u32(out, sum), u32(out, unsigned(12 + 16 * t.size() + data.size())), u32(out, unsigned(table.size()));
            data += table + std::string((4 - table.size() % 4) % 4, '\0');
        }
        return out + data;
    }
};

}  // namespace fonttest
