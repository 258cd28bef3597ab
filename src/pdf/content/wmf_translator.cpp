// Metafile records to path operators. Points go through the window (origin
// and extent) onto the placeable frame, then onto the drawn rectangle.
#include "pdf/content/wmf_translator.h"

#include <cmath>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/picture.h"

namespace pdf {

namespace {

enum : std::uint16_t {
    kEof = 0x0000,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kMoveTo = 0x0214,
    kLineTo = 0x0213,
    kPolyline = 0x0325,
    kPolygon = 0x0324,
    kPolyPolygon = 0x0538,
    kRectangle = 0x041B,
    kCreatePen = 0x02FA,
    kCreateBrush = 0x02FC,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    // Records that make objects we do not draw with, which still take a slot.
    kCreatePalette = 0x00F7,
    kCreatePatternBrush = 0x01F9,
    kCreateFont = 0x02FB,
    kCreateRegion = 0x06FF,
    kDibCreatePatternBrush = 0x0142,
};

// Records that paint what the translator does not draw, by their function
// number (the low byte: the high one only tells the usual size): bitmaps,
// texts and shapes. A block transfer is a bitmap only when it carries one:
// without, it has `plain_words` parameters and is a pattern fill.
struct Undrawn {
    std::uint8_t number;
    const char* what;
    std::size_t plain_words;
};
constexpr Undrawn kUndrawn[] = {
    {0x22, "bitmap", 9},  {0x40, "bitmap", 9},  {0x23, "bitmap", 11}, {0x41, "bitmap", 11},
    {0x43, "bitmap", 15}, {0x33, "bitmap", 13}, {0x21, "text", 0},    {0x32, "text", 0},
    {0x2F, "text", 0},    {0x18, "ellipse", 0}, {0x1C, "rounded rectangle", 0}, {0x17, "arc", 0},
    {0x1A, "pie", 0},     {0x30, "chord", 0},   {0x19, "flood fill", 0}, {0x48, "flood fill", 0},
    {0x28, "region", 0},  {0x29, "region", 0},  {0x2A, "region", 0}, {0x2B, "region", 0},
    {0x1F, "pixel", 0},
};

// Refuses (321) a record that would paint what is not drawn.
void refuse_undrawn(std::uint16_t function, std::size_t parameter_words) {
    for (const Undrawn& u : kUndrawn) {
        if ((function & 0xFF) != u.number || parameter_words <= u.plain_words) continue;
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string code = "0000";
        for (int i = 0; i < 4; ++i) code[3 - i] = kHex[(function >> (4 * i)) & 0xF];
        picture_invalid(std::string("metafile ") + u.what + " the translator does not draw (record " + code + ")");
    }
}

struct Object {
    enum Kind { Free, Pen, Brush, Other } kind = Free;
    std::uint16_t style = 0;
    double width = 0;  // logical units
    std::uint8_t r = 0, g = 0, b = 0;
};

class Translator {
public:
    Translator(double left, double top, double width, double height, VectorSize target, VectorOut& out)
        : frame_width_(width), frame_height_(height), target_(target), out_(out) {
        origin_x_ = left;
        origin_y_ = top;
        extent_x_ = width;
        extent_y_ = height;
    }

    void record(std::uint16_t function, ByteCursor& params) {
        switch (function) {
            case kSetWindowOrg: origin_y_ = params.i16le(); origin_x_ = params.i16le(); break;
            case kSetWindowExt: {
                const double y = params.i16le(), x = params.i16le();
                if (x == 0 || y == 0) picture_invalid("metafile window extent of 0");
                extent_y_ = y;
                extent_x_ = x;
                break;
            }
            case kMoveTo: {
                const double y = params.i16le();
                current_x_ = params.i16le();
                current_y_ = y;
                break;
            }
            case kLineTo: {
                const double y = params.i16le(), x = params.i16le();
                if (stroking()) {
                    line(pen_state() + point(current_x_, current_y_) + " m " + point(x, y) + " l S");
                }
                current_x_ = x;
                current_y_ = y;
                break;
            }
            case kPolyline:
            case kPolygon: {
                const std::size_t n = params.u16le();
                if (n * 4 > params.remaining()) picture_invalid("metafile point count");
                const std::string path = points(params, n);
                if (n > 0) paint(path, function == kPolygon);
                break;
            }
            case kPolyPolygon: {
                const std::size_t polygons = params.u16le();
                if (polygons * 2 > params.remaining()) picture_invalid("metafile polygon count");
                std::vector<std::size_t> counts;
                std::size_t total = 0;
                for (std::size_t i = 0; i < polygons; ++i) total += counts.emplace_back(params.u16le());
                if (total * 4 > params.remaining()) picture_invalid("metafile point count");
                // A line for each polygon, the painting after the last: one
                // record may hold the whole file, its lines are written as
                // they are made.
                std::size_t last = total > 0 ? counts.size() - 1 : 0;
                while (last > 0 && counts[last] == 0) --last;
                Painting painting;
                for (std::size_t i = 0; i < counts.size(); ++i) {
                    if (counts[i] == 0) continue;
                    if (painting.op == nullptr) painting = paint_state(true);
                    line(std::exchange(painting.state, {}) + points(params, counts[i]) + " h" +
                         (i == last ? std::string(" ") + painting.op : std::string()));
                }
                break;
            }
            case kRectangle: {
                const double bottom = params.i16le(), right = params.i16le(), top = params.i16le(),
                             left = params.i16le();
                paint(point(left, top) + " m " + point(right, top) + " l " + point(right, bottom) + " l " +
                          point(left, bottom) + " l h",
                      true);
                break;
            }
            case kCreatePen: {
                Object pen;
                pen.kind = Object::Pen;
                pen.style = params.u16le();
                pen.width = std::abs(static_cast<double>(params.i16le()));
                params.skip(2);
                colour(params, pen);
                add(pen);
                break;
            }
            case kCreateBrush: {
                Object brush;
                brush.kind = Object::Brush;
                brush.style = params.u16le();
                colour(params, brush);
                add(brush);
                break;
            }
            case kCreatePalette:
            case kCreatePatternBrush:
            case kCreateFont:
            case kCreateRegion:
            case kDibCreatePatternBrush: add(Object{Object::Other}); break;
            case kSelectObject: {
                const std::size_t i = params.u16le();
                if (i >= objects_.size() || objects_[i].kind == Object::Free) picture_invalid("metafile object");
                if (objects_[i].kind == Object::Pen) pen_ = objects_[i];
                if (objects_[i].kind == Object::Brush) brush_ = objects_[i];
                break;
            }
            case kDeleteObject: {
                const std::size_t i = params.u16le();
                if (i < objects_.size() && objects_[i].kind != Object::Free) {
                    objects_[i] = Object{};
                    free_slots_.push(i);
                }
                break;
            }
            default: refuse_undrawn(function, params.remaining() / 2); break;
        }
    }

private:
    // Logical coordinates to the drawn rectangle (points, y upwards).
    double page_x(double x) const { return (x - origin_x_) / extent_x_ * frame_width_ * scale_x(); }
    double page_y(double y) const {
        return (frame_height_ - (y - origin_y_) / extent_y_ * frame_height_) * scale_y();
    }
    double scale_x() const { return target_.width / frame_width_; }
    double scale_y() const { return target_.height / frame_height_; }
    std::string point(double x, double y) const { return vector_number(page_x(x)) + " " + vector_number(page_y(y)); }

    std::string points(ByteCursor& params, std::size_t n) {
        std::string path;
        for (std::size_t i = 0; i < n; ++i) {
            const double x = params.i16le(), y = params.i16le();
            path += point(x, y) + (i == 0 ? " m" : " l");
            path += i + 1 < n ? " " : "";
        }
        return path;
    }

    void colour(ByteCursor& params, Object& o) {
        o.r = params.u8();
        o.g = params.u8();
        o.b = params.u8();
    }

    void add(const Object& o) {
        // A new object takes the lowest free slot, as the player numbers them.
        if (!free_slots_.empty()) {
            objects_[free_slots_.top()] = o;
            free_slots_.pop();
            return;
        }
        if (objects_.size() >= 65535) picture_invalid("metafile object table");
        objects_.push_back(o);
    }

    bool stroking() const { return pen_.style != 5; }
    bool filling() const { return brush_.style != 1; }

    static std::string rgb(const Object& o) {
        return vector_number(o.r / 255.0) + " " + vector_number(o.g / 255.0) + " " + vector_number(o.b / 255.0);
    }

    // The pen's colour, width and dash pattern, written when they change.
    std::string pen_state() {
        const double unit = std::abs(frame_width_ / extent_x_) * scale_x();
        const double width = pen_.width * unit;
        const double d = width > 1 ? width : 1;
        // Dash patterns in multiples of the line width (at least a point).
        std::vector<int> pattern;
        switch (pen_.style) {
            case 1: pattern = {3, 1}; break;
            case 2: pattern = {1, 1}; break;
            case 3: pattern = {3, 1, 1, 1}; break;
            case 4: pattern = {3, 1, 1, 1, 1, 1}; break;
            default: break;
        }
        std::string dash = "[";
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (i > 0) dash += ' ';
            dash += vector_number(pattern[i] * d);
        }
        dash += "] 0 d";
        const std::string state = rgb(pen_) + " RG " + vector_number(width) + " w " + dash;
        if (state == written_pen_) return {};
        written_pen_ = state;
        return state + " ";
    }
    std::string brush_state() {
        const std::string state = rgb(brush_) + " rg";
        if (state == written_brush_) return {};
        written_brush_ = state;
        return state + " ";
    }

    // What comes before a path (the brush and pen, when they changed) and
    // the operator that paints it.
    struct Painting {
        std::string state;
        const char* op = nullptr;
    };
    Painting paint_state(bool closed) {
        const bool fill = closed && filling(), stroke = stroking();
        Painting painting;
        if (fill) painting.state += brush_state();
        if (stroke) painting.state += pen_state();
        painting.op = fill && stroke ? "b*" : fill ? "f*" : stroke ? (closed ? "s" : "S") : "n";
        return painting;
    }
    void paint(const std::string& path, bool closed) {
        Painting painting = paint_state(closed);
        line(painting.state + path + " " + painting.op);
    }

    void line(const std::string& text) { out_.line(text); }

    double frame_width_, frame_height_;
    VectorSize target_;
    double origin_x_, origin_y_, extent_x_, extent_y_;
    double current_x_ = 0, current_y_ = 0;
    // The player's defaults: a black solid pen of one unit, a white brush.
    Object pen_{Object::Pen, 0, 1, 0, 0, 0};
    Object brush_{Object::Brush, 0, 0, 255, 255, 255};
    std::vector<Object> objects_;
    // The deleted slots below the end of objects_, lowest on top.
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> free_slots_;
    std::string written_pen_, written_brush_;
    VectorOut& out_;
};

}  // namespace

VectorSize translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out) {
    ByteCursor at(file);
    if (at.u32le() != 0x9AC6CDD7u) picture_invalid("not a placeable metafile");
    at.skip(2);
    const double left = at.i16le(), top = at.i16le(), right = at.i16le(), bottom = at.i16le();
    const std::uint16_t inch = at.u16le();
    at.skip(6);  // reserved, checksum
    if (right == left || bottom == top || inch == 0) picture_invalid("metafile frame");

    const std::size_t header_start = at.position();
    const std::uint16_t type = at.u16le();
    const std::uint16_t header_words = at.u16le();
    if ((type != 1 && type != 2) || header_words != 9) picture_invalid("metafile header");
    at.seek(header_start + 18);

    const double width = std::abs(right - left), height = std::abs(bottom - top);
    const VectorSize size = fit({width / inch * 72.0, height / inch * 72.0});
    // The frame's corners as the records address them: left/top of the
    // frame, whichever way its numbers run.
    Translator translate(left < right ? left : right, top < bottom ? top : bottom, width, height, size, out);

    // Every record moves on by at least 3 words: the loop ends with the file.
    while (!at.at_end()) {
        const std::uint32_t words = at.u32le();
        const std::uint16_t function = at.u16le();
        if (function == kEof) break;
        if (words < 3) picture_invalid("metafile record size");
        if ((words - 3) > at.remaining() / 2) picture_truncated();
        ByteCursor params(at.bytes((words - 3) * std::size_t{2}));
        try {
            translate.record(function, params);
        } catch (const PdfError& error) {
            // A record shorter than its own parameters is damaged, not cut.
            if (error.number() == 62) picture_invalid("metafile record too short");
            throw;
        }
    }
    return size;
}

VectorDrawing translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit) {
    return translate_apart(translate_wmf, file, fit);
}

}  // namespace pdf
