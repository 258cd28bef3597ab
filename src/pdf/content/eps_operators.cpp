// Illustrator's and PostScript's path language as page-content operators.
#include "pdf/content/eps_operators.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <vector>

#include "pdf/content/picture.h"

namespace pdf {

namespace {

constexpr EpsOperator kOperators[] = {
    {"m", "nn"}, {"l", "nn"}, {"L", "nn"}, {"c", "nnnnnn"}, {"C", "nnnnnn"}, {"v", "nnnn"}, {"V", "nnnn"},
    {"y", "nnnn"}, {"Y", "nnnn"}, {"h", ""}, {"H", ""}, {"n", ""}, {"N", ""}, {"f", ""}, {"F", ""}, {"s", ""},
    {"S", ""}, {"b", ""}, {"B", ""}, {"W", ""}, {"g", "n"}, {"G", "n"}, {"k", "nnnn"}, {"K", "nnnn"},
    {"x", "nnnnsn"}, {"X", "nnnnsn"}, {"Xa", "nnn"}, {"XA", "nnn"}, {"w", "n"}, {"j", "i"}, {"J", "i"},
    {"M", "n"}, {"d", "an"}, {"q", ""}, {"Q", ""}, {"*u", ""}, {"*U", ""}, {"XR", "n"}, {"u", ""}, {"U", ""},
    {"A", "n"}, {"O", "n"}, {"R", "n"}, {"i", "n"}, {"D", "n"}, {"Ap", "n"}, {"Ar", "n"}, {"Lb", "*"},
    {"LB", ""}, {"Ln", "s"},
    {"newpath", "", true}, {"moveto", "nn", true}, {"lineto", "nn", true}, {"curveto", "nnnnnn", true},
    {"closepath", "", true}, {"rmoveto", "nn", true}, {"rlineto", "nn", true}, {"rcurveto", "nnnnnn", true},
    {"fill", "", true}, {"eofill", "", true}, {"stroke", "", true}, {"rectfill", "nnnn", true},
    {"rectstroke", "nnnn", true}, {"clip", "", true}, {"eoclip", "", true}, {"gsave", "", true},
    {"grestore", "", true}, {"setgray", "n", true}, {"setrgbcolor", "nnn", true}, {"setcmykcolor", "nnnn", true},
    {"setlinewidth", "n", true}, {"setlinecap", "i", true}, {"setlinejoin", "i", true},
    {"setmiterlimit", "n", true}, {"setdash", "an", true}};

// A path longer than this is written as it grows; nothing may then be set
// before its painting.
constexpr std::size_t kMostHeldPath = 1u << 20;
// Points, far beyond any page: the writer's numbers have seven digits.
constexpr double kLargestNumber = 1e6;

[[noreturn]] void refuse(std::string_view op, std::string_view why) {
    picture_invalid("EPS " + std::string(op) + " " + std::string(why));
}

double clamp(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
std::string plain(double v) { return vector_number(v); }
std::string colour(std::span<const double> v) {
    std::string s;
    for (const double c : v) s += (s.empty() ? "" : " ") + plain(clamp(c));
    return s;
}

}  // namespace

const EpsOperator* eps_operator(std::string_view name) {
    // Looked up for every name of a drawing.
    static const std::vector<EpsOperator> sorted = [] {
        std::vector<EpsOperator> operators(std::begin(kOperators), std::end(kOperators));
        std::ranges::sort(operators, {}, &EpsOperator::name);
        return operators;
    }();
    const auto at = std::ranges::lower_bound(sorted, name, {}, &EpsOperator::name);
    return at != sorted.end() && at->name == name ? &*at : nullptr;
}

EpsPainter::EpsPainter(const EpsBox& box, VectorSize target, VectorOut& out)
    : box_(box), sx_(target.width / (box.right - box.left)), sy_(target.height / (box.top - box.bottom)), out_(out) {
    out_.line("0 g 0 G " + length(1) + " w [] 0 d 0 j 0 J 10 M");
}

std::string EpsPainter::number(double v) const {
    if (!(std::abs(v) < kLargestNumber)) refuse(op_, "with a number beyond what a page holds");
    return vector_number(v);
}
std::string EpsPainter::x(double v) const { return number((v - box_.left) * sx_); }
std::string EpsPainter::y(double v) const { return number((v - box_.bottom) * sy_); }
std::string EpsPainter::length(double v) const { return number(v * std::sqrt(std::abs(sx_ * sy_))); }

void EpsPainter::run(const EpsOperator& op, std::span<const double> numbers, std::span<const double> array) {
    const std::string_view t = op.name;
    op_ = t;
    if (!clip_.empty()) {
        // Illustrator's n and N end a path painting nothing, as newpath does
        // (a procedure set whose W is clip).
        if (t != "newpath" && t != "n" && t != "N")
            refuse(t, "after clip or eoclip, where only newpath, n or N is taken");
        clip_ += "\rn";
        paint(clip_, false);
        clip_.clear();
        return;
    }
    if (path_piece(t, numbers, op.postscript) || painting(t) || state(t, numbers, array) || structure(t, numbers))
        return;
    // The rest draw nothing.
}

bool EpsPainter::path_piece(std::string_view t, std::span<const double> v, bool postscript) {
    if (t == "m" || t == "moveto" || t == "rmoveto") {
        if (t == "rmoveto" && !open_) refuse(t, "without a current point");
        const bool relative = t == "rmoveto";
        move_to((relative ? cx_ : 0) + v[0], (relative ? cy_ : 0) + v[1]);
        return true;
    }
    const bool line = t == "l" || t == "L" || t == "lineto" || t == "rlineto";
    const bool curve = t == "c" || t == "C" || t == "curveto" || t == "rcurveto";
    const bool from_current = t == "v" || t == "V";  // its first control point is the current point
    const bool to_end = t == "y" || t == "Y";        // its second control point is its end
    const bool close = t == "h" || t == "H" || t == "closepath";
    if (!line && !curve && !from_current && !to_end && !close) return false;
    if (!open_) {
        // Illustrator's pieces without a current point are dropped; closing
        // nothing does nothing.
        if (postscript && !close) refuse(t, "without a current point");
        return true;
    }
    const bool relative = t == "rlineto" || t == "rcurveto";
    const double ox = relative ? cx_ : 0, oy = relative ? cy_ : 0;
    if (line) {
        cx_ = ox + v[0], cy_ = oy + v[1];
        add(point(cx_, cy_) + " l");
    } else if (curve) {
        add(point(ox + v[0], oy + v[1]) + " " + point(ox + v[2], oy + v[3]) + " " + point(ox + v[4], oy + v[5]) +
            " c");
        cx_ = ox + v[4], cy_ = oy + v[5];
    } else if (from_current || to_end) {
        add(point(v[0], v[1]) + " " + point(v[2], v[3]) + (to_end ? " y" : " v"));
        cx_ = v[2], cy_ = v[3];
    } else {
        add("h");
        cx_ = start_x_, cy_ = start_y_;
    }
    return true;
}

bool EpsPainter::painting(std::string_view t) {
    if (t.size() == 1 && std::string_view("nNfFsSbB").find(t[0]) != std::string_view::npos) {
        if (!open_) return true;
        if (compound_) {
            // A part of the compound path: painted with the others at *U.
            if (t == "f" || t == "s" || t == "b") {
                add("h");
                cx_ = start_x_, cy_ = start_y_;
            }
            compound_painting_ = t[0];
        } else {
            paint(illustrator_painting(t[0], false), t != "n" && t != "N");
        }
        return true;
    }
    if (t == "W") {
        if (open_) illustrator_clip_ = true;
        return true;
    }
    if (t == "fill" || t == "eofill" || t == "stroke") {
        if (compound_) refuse(t, "inside a compound path");
        if (illustrator_clip_) refuse(t, "after W");
        if (open_) paint(t == "fill" ? "f" : t == "eofill" ? "f*" : "S", true);
        return true;
    }
    return false;
}

std::string EpsPainter::illustrator_painting(char op, bool compound_end) const {
    const std::string fill = even_odd_ ? "f*" : "f";
    const std::string both = even_odd_ ? "*" : "";
    std::string p;
    switch (op) {
        case 'f': p = compound_end ? fill : "h " + fill; break;
        case 'F': p = fill; break;
        case 's': p = compound_end ? "S" : "s"; break;
        case 'S': p = "S"; break;
        case 'b': p = (compound_end ? "B" : "b") + both; break;
        case 'B': p = "B" + both; break;
        default: p = "n"; break;
    }
    return illustrator_clip_ ? (even_odd_ ? "W*\r" : "W\r") + p : p;
}

bool EpsPainter::state(std::string_view t, std::span<const double> v, std::span<const double> array) {
    if (t == "g" || t == "G") {
        set(t, plain(clamp(v[0])) + (t == "g" ? " g" : " G"));
    } else if (t == "k" || t == "K") {
        set(t, colour(v) + (t == "k" ? " k" : " K"));
    } else if (t == "x" || t == "X") {
        // A custom colour: its CMYK and a tint of 0 for the full colour up
        // to 1 for none (its name, a string, is not among the numbers).
        const double strength = 1 - clamp(v[4]);
        std::string c;
        for (std::size_t i = 0; i < 4; ++i) c += plain(clamp(v[i]) * strength) + " ";
        set(t, c + (t == "x" ? "k" : "K"));
    } else if (t == "Xa" || t == "XA") {
        set(t, colour(v) + (t == "Xa" ? " rg" : " RG"));
    } else if (t == "setgray" || t == "setrgbcolor" || t == "setcmykcolor") {
        const std::string c = colour(v);
        const std::string op = v.size() == 1 ? "g" : v.size() == 3 ? "rg" : "k";
        std::string stroking = op;
        for (char& c : stroking) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        set(t, c + " " + op + " " + c + " " + stroking);
    } else if (t == "w" || t == "setlinewidth") {
        set(t, length(std::abs(v[0])) + " w");
    } else if (t == "j" || t == "J" || t == "setlinejoin" || t == "setlinecap") {
        if (v[0] != 0 && v[0] != 1 && v[0] != 2) refuse(t, "with a value other than 0, 1 or 2");
        set(t, plain(v[0]) + (t == "j" || t == "setlinejoin" ? " j" : " J"));
    } else if (t == "M" || t == "setmiterlimit") {
        if (!(v[0] >= 1)) refuse(t, "below 1");
        set(t, number(v[0]) + " M");
    } else if (t == "d" || t == "setdash") {
        set(t, dash(t, array, v[0]));
    } else {
        return false;
    }
    return true;
}

std::string EpsPainter::dash(std::string_view t, std::span<const double> array, double offset) const {
    // PostScript refuses a negative length and a pattern of no length; an
    // offset before the start is the same place one period later.
    double period = 0;
    std::string pattern = "[";
    for (std::size_t i = 0; i < array.size(); ++i) {
        if (!(array[i] >= 0)) refuse(t, "with a negative dash");
        period += array[i];
        pattern += (i > 0 ? " " : "") + length(array[i]);
    }
    if (!array.empty() && !(period > 0)) refuse(t, "with dashes of no length");
    if (array.size() % 2 == 1) period *= 2;
    if (offset < 0 && period > 0) offset = std::fmod(offset, period) + period;
    return pattern + "] " + length(std::abs(offset)) + " d";
}

bool EpsPainter::structure(std::string_view t, std::span<const double> v) {
    if (t == "q" || t == "gsave" || t == "Q" || t == "grestore") {
        // The path is part of the state: one open at gsave comes back at
        // its grestore (`gsave fill grestore stroke`), and one built since
        // is dropped. A path already partly written cannot be.
        if (compound_ || path_written_) refuse(t, "with a path open");
        if (t == "q" || t == "gsave") {
            saved_bytes_ += path_.size();
            if (saved_bytes_ > kMostHeldPath) refuse(t, "with more path open than the translator holds");
            saved_.push_back({path_, open_, cx_, cy_, start_x_, start_y_, illustrator_clip_});
            out_.line("q");
        } else {
            if (saved_.empty()) refuse(t, "without its gsave or q");
            const SavedPath& p = saved_.back();
            path_ = p.pieces;
            open_ = p.open;
            cx_ = p.cx, cy_ = p.cy, start_x_ = p.start_x, start_y_ = p.start_y;
            illustrator_clip_ = p.illustrator_clip;
            saved_bytes_ -= p.pieces.size();
            saved_.pop_back();
            out_.line("Q");
        }
    } else if (t == "newpath" || t == "clip" || t == "eoclip" || t == "rectfill" || t == "rectstroke") {
        if (compound_) refuse(t, "inside a compound path");
        if (t == "newpath") {
            discard_path();
        } else if (t == "clip" || t == "eoclip") {
            if (!open_) refuse(t, "without a path");
            clip_ = t == "clip" ? "W" : "W*";
        } else {
            if (open_) refuse(t, "with a path open");
            out_.line(point(v[0], v[1]) + " " + number(v[2] * sx_) + " " + number(v[3] * sy_) +
                      (t == "rectfill" ? " re f" : " re S"));
            paints_ = true;
        }
    } else if (t == "*u") {
        if (open_ || compound_) refuse(t, "inside a path");
        compound_ = true;
        compound_painting_ = 0;
    } else if (t == "*U") {
        if (!compound_) refuse(t, "without its *u");
        compound_ = false;
        if (open_) {
            if (compound_painting_ == 0) refuse(t, "of a compound path that has no painting operator");
            const char op = compound_painting_;
            paint(illustrator_painting(op, true), op != 'n' && op != 'N');
        }
    } else if (t == "XR") {
        if (v[0] != 0 && v[0] != 1) refuse(t, "with a value other than 0 or 1");
        even_odd_ = v[0] == 1;
    } else {
        return false;
    }
    return true;
}

void EpsPainter::move_to(double px, double py) {
    add(point(px, py) + " m");
    open_ = true;
    cx_ = start_x_ = px;
    cy_ = start_y_ = py;
}

void EpsPainter::add(const std::string& piece) {
    if (!path_.empty()) path_ += '\r';
    path_ += piece;
    if (path_.size() > kMostHeldPath) {
        out_.line(path_);
        path_.clear();
        path_written_ = true;
    }
}

void EpsPainter::set(std::string_view t, const std::string& line) {
    if (path_written_) refuse(t, "inside a path too long to hold");
    out_.line(line);
}

void EpsPainter::paint(const std::string& painting, bool marks) {
    if (!path_.empty()) out_.line(path_);
    out_.line(painting);
    path_.clear();
    open_ = path_written_ = illustrator_clip_ = false;
    paints_ = paints_ || marks;
}

void EpsPainter::discard_path() {
    if (path_written_) out_.line("n");
    path_.clear();
    open_ = path_written_ = illustrator_clip_ = false;
}

void EpsPainter::finish() {
    if (!clip_.empty()) refuse(clip_ == "W" ? "clip" : "eoclip", "at the end of the drawing, without newpath");
    if (compound_) refuse("*u", "without its *U");
    discard_path();
    if (!paints_) picture_invalid("EPS without painting the translator can draw");
    for (; !saved_.empty(); saved_.pop_back()) out_.line("Q");
}

}  // namespace pdf
