// Metafile records to path operators. Points go through the window (origin
// and extent) onto the placeable frame, then onto the drawn rectangle.
#include "pdf/content/wmf_translator.h"

#include <algorithm>
#include <cmath>
#include <deque>
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
    kOffsetWindowOrg = 0x020F,
    kScaleWindowExt = 0x0410,
    kSaveDc = 0x001E,
    kRestoreDc = 0x0127,
    kSetMapMode = 0x0103,
    kSetRop2 = 0x0104,
    kSetPolyFillMode = 0x0106,
    kIntersectClipRect = 0x0416,
    kMoveTo = 0x0214,
    kLineTo = 0x0213,
    kPolyline = 0x0325,
    kPolygon = 0x0324,
    kPolyPolygon = 0x0538,
    kRectangle = 0x041B,
    kPatBlt = 0x061D,
    kBitBlt = 0x0922,
    kDibBitBlt = 0x0940,
    kStretchBlt = 0x0B23,
    kDibStretchBlt = 0x0B41,
    kCreatePen = 0x02FA,
    kCreateBrush = 0x02FC,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    // Pattern brushes: they fill with what the translator does not paint.
    kCreatePatternBrush = 0x01F9,
    kDibCreatePatternBrush = 0x0142,
    // Regions clip when selected.
    kCreateRegion = 0x06FF,
    // Records that draw nothing; the objects made take a slot.
    kCreatePalette = 0x00F7,
    kCreateFont = 0x02FB,
    kSetBkMode = 0x0102,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetTextAlign = 0x012E,
    kSetStretchBltMode = 0x0107,
    kSetRelAbs = 0x0105,
    kSelectPalette = 0x0234,
    kRealizePalette = 0x0035,
    kEscape = 0x0626,
    // Text state: the texts themselves are refused.
    kSetTextCharExtra = 0x0108,
    kSetTextJustification = 0x020A,
    kSetMapperFlags = 0x0231,
};

// The values of the records above that the translator follows: window
// coordinates stretched onto the frame in each direction, drawing that
// replaces what lies below, and a block transfer that paints the brush.
constexpr std::uint16_t kAnisotropic = 8;
constexpr std::uint16_t kCopyPen = 13;
constexpr std::uint16_t kAlternate = 1, kWinding = 2;
constexpr std::uint32_t kPatCopy = 0x00F00021;
// Brush styles the translator paints: solid, and hollow (no fill).
constexpr std::uint16_t kSolidBrush = 0, kHollowBrush = 1, kPatternBrush = 3, kDibPatternBrush = 5;
// A pen's style: the line in the low byte (solid, four dash patterns, none,
// inside the frame, drawn solid), then the end and the join.
constexpr std::uint16_t kNullPen = 5, kInsideFramePen = 6;
constexpr std::uint16_t kEndMask = 0x0F00, kSquareEnd = 0x0100, kFlatEnd = 0x0200;
constexpr std::uint16_t kJoinMask = 0xF000, kBevelJoin = 0x1000, kMiterJoin = 0x2000;

// More saved states than a drawing needs; it keeps the stack within the
// translator's own budget.
constexpr std::size_t kMostSavedStates = 65535;

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

// Refuses (321) the drawing for `why`, naming the record by its function number.
[[noreturn]] void refuse(std::uint16_t function, const std::string& why) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string code = "0000";
    for (int i = 0; i < 4; ++i) code[3 - i] = kHex[(function >> (4 * i)) & 0xF];
    picture_invalid("metafile " + why + " (record " + code + ")");
}

// Refuses (321) a record that would paint what is not drawn.
void refuse_undrawn(std::uint16_t function, std::size_t parameter_words) {
    for (const Undrawn& u : kUndrawn) {
        if ((function & 0xFF) != u.number || parameter_words <= u.plain_words) continue;
        refuse(function, std::string(u.what) + " the translator does not draw");
    }
}

struct Object {
    enum Kind { Free, Pen, Brush, Region, Other } kind = Free;
    std::uint16_t style = 0;
    double width = 0;  // logical units
    std::uint8_t r = 0, g = 0, b = 0;
    // The colour names an entry of a palette (or a kind the translator does
    // not know) rather than red, green and blue.
    bool from_palette = false;
};

// What SaveDC keeps and RestoreDC brings back, of what the translator follows.
struct DrawingState {
    // The player's defaults: a black solid pen of one unit, a white brush.
    Object pen{Object::Pen, 0, 1, 0, 0, 0};
    Object brush{Object::Brush, kSolidBrush, 0, 255, 255, 255};
    double origin_x = 0, origin_y = 0, extent_x = 1, extent_y = 1;
    double current_x = 0, current_y = 0;
    bool winding = false;
};

// The pen (its width in points) and brush the content's graphics state was
// last given, which `q` keeps and `Q` brings back.
struct Written {
    Object pen, brush;
    double pen_width = -1;  // below 0: no pen written yet
    bool brush_written = false;
};

// A saved state: the records', and the content's at that point.
struct SavedState {
    DrawingState drawing;
    Written written;
};

class Translator {
public:
    Translator(double left, double top, double width, double height, VectorSize target, VectorOut& out)
        : frame_width_(width), frame_height_(height), target_(target), out_(out) {
        state_.origin_x = left;
        state_.origin_y = top;
        state_.extent_x = width;
        state_.extent_y = height;
    }

    void record(std::uint16_t function, ByteCursor& params) {
        function_ = function;
        switch (function) {
            case kSetWindowOrg: state_.origin_y = params.i16le(); state_.origin_x = params.i16le(); break;
            case kSetWindowExt: {
                const double y = params.i16le(), x = params.i16le();
                if (x == 0 || y == 0) picture_invalid("metafile window extent of 0");
                state_.extent_y = y;
                state_.extent_x = x;
                break;
            }
            case kOffsetWindowOrg: {
                const double y = params.i16le(), x = params.i16le();
                state_.origin_y = within_gdi_range(state_.origin_y + y, "window origin moved");
                state_.origin_x = within_gdi_range(state_.origin_x + x, "window origin moved");
                break;
            }
            case kScaleWindowExt: {
                const double y_denominator = params.i16le(), y_numerator = params.i16le();
                const double x_denominator = params.i16le(), x_numerator = params.i16le();
                state_.extent_y = scaled_extent(state_.extent_y, y_numerator, y_denominator);
                state_.extent_x = scaled_extent(state_.extent_x, x_numerator, x_denominator);
                break;
            }
            // Each saved state is a graphics state saved in the content, so
            // that a clip ends where the player's does.
            case kSaveDc:
                if (saved_.size() >= kMostSavedStates) refuse(function, "states saved beyond the translator's limit");
                saved_.push_back({state_, written_});
                line("q");
                break;
            case kRestoreDc: {
                // Negative: that many states back; positive: the state saved
                // as that one, counted from the first.
                const std::int64_t n = params.i16le(), depth = static_cast<std::int64_t>(saved_.size());
                const std::int64_t keep = n < 0 ? depth + n : n - 1;
                if (n == 0 || keep < 0 || keep >= depth) refuse(function, "restoring a state never saved");
                const SavedState& restored = saved_[static_cast<std::size_t>(keep)];
                state_ = restored.drawing;
                written_ = restored.written;
                written_pen_ = written_.pen_width < 0 ? std::string() : pen_text(written_.pen, written_.pen_width);
                written_brush_ = written_.brush_written ? brush_text(written_.brush) : std::string();
                for (std::int64_t level = keep; level < depth; ++level) line("Q");
                saved_.resize(static_cast<std::size_t>(keep));
                break;
            }
            case kSetPolyFillMode: {
                const std::uint16_t mode = params.u16le();
                if (mode != kAlternate && mode != kWinding)
                    refuse(function, "fill mode the translator does not follow");
                state_.winding = mode == kWinding;
                break;
            }
            case kSetMapMode:
                if (params.u16le() != kAnisotropic) refuse(function, "mapping mode the translator does not follow");
                break;
            case kSetRop2:
                if (params.u16le() != kCopyPen) refuse(function, "drawing mode the translator does not follow");
                break;
            case kSetBkMode:
            case kSetBkColor:
            case kSetTextColor:
            case kSetTextAlign:
            case kSetStretchBltMode:
            case kSetRelAbs:
            case kSetTextCharExtra:
            case kSetTextJustification:
            case kSetMapperFlags:
            case kSelectPalette:
            case kRealizePalette:
            case kEscape: break;
            // Intersected with the clip in force, as the player does; the
            // rectangle stays where the window puts it now.
            case kIntersectClipRect: {
                const double bottom = params.i16le(), right = params.i16le(), top = params.i16le(),
                             left = params.i16le();
                const double x = page_x(left), y = page_y(top);
                line(vector_number(x) + " " + vector_number(y) + " " + vector_number(page_x(right) - x) + " " +
                     vector_number(page_y(bottom) - y) + " re W n");
                break;
            }
            case kMoveTo: {
                const double y = params.i16le();
                state_.current_x = params.i16le();
                state_.current_y = y;
                break;
            }
            case kLineTo: {
                const double y = params.i16le(), x = params.i16le();
                if (stroking()) {
                    line(pen_state() + point(state_.current_x, state_.current_y) + " m " + point(x, y) + " l S");
                }
                state_.current_x = x;
                state_.current_y = y;
                break;
            }
            case kPolyline:
            case kPolygon: {
                const std::size_t n = params.u16le();
                if (n * 4 > params.remaining()) picture_invalid("metafile point count");
                // The player draws no line or polygon of fewer than two points.
                if (n >= 2) paint(points(params, n), function == kPolygon);
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
                // they are made. A polygon of fewer than two points is
                // left out, as the player leaves it.
                std::size_t last = total > 0 ? counts.size() - 1 : 0;
                while (last > 0 && counts[last] < 2) --last;
                Painting painting;
                for (std::size_t i = 0; i < counts.size(); ++i) {
                    if (counts[i] < 2) {
                        params.skip(4 * counts[i]);
                        continue;
                    }
                    if (painting.op == nullptr) painting = paint_state(true);
                    line(std::exchange(painting.state, {}) + points(params, counts[i]) + " h" +
                         (i == last ? std::string(" ") + painting.op : std::string()));
                }
                break;
            }
            case kRectangle: {
                const double bottom = params.i16le(), right = params.i16le(), top = params.i16le(),
                             left = params.i16le();
                paint(rectangle(left, top, right, bottom, inside_frame()), true);
                break;
            }
            // Block transfers without a bitmap: the brush painted over a
            // rectangle. What lies between the raster operation and the
            // destination is the source's place, which they do not use.
            case kPatBlt: pattern_fill(params, 0); break;
            case kBitBlt:
            case kDibBitBlt:
                refuse_undrawn(function, params.remaining() / 2);
                pattern_fill(params, 3);
                break;
            case kStretchBlt:
            case kDibStretchBlt:
                refuse_undrawn(function, params.remaining() / 2);
                pattern_fill(params, 5);
                break;
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
            case kCreatePatternBrush: add(Object{Object::Brush, kPatternBrush}); break;
            case kDibCreatePatternBrush: add(Object{Object::Brush, kDibPatternBrush}); break;
            case kCreateRegion: add(Object{Object::Region}); break;
            case kCreatePalette:
            case kCreateFont: add(Object{Object::Other}); break;
            case kSelectObject: {
                const std::size_t i = params.u16le();
                if (i >= objects_.size() || objects_[i].kind == Object::Free) picture_invalid("metafile object");
                if (objects_[i].kind == Object::Pen) state_.pen = objects_[i];
                if (objects_[i].kind == Object::Brush) state_.brush = objects_[i];
                if (objects_[i].kind == Object::Region)
                    refuse(function, "clipping region the translator does not follow");
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
            default:
                refuse_undrawn(function, params.remaining() / 2);
                refuse(function, "record the translator does not know");
        }
    }

    // Closes the states the file left saved.
    void finish() {
        for (std::size_t level = 0; level < saved_.size(); ++level) line("Q");
    }

private:
    // Logical coordinates to the drawn rectangle (points, y upwards).
    double page_x(double x) const {
        return (x - state_.origin_x) / state_.extent_x * frame_width_ * scale_x();
    }
    double page_y(double y) const {
        return (frame_height_ - (y - state_.origin_y) / state_.extent_y * frame_height_) * scale_y();
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
    // A rectangle's path, moved in by `inset` points on each side (no more
    // than to its middle).
    std::string rectangle(double left, double top, double right, double bottom, double inset = 0) const {
        double x0 = page_x(left), y0 = page_y(top), x1 = page_x(right), y1 = page_y(bottom);
        if (inset > 0) {
            const double dx = std::copysign(std::min(inset, std::abs(x1 - x0) / 2), x1 - x0);
            const double dy = std::copysign(std::min(inset, std::abs(y1 - y0) / 2), y1 - y0);
            x0 += dx;
            x1 -= dx;
            y0 += dy;
            y1 -= dy;
        }
        const auto at = [](double x, double y) { return vector_number(x) + " " + vector_number(y); };
        return at(x0, y0) + " m " + at(x1, y0) + " l " + at(x1, y1) + " l " + at(x0, y1) + " l h";
    }
    // An inside-frame pen keeps to the rectangle it draws: the player
    // shrinks the figure by half the pen's width.
    double inside_frame() const { return (state_.pen.style & 0xFF) == kInsideFramePen ? pen_width() / 2 : 0; }

    // Window origins and extents are 32-bit numbers to the player.
    double within_gdi_range(double value, const char* what) const {
        if (std::abs(value) > 2147483647.0) refuse(function_, std::string(what) + " beyond its range");
        return value;
    }
    // An extent times numerator / denominator, the quotient cut to a whole
    // number as the player does.
    double scaled_extent(double extent, double numerator, double denominator) const {
        const double scaled = denominator == 0 ? 0 : std::trunc(extent * numerator / denominator);
        if (scaled == 0) refuse(function_, "window extent scaled to nothing");
        return within_gdi_range(scaled, "window extent scaled");
    }

    // A block transfer's raster operation, `source_words` of the source's
    // place, then the destination: height, width, top, left.
    void pattern_fill(ByteCursor& params, std::size_t source_words) {
        if (params.u32le() != kPatCopy) refuse(function_, "raster operation the translator does not follow");
        params.skip(2 * source_words);
        const double height = params.i16le(), width = params.i16le(), top = params.i16le(), left = params.i16le();
        if (!filling()) return;
        const Painting painting = paint_state(true, false);
        line(painting.state + rectangle(left, top, left + width, top + height) + " " + painting.op);
    }

    void colour(ByteCursor& params, Object& o) {
        o.r = params.u8();
        o.g = params.u8();
        o.b = params.u8();
        // Its last byte: 0 for RGB; 2 for an RGB matched to a palette where
        // the device has one, which a page has not.
        const std::uint8_t kind = params.u8();
        o.from_palette = kind != 0 && kind != 2;
    }
    // Refuses painting with a colour taken from a palette.
    void painted_in_rgb(const Object& o) const {
        if (o.from_palette) refuse(function_, "colour from a palette the translator does not follow");
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

    // Refuses a stroke with a pen whose line, end or join the translator
    // does not draw.
    bool stroking() const {
        const std::uint16_t style = state_.pen.style;
        if ((style & 0xFF) == kNullPen) return false;
        if ((style & 0xFF) > kInsideFramePen || (style & kEndMask) > kFlatEnd || (style & kJoinMask) > kMiterJoin)
            refuse(function_, "stroke with a pen of style " + std::to_string(style) + " the translator does not draw");
        painted_in_rgb(state_.pen);
        return true;
    }
    // Refuses a fill with a brush the translator does not paint.
    bool filling() const {
        const std::uint16_t style = state_.brush.style;
        if (style != kSolidBrush && style != kHollowBrush)
            refuse(function_, "fill with a brush of style " + std::to_string(style) + " the translator does not paint");
        if (style == kSolidBrush) painted_in_rgb(state_.brush);
        return style == kSolidBrush;
    }

    static std::string rgb(const Object& o) {
        return vector_number(o.r / 255.0) + " " + vector_number(o.g / 255.0) + " " + vector_number(o.b / 255.0);
    }

    // The pen's width in points: logical units across.
    double pen_width() const { return state_.pen.width * std::abs(frame_width_ / state_.extent_x) * scale_x(); }
    // The pen's colour, width, dash pattern, ends and joins, written when
    // they change.
    std::string pen_state() {
        const double width = pen_width();
        const std::string state = pen_text(state_.pen, width);
        if (state == written_pen_) return {};
        written_pen_ = state;
        written_.pen = state_.pen;
        written_.pen_width = width;
        return state + " ";
    }
    static std::string pen_text(const Object& pen, double width) {
        const double d = width > 1 ? width : 1;
        // Dash patterns in multiples of the line width (at least a point).
        // A pen wider than one logical unit is made solid by the player
        // whatever dashes it asked for.
        std::vector<int> pattern;
        switch (pen.width > 1 ? 0 : pen.style & 0xFF) {
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
        // Dashes keep flat ends, as the player's dashes of a pixel: round
        // or square ones would fill the gaps.
        const std::uint16_t end = pen.style & kEndMask, join = pen.style & kJoinMask;
        const char* cap = !pattern.empty() || end == kFlatEnd ? "0" : end == kSquareEnd ? "2" : "1";
        const char* corner = join == kMiterJoin ? "0" : join == kBevelJoin ? "2" : "1";
        return rgb(pen) + " RG " + vector_number(width) + " w " + dash + " " + cap + " J " + corner + " j";
    }
    std::string brush_state() {
        const std::string state = brush_text(state_.brush);
        if (state == written_brush_) return {};
        written_brush_ = state;
        written_.brush = state_.brush;
        written_.brush_written = true;
        return state + " ";
    }
    static std::string brush_text(const Object& brush) { return rgb(brush) + " rg"; }

    // What comes before a path (the brush and pen, when they changed) and
    // the operator that paints it, by the fill mode.
    struct Painting {
        std::string state;
        const char* op = nullptr;
    };
    Painting paint_state(bool closed, bool outlined = true) {
        const bool fill = closed && filling(), stroke = outlined && stroking();
        Painting painting;
        if (fill) painting.state += brush_state();
        if (stroke) painting.state += pen_state();
        const bool winding = state_.winding;
        painting.op = fill && stroke ? (winding ? "b" : "b*")
                      : fill         ? (winding ? "f" : "f*")
                      : stroke       ? (closed ? "s" : "S")
                                     : "n";
        return painting;
    }
    void paint(const std::string& path, bool closed) {
        Painting painting = paint_state(closed);
        line(painting.state + path + " " + painting.op);
    }

    void line(const std::string& text) { out_.line(text); }

    double frame_width_, frame_height_;
    VectorSize target_;
    std::uint16_t function_ = kEof;  // the record being translated
    DrawingState state_;
    // A deque: growing by blocks, the deepest stack never stands copied
    // beside itself, which keeps it within the translator's budget.
    std::deque<SavedState> saved_;
    std::vector<Object> objects_;
    // The deleted slots below the end of objects_, lowest on top.
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> free_slots_;
    // The content's pen and brush, and their text: a pen or brush is
    // written again only when its text differs.
    Written written_;
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
    translate.finish();
    return size;
}

VectorDrawing translate_wmf(std::span<const std::uint8_t> file, const VectorFit& fit) {
    return translate_apart(translate_wmf, file, fit);
}

}  // namespace pdf
