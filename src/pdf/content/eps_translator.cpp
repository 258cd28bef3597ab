// The Illustrator path language over PostScript tokens.
#include "pdf/content/eps_translator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/eps_definitions.h"
#include "pdf/content/picture.h"
#include "pdf/content/postscript_tokens.h"

namespace pdf {

namespace {

std::string_view text_of(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The PostScript section of a DOS binary EPS, else the whole file.
std::string_view postscript_of(std::span<const std::uint8_t> file) {
    ByteCursor at(file);
    if (file.size() >= 4 && file[0] == 0xC5 && file[1] == 0xD0 && file[2] == 0xD3 && file[3] == 0xC6) {
        at.skip(4);
        const std::uint32_t offset = at.u32le();
        const std::uint32_t length = at.u32le();
        at.seek(offset);
        return text_of(at.bytes(length));
    }
    return text_of(file);
}

bool number_of(std::string_view token, double& value) {
    if (token.empty()) return false;
    std::string_view t = token;
    if (t[0] == '+') t.remove_prefix(1);
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() && std::isfinite(value);
}

bool starts(std::string_view line, std::string_view head) { return line.substr(0, head.size()) == head; }

struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;
};

// The operators the translator gives a meaning of its own, whatever the
// file defines them as.
bool translated(std::string_view t) {
    static constexpr std::string_view kOperators[] = {
        "m", "l", "L", "c", "C", "v", "V", "y", "Y", "h", "H", "n", "N", "f", "F", "s", "S", "b", "B", "W",
        "g", "G", "k", "K", "x", "X", "Xa", "XA", "w", "j", "J", "M", "d", "q", "Q", "showpage"};
    return std::ranges::find(kOperators, t) != std::end(kOperators);
}

class Translator {
public:
    Translator(const Box& box, VectorSize target, VectorOut& out,
               const std::unordered_set<std::string_view>& hidden_painting)
        : box_(box), sx_(target.width / (box.right - box.left)), sy_(target.height / (box.top - box.bottom)),
          out_(out), hidden_painting_(hidden_painting) {
        // PostScript's initial state, whatever the page was drawing with.
        line("0 g 0 G " + length(1) + " w [] 0 d 0 j 0 J 10 M");
    }

    // Returns false at `showpage`.
    bool token(std::string_view t) {
        double value = 0;
        if (number_of(t, value)) {
            // Operands beyond any operator's need are dropped from the bottom.
            if (stack_.size() >= 64) stack_.erase(stack_.begin());
            stack_.push_back(value);
            return true;
        }
        if (t == "showpage") return false;
        refuse_untranslated(t);
        op(t);
        stack_.clear();
        return true;
    }
    void array_open() { in_array_ = true, array_.clear(); }
    void array_close() {
        in_array_ = false;
        dash_ = array_;
        have_dash_ = true;
    }
    bool in_array() const { return in_array_; }
    void array_number(double v) {
        if (array_.size() < 64) array_.push_back(v);
    }

    // Refuses (321) an operator, or a name of the file's, that paints in a
    // way the translator cannot follow.
    void refuse_untranslated(std::string_view t) const {
        if (untranslated(t)) picture_invalid("EPS operator the translator cannot follow: " + std::string(t));
        if (hidden_painting_.contains(t))
            picture_invalid("EPS image or text the translator cannot draw, through " + std::string(t));
    }

    // Whether anything was filled or stroked.
    bool paints() const { return paints_; }

    // Closes the groups left open.
    void finish() {
        for (; depth_ > 0; --depth_) line("Q");
    }

private:
    std::string x(double v) const { return vector_number((v - box_.left) * sx_); }
    std::string y(double v) const { return vector_number((v - box_.bottom) * sy_); }
    std::string length(double v) const { return vector_number(v * std::sqrt(std::abs(sx_ * sy_))); }
    std::string pt(std::size_t i) const { return x(stack_[i]) + " " + y(stack_[i + 1]); }
    static std::string plain(double v) { return vector_number(v); }

    bool operands(std::size_t n) const { return stack_.size() >= n; }
    // The last n operands start here.
    std::size_t base(std::size_t n) const { return stack_.size() - n; }

    // Painting that would come out wrong without them: pictures (raster
    // EPS) and text, changes of the coordinate system, paths, colours and
    // shadings of the PDF-like dialects that general PostScript writers use.
    static bool untranslated(std::string_view t) {
        static constexpr std::string_view kOperators[] = {
            "cm", "concat", "setmatrix", "translate", "scale", "rotate", "re", "sh", "shfill",
            "Do", "cs", "CS", "sc", "SC", "scn", "SCN", "rg", "RG"};
        return std::ranges::find(kOperators, t) != std::end(kOperators) || paints_image_or_text(t);
    }

    void op(std::string_view t) {
        if (t == "m" && operands(2)) {
            line(pt(base(2)) + " m");
            open_path_ = true;
        } else if (is_path_piece(t) || is_painting(t) || t == "W") {
            // Without a current point a PDF reader has no path to extend,
            // close, paint or clip with.
            if (open_path_) on_open_path(t);
        } else if ((t == "g" || t == "G") && operands(1)) {
            line(plain(clamp(stack_.back())) + (t == "g" ? " g" : " G"));
        } else if ((t == "k" || t == "K") && operands(4)) {
            const auto b = base(4);
            line(colour(b, 4) + (t == "k" ? " k" : " K"));
        } else if ((t == "x" || t == "X") && operands(5)) {
            // A custom colour: its CMYK, the name (a string, skipped), and
            // a tint of 0 for the full colour up to 1 for none.
            const auto b = base(5);
            const double strength = 1 - clamp(stack_.back());
            std::string c;
            for (std::size_t i = 0; i < 4; ++i) c += plain(clamp(stack_[b + i]) * strength) + " ";
            line(c + (t == "x" ? "k" : "K"));
        } else if ((t == "Xa" || t == "XA") && operands(3)) {
            const auto b = base(3);
            line(colour(b, 3) + (t == "Xa" ? " rg" : " RG"));
        } else if (t == "w" && operands(1)) {
            line(length(std::abs(stack_.back())) + " w");
        } else if ((t == "j" || t == "J") && operands(1)) {
            const double v = stack_.back();
            if (v == 0 || v == 1 || v == 2) line(plain(v) + " " + std::string(t));
        } else if (t == "M" && operands(1)) {
            if (stack_.back() >= 1) line(plain(stack_.back()) + " M");
        } else if (t == "d" && operands(1) && have_dash_) {
            std::string pattern = "[";
            for (std::size_t i = 0; i < dash_.size(); ++i) {
                if (i > 0) pattern += ' ';
                pattern += length(std::abs(dash_[i]));
            }
            line(pattern + "] " + length(std::abs(stack_.back())) + " d");
            have_dash_ = false;
        } else if (t == "q") {
            ++depth_;
            line("q");
        } else if (t == "Q") {
            // An unmatched Q would undo the placement itself.
            if (depth_ > 0) {
                --depth_;
                line("Q");
            }
        }
    }

    static bool is_path_piece(std::string_view t) {
        return t == "l" || t == "L" || t == "c" || t == "C" || t == "v" || t == "V" || t == "y" || t == "Y" ||
               t == "h" || t == "H";
    }
    static bool is_painting(std::string_view t) {
        return t == "n" || t == "N" || t == "f" || t == "F" || t == "s" || t == "S" || t == "b" || t == "B";
    }

    // A piece added to the open path, or its painting or clipping.
    void on_open_path(std::string_view t) {
        if ((t == "l" || t == "L") && operands(2)) {
            line(pt(base(2)) + " l");
        } else if ((t == "c" || t == "C") && operands(6)) {
            const auto b = base(6);
            line(pt(b) + " " + pt(b + 2) + " " + pt(b + 4) + " c");
        } else if ((t == "v" || t == "V") && operands(4)) {
            const auto b = base(4);
            line(pt(b) + " " + pt(b + 2) + " v");
        } else if ((t == "y" || t == "Y") && operands(4)) {
            const auto b = base(4);
            line(pt(b) + " " + pt(b + 2) + " y");
        } else if (t == "h" || t == "H") {
            line("h");
        } else if (t == "W") {
            line("W");
        } else if (is_painting(t)) {
            const bool ends = t == "n" || t == "N";
            line(ends ? "n" : t == "f" ? "h f" : t == "F" ? "f" : std::string(t));
            paints_ = paints_ || !ends;
            open_path_ = false;
        }
    }

    static double clamp(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
    std::string colour(std::size_t b, std::size_t n) const {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) {
            if (i > 0) s += ' ';
            s += plain(clamp(stack_[b + i]));
        }
        return s;
    }

    void line(const std::string& text) { out_.line(text); }

    Box box_;
    double sx_, sy_;
    std::vector<double> stack_;
    std::vector<double> array_, dash_;
    bool in_array_ = false, have_dash_ = false;
    bool open_path_ = false;  // a subpath has begun and not been painted yet
    bool paints_ = false;
    int depth_ = 0;
    VectorOut& out_;
    const std::unordered_set<std::string_view>& hidden_painting_;
};

// Translates the tokens of one line; procedures are definitions, not
// drawing. Returns false when a `showpage` ends the picture.
bool translate_line(std::string_view line, Translator& t, PsScan& scan) {
    return scan_postscript_line(line, scan, [&](PsToken kind, std::string_view token) {
        switch (kind) {
            case PsToken::ArrayOpen: t.array_open(); return true;
            case PsToken::ArrayClose: t.array_close(); return true;
            case PsToken::Name: break;
            case PsToken::Immediate:
                // The operator itself, run where it stands.
                if (scan.nesting == 0) t.refuse_untranslated(token);
                return true;
            default: return true;
        }
        if (scan.nesting > 0) return true;
        double value = 0;
        if (t.in_array()) {
            if (number_of(token, value)) t.array_number(value);
            return true;
        }
        return t.token(token);
    });
}

}  // namespace

VectorSize translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out) {
    const std::string_view text = postscript_of(file);
    if (text.substr(0, 2) != "%!") picture_invalid("not a PostScript file");

    // The bounding box (the first with four numbers: "(atend)" defers it to
    // the trailer), and where the drawing starts.
    Box box;
    bool have_box = false;
    std::size_t start = 0, after_comments = 0;
    {
        PsLines lines(text);
        std::string_view line;
        while (lines.next(line)) {
            if (!have_box && starts(line, "%%BoundingBox:")) {
                double v[4];
                std::string_view rest = line.substr(14);
                int found = 0;
                while (found < 4 && !rest.empty()) {
                    while (!rest.empty() && ps_space(rest[0])) rest.remove_prefix(1);
                    std::size_t end = 0;
                    while (end < rest.size() && !ps_space(rest[end])) ++end;
                    if (end == 0 || !number_of(rest.substr(0, end), v[found])) break;
                    ++found;
                    rest.remove_prefix(end);
                }
                if (found == 4) {
                    box = {v[0], v[1], v[2], v[3]};
                    have_box = true;
                }
            } else if (starts(line, "%%EndComments") && after_comments == 0) {
                after_comments = lines.position();
            } else if (starts(line, "%%EndProlog") || starts(line, "%%EndSetup")) {
                start = lines.position();
            }
        }
    }
    if (!have_box || !(box.right > box.left) || !(box.top > box.bottom)) picture_invalid("EPS bounding box");
    if (start == 0) start = after_comments;
    const auto hidden_painting = names_painting_images_or_text(text, translated);

    const VectorSize size = fit({box.right - box.left, box.top - box.bottom});
    Translator translate(box, size, out, hidden_painting);
    PsLines lines(text.substr(start));
    std::string_view line;
    PsScan scan;
    while (lines.next(line)) {
        if (scan.string_depth == 0 &&
            (starts(line, "%%PageTrailer") || starts(line, "%%Trailer") || starts(line, "%%EOF")))
            break;
        if (!translate_line(line, translate, scan)) break;
    }
    if (!translate.paints()) picture_invalid("EPS without painting the translator can draw");
    translate.finish();
    return size;
}

VectorDrawing translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit) {
    return translate_apart(translate_eps, file, fit);
}

}  // namespace pdf
