// The operators of an EPS drawing that the translator knows, and what each
// becomes in the page content.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/content/vector_picture.h"

namespace pdf {

struct EpsOperator {
    std::string_view name;
    // One letter an operand, the topmost last: n a number, i an integer
    // (a number without a point or exponent), s a string, a an array of
    // numbers; "*" takes every number there is.
    std::string_view operands;
    // PostScript's own operator, which a file that defines the name changes;
    // else Illustrator's, whose meaning here is kept whatever the file
    // defines it as.
    bool postscript = false;
};

// The operator of that name, or null. Illustrator's: the paths m l L c C v
// V y Y h H; painting n N f F s S b B; clipping W; colours g G k K x X
// (custom: CMYK scaled by 1 - tint) Xa XA (RGB); line w j J M d; groups q
// Q; compound paths *u *U; the fill rule XR (0 or 1); and those that draw
// nothing: u U (groups), A O R i D Ap Ar (one number each), Lb (its
// numbers) LB Ln (a string). PostScript's: newpath moveto lineto curveto
// closepath rmoveto rlineto rcurveto, fill eofill stroke, rectfill
// rectstroke, clip eoclip, gsave grestore, setgray setrgbcolor
// setcmykcolor (both fill and stroke), setlinewidth setlinecap setlinejoin
// setmiterlimit setdash.
const EpsOperator* eps_operator(std::string_view name);

// The picture's own coordinates of its bounding box.
struct EpsBox {
    double left = 0, bottom = 0, right = 0, top = 0;
};

// Writes the operators of one drawing, in the box's coordinates mapped onto
// `target`, each number written anew. The path being built is held until
// it is painted, so that colours and line settings made meanwhile come
// before it, as page content asks; a path of more than 1 MiB of operators
// is written as it grows, and a setting made before its painting refused.
class EpsPainter {
public:
    // Writes PostScript's initial graphics state.
    EpsPainter(const EpsBox& box, VectorSize target, VectorOut& out);

    // Runs `op` on its number operands, in order (a string operand left
    // out), and on the array when it takes one. Throws PdfError 321, naming
    // the operator, for one the drawing cannot be drawn with where it
    // stands: PostScript's path pieces without a current point, clip or
    // eoclip not followed by newpath (or n or N), rectfill or rectstroke
    // with a path open, gsave, grestore, q or Q inside a compound path or a
    // path too long to hold (a path open at gsave or q comes back at its
    // grestore or Q), grestore or Q without its gsave or q, a compound path
    // inside another or painted, cleared or clipped by PostScript's
    // operators, fill, eofill or stroke after W, XR, j, J, M (setlinejoin,
    // setlinecap, setmiterlimit) with a value the translator does not
    // follow, d or setdash with a negative dash or dashes of no length, and
    // a number that puts a point or length far beyond any page.
    // Illustrator's path pieces and painting without a current point draw
    // nothing.
    void run(const EpsOperator& op, std::span<const double> numbers, std::span<const double> array);

    // Ends the drawing: refuses (321) a clip still waiting for its newpath,
    // a compound path not closed, and a drawing that painted nothing; closes
    // the groups left open.
    void finish();

private:
    std::string x(double v) const;
    std::string y(double v) const;
    std::string point(double px, double py) const { return x(px) + " " + y(py); }
    std::string length(double v) const;
    // A number of the page; refuses (321) one far beyond any page.
    std::string number(double v) const;
    std::string dash(std::string_view t, std::span<const double> array, double offset) const;

    bool path_piece(std::string_view t, std::span<const double> v, bool postscript);
    bool painting(std::string_view t);
    bool state(std::string_view t, std::span<const double> v, std::span<const double> array);
    bool structure(std::string_view t, std::span<const double> v);

    void move_to(double px, double py);
    void add(const std::string& piece);
    void set(std::string_view t, const std::string& line);
    // Writes the path and its painting; `marks`: the painting shows.
    void paint(const std::string& painting, bool marks);
    void discard_path();
    std::string illustrator_painting(char op, bool compound_end) const;

    std::string_view op_;  // the operator being run, for a refusal
    EpsBox box_;
    double sx_, sy_;
    VectorOut& out_;
    std::string path_;           // the pieces of the open path not written yet
    bool open_ = false;          // a current point: a path is being built
    bool path_written_ = false;  // some of the open path was written already (a long one)
    double cx_ = 0, cy_ = 0;     // the current point
    double start_x_ = 0, start_y_ = 0;  // where the subpath began
    std::string clip_;           // "W" or "W*" waiting for newpath
    bool illustrator_clip_ = false;     // W: the next painting clips too
    bool even_odd_ = false;             // 1 XR
    bool compound_ = false;             // inside *u ... *U
    char compound_painting_ = 0;        // the last painting operator inside it
    // The open path at each gsave or q not yet restored.
    struct SavedPath {
        std::string pieces;
        bool open;
        double cx, cy, start_x, start_y;
        bool illustrator_clip;
    };
    std::vector<SavedPath> saved_;
    std::size_t saved_bytes_ = 0;  // of their paths
    bool paints_ = false;
};

}  // namespace pdf
