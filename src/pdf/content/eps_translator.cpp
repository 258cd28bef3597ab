// The Illustrator path language over PostScript tokens.
#include "pdf/content/eps_translator.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

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

// The lines of the text, each without its end of line (CR, LF or CR LF).
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (at_ >= text_.size()) return false;
        std::size_t end = at_;
        while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
        line = text_.substr(at_, end - at_);
        at_ = end;
        if (at_ < text_.size() && text_[at_] == '\r') ++at_;
        if (at_ < text_.size() && text_[at_] == '\n') ++at_;
        return true;
    }
    std::size_t position() const { return at_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

bool starts(std::string_view line, std::string_view head) { return line.substr(0, head.size()) == head; }

struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;
};

class Translator {
public:
    Translator(const Box& box, VectorSize target)
        : box_(box), sx_(target.width / (box.right - box.left)), sy_(target.height / (box.top - box.bottom)) {
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
        if (untranslated(t)) picture_invalid("EPS operator the translator cannot follow: " + std::string(t));
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

    // Whether anything was filled or stroked.
    bool paints() const { return paints_; }

    std::string take() {
        for (; depth_ > 0; --depth_) line("Q");
        return std::move(out_);
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
    // EPS), changes of the coordinate system, paths, colours and shadings
    // of the PDF-like dialects that general PostScript writers use.
    static bool untranslated(std::string_view t) {
        static constexpr std::string_view kOperators[] = {
            "image", "imagemask", "colorimage", "XI", "cm", "concat", "setmatrix", "translate", "scale",
            "rotate", "re", "sh", "shfill", "Do", "cs", "CS", "sc", "SC", "scn", "SCN", "rg", "RG"};
        for (std::string_view o : kOperators)
            if (t == o) return true;
        return false;
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

    void line(const std::string& text) {
        if (!out_.empty()) out_ += "\r";
        out_ += text;
    }

    Box box_;
    double sx_, sy_;
    std::vector<double> stack_;
    std::vector<double> array_, dash_;
    bool in_array_ = false, have_dash_ = false;
    bool open_path_ = false;  // a subpath has begun and not been painted yet
    bool paints_ = false;
    int depth_ = 0;
    std::string out_;
};

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }
bool is_delimiter(char c) {
    return is_space(c) || c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

// Where the tokenizer is between lines: inside a (string) of this depth,
// inside a <hex string>, inside {procedures} of this depth.
struct Scan {
    int string_depth = 0;
    bool hex = false;
    int nesting = 0;
};

// Splits one line into tokens; strings, procedures and names are skipped
// (they carry nothing the path language draws with). Returns false when a
// `showpage` ends the picture.
bool translate_line(std::string_view line, Translator& t, Scan& scan) {
    std::size_t i = 0;
    int& nesting = scan.nesting;
    while (i < line.size()) {
        const char c = line[i];
        if (scan.string_depth > 0) {
            if (c == '\\') ++i;
            else if (c == '(') ++scan.string_depth;
            else if (c == ')') --scan.string_depth;
            ++i;
        } else if (scan.hex) {
            if (c == '>') scan.hex = false;
            ++i;
        } else if (is_space(c)) {
            ++i;
        } else if (c == '%') {
            return true;
        } else if (c == '(') {
            scan.string_depth = 1;
            ++i;
        } else if (c == '<') {
            // "<<" opens a dictionary, "<" a hex string.
            if (i + 1 < line.size() && line[i + 1] == '<') ++i;
            else scan.hex = true;
            ++i;
        } else if (c == ')' || c == '>') {
            ++i;
        } else if (c == '/') {
            ++i;
            while (i < line.size() && !is_delimiter(line[i])) ++i;
        } else if (c == '{') {
            ++nesting;
            ++i;
        } else if (c == '}') {
            if (nesting > 0) --nesting;
            ++i;
        } else if (c == '[') {
            t.array_open();
            ++i;
        } else if (c == ']') {
            t.array_close();
            ++i;
        } else {
            std::size_t end = i;
            while (end < line.size() && !is_delimiter(line[end])) ++end;
            const std::string_view token = line.substr(i, end - i);
            i = end;
            if (nesting > 0) continue;  // procedure bodies are definitions, not drawing
            double value = 0;
            if (t.in_array()) {
                if (number_of(token, value)) t.array_number(value);
                continue;
            }
            if (!t.token(token)) return false;
        }
    }
    return true;
}

}  // namespace

VectorDrawing translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit) {
    const std::string_view text = postscript_of(file);
    if (text.substr(0, 2) != "%!") picture_invalid("not a PostScript file");

    // The bounding box (the first with four numbers: "(atend)" defers it to
    // the trailer), and where the drawing starts.
    Box box;
    bool have_box = false;
    std::size_t start = 0, after_comments = 0;
    {
        Lines lines(text);
        std::string_view line;
        while (lines.next(line)) {
            if (!have_box && starts(line, "%%BoundingBox:")) {
                double v[4];
                std::string_view rest = line.substr(14);
                int found = 0;
                while (found < 4 && !rest.empty()) {
                    while (!rest.empty() && is_space(rest[0])) rest.remove_prefix(1);
                    std::size_t end = 0;
                    while (end < rest.size() && !is_space(rest[end])) ++end;
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

    VectorDrawing drawing;
    drawing.size = fit({box.right - box.left, box.top - box.bottom});
    Translator translate(box, drawing.size);
    Lines lines(text.substr(start));
    std::string_view line;
    Scan scan;
    while (lines.next(line)) {
        if (scan.string_depth == 0 &&
            (starts(line, "%%PageTrailer") || starts(line, "%%Trailer") || starts(line, "%%EOF")))
            break;
        if (!translate_line(line, translate, scan)) break;
    }
    if (!translate.paints()) picture_invalid("EPS without painting the translator can draw");
    drawing.operators = translate.take();
    return drawing;
}

}  // namespace pdf
