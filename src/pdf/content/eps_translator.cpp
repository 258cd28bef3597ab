// An EPS drawing token by token: each one translated, known to draw
// nothing, or the drawing refused naming it.
#include "pdf/content/eps_translator.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/content/byte_cursor.h"
#include "pdf/content/eps_definitions.h"
#include "pdf/content/eps_operators.h"
#include "pdf/content/picture.h"
#include "pdf/content/postscript_tokens.h"

namespace pdf {

namespace {

constexpr std::size_t kMostOperands = 64;
constexpr std::size_t kMostArrayNumbers = 64;
constexpr std::size_t kMostProcedureNesting = 32;
// How much procedure text the drawing may run, beyond this many times the
// file: a procedure used many times is read at each use.
constexpr std::uint64_t kProcedureBytes = 16u << 20;
constexpr std::uint64_t kProcedureBytesPerFileByte = 16;

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
    // One sign: `+-1` is a name.
    if (t[0] == '+' && t.size() > 1 && t[1] != '-') t.remove_prefix(1);
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return error == std::errc() && end == t.data() + t.size() && std::isfinite(value);
}

// A hexadecimal or base-85 string holds only its own characters.
bool readable(std::string_view string) {
    if (string.substr(0, 1) != "<") return true;
    const bool base85 = string.substr(0, 2) == "<~";
    const std::size_t ends = base85 ? 2 : 1;  // the characters of each end
    if (string.size() < 2 * ends || string.substr(string.size() - ends) != (base85 ? "~>" : ">")) return false;
    const std::string_view inside = string.substr(ends, string.size() - 2 * ends);
    for (const char c : inside)
        if (!ps_space(c) &&
            !(base85 ? (c >= '!' && c <= 'u') || c == 'z' : std::isxdigit(static_cast<unsigned char>(c))))
            return false;
    return true;
}

bool starts(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }

std::size_t offset_in(std::string_view text, std::string_view token) {
    return static_cast<std::size_t>(token.data() - text.data());
}

// Document structuring comments stand at the start of a line.
bool at_line_start(std::string_view text, std::string_view token) {
    const std::size_t at = offset_in(text, token);
    return at == 0 || text[at - 1] == '\r' || text[at - 1] == '\n';
}

// Four numbers after "%%BoundingBox:" ("(atend)" defers them to the trailer).
bool bounding_box(std::string_view rest, EpsBox& box) {
    double v[4];
    PsScanner scan(rest);
    PsToken kind;
    std::string_view token;
    for (double& value : v)
        if (!scan.next(kind, token) || kind != PsToken::Name || !number_of(token, value)) return false;
    box = {v[0], v[1], v[2], v[3]};
    return true;
}

// The bounding box and where the drawing starts: after the file's own
// %%EndSetup, else its own %%EndProlog, else its own %%EndComments (the
// first of each: what follows a first one is checked, even where another
// comes later), else at the start. The comments of documents embedded in
// it (%%BeginDocument ... %%EndDocument) are not its own.
struct Layout {
    EpsBox box;
    bool have_box = false;
    std::size_t start = 0;
    // The file's own names outside procedures that change the page
    // (changes_the_page()), and its showpages, in order: the prolog, the
    // setup and the trailer are not drawn, and a file that paints there
    // would be placed without it.
    std::vector<std::string_view> painting;
};

// PostScript's operators that mark the page, clip it, change its
// coordinates or set how later marks look: where the translator does not
// draw, the drawing is refused rather than placed without them.
bool changes_the_page(std::string_view name) {
    static constexpr std::string_view kNames[] = {
        "fill",         "eofill",      "stroke",        "rectfill",     "rectstroke",   "ufill",
        "ueofill",      "ustroke",     "show",          "ashow",        "widthshow",    "awidthshow",
        "kshow",        "xshow",       "yshow",         "xyshow",       "cshow",        "glyphshow",
        "image",        "imagemask",   "colorimage",    "shfill",       "clip",         "eoclip",
        "rectclip",     "translate",   "scale",         "rotate",       "concat",       "setmatrix",
        "setgray",      "setrgbcolor", "setcmykcolor",  "sethsbcolor",  "setcolor",     "setcolorspace",
        "setpattern",   "setlinewidth", "setlinecap",   "setlinejoin",  "setmiterlimit", "setdash"};
    for (const std::string_view n : kNames)
        if (n == name) return true;
    return false;
}

// The first of the file's own painting names at or after `from` and before
// its next showpage there, or an empty view.
std::string_view painting_between(const Layout& layout, std::string_view text, std::size_t from, std::size_t to) {
    for (const std::string_view name : layout.painting) {
        const std::size_t at = offset_in(text, name);
        if (at < from) continue;
        if (at >= to || name == "showpage") break;
        return name;
    }
    return {};
}

Layout layout_of(std::string_view text) {
    Layout layout;
    std::size_t end_comments = 0, end_prolog = 0, end_setup = 0;
    int embedded = 0;
    std::size_t depth = 0;  // of procedures
    PsScanner scan(text);
    PsToken kind;
    std::string_view token;
    while (scan.next(kind, token)) {
        if (kind == PsToken::ProcOpen) ++depth;
        if (kind == PsToken::ProcClose && depth > 0) --depth;
        if (kind == PsToken::Name && depth == 0 && embedded == 0 && (token == "showpage" || changes_the_page(token)))
            layout.painting.push_back(token);
        if (kind != PsToken::Comment || !at_line_start(text, token)) continue;
        const std::size_t after = offset_in(text, token) + token.size();
        if (starts(token, "%%BeginDocument")) ++embedded;
        else if (starts(token, "%%EndDocument")) embedded -= embedded > 0 ? 1 : 0;
        else if (embedded > 0) continue;
        else if (starts(token, "%%BoundingBox:") && !layout.have_box)
            layout.have_box = bounding_box(token.substr(14), layout.box);
        else if (starts(token, "%%EndComments") && end_comments == 0) end_comments = after;
        else if (starts(token, "%%EndProlog") && end_prolog == 0) end_prolog = after;
        else if (starts(token, "%%EndSetup") && end_setup == 0) end_setup = after;
    }
    layout.start = end_setup > 0 ? end_setup : end_prolog > 0 ? end_prolog : end_comments;
    return layout;
}

// The drawing part, from its start to the file's own %%PageTrailer,
// %%Trailer or %%EOF or its first `showpage`, run through the painter.
class Drawing {
public:
    Drawing(std::string_view text, EpsDefinitions& definitions, EpsPainter& painter)
        : text_(text), definitions_(definitions), painter_(painter),
          most_procedure_bytes_(kProcedureBytes + kProcedureBytesPerFileByte * text.size()) {}

    // Returns where the drawing ended, at the end of the text or at an
    // ending comment; at a showpage, the end of the text.
    std::size_t run(std::size_t start) {
        sources_.emplace_back(text_.substr(start));
        PsToken kind;
        std::string_view token;
        while (next(kind, token))
            if (!take(kind, token)) break;
        for (const Operand& o : stack_)
            if (o.kind != 'n') left(o, "the end of the drawing");
        return end_;
    }

private:
    struct Operand {
        char kind = 'n';  // n number, s string, a array (its numbers in array_)
        double value = 0;
        bool integer = false;  // a number written without a point or exponent
    };

    // The next token of the innermost procedure running, or of the drawing.
    bool next(PsToken& kind, std::string_view& token) {
        for (;;) {
            if (sources_.back().next(kind, token)) {
                if (sources_.size() == 1) use_position_ = offset_in(text_, token);
                return true;
            }
            if (sources_.size() == 1) return false;
            sources_.pop_back();
        }
    }
    // The next token of the same text, comments left out.
    bool next_here(PsToken& kind, std::string_view& token) {
        while (sources_.back().next(kind, token))
            if (kind != PsToken::Comment) return true;
        return false;
    }

    // Returns false where the drawing ends.
    bool take(PsToken kind, std::string_view token) {
        double value = 0;
        switch (kind) {
            case PsToken::Comment:
                if (sources_.size() == 1 && at_line_start(text_, token)) {
                    if (starts(token, "%%PageTrailer") || starts(token, "%%Trailer") || starts(token, "%%EOF")) {
                        end_ = offset_in(text_, token);
                        return false;
                    }
                    if (starts(token, "%%BeginDocument"))
                        picture_invalid("EPS with a document embedded in its drawing: %%BeginDocument");
                }
                return true;
            case PsToken::Name:
                if (!number_of(token, value)) return name(token);
                push({'n', value, token.find_first_of(".eE") == std::string_view::npos});
                return true;
            case PsToken::String:
                if (!readable(token)) picture_invalid("EPS string PostScript cannot read: " + std::string(token));
                push({'s'});
                return true;
            case PsToken::ArrayOpen: array(); return true;
            case PsToken::Literal: definition(token); return true;
            case PsToken::ProcOpen: picture_invalid("EPS procedure outside a definition: {");
            case PsToken::ProcClose: picture_invalid("EPS } without its {");
            case PsToken::ArrayClose: picture_invalid("EPS ] without its [");
            case PsToken::Immediate: break;
        }
        picture_invalid("EPS operator the translator does not know: //" + std::string(token));
    }

    bool name(std::string_view token) {
        const std::string t(token);
        if (definitions_.names_unknown())
            picture_invalid("EPS name used where the file defines names in ways the translator cannot follow: " + t);
        const bool defined = definitions_.defines(t);
        // A showpage of the file's own is run as its other procedures are.
        if (t == "showpage" && !defined) return false;
        if (const EpsOperator* op = eps_operator(t)) {
            // Illustrator's operators take the file's meaning where the
            // translator can follow it (`/s {stroke} def`), else keep their
            // own whatever the file's procedure set makes of them, unless
            // it makes them draw what the translator cannot, or take other
            // operands than they do (a number left below theirs);
            // PostScript's are the file's once it defines them.
            if (defined) {
                if (op->postscript) picture_invalid("EPS operator the file redefines: " + t);
                if (definitions_.reaches_image_or_text(t))
                    picture_invalid("EPS operator the file defines to draw an image or text: " + t);
                if (const auto own = own_meaning(t)) {
                    use(t, *own);
                    return true;
                }
            }
            run(*op, defined);
            return true;
        }
        if (const auto procedure = definitions_.procedure(t)) {
            use(t, *procedure);
            return true;
        }
        picture_invalid("EPS operator the translator does not know: " + t);
    }

    // The file's definition of one of Illustrator's operators, where the
    // drawing follows it rather than the operator's own meaning: one
    // definition, before the use, made only of what the drawing could hold
    // in its place (followed()).
    std::optional<EpsDefinitions::Procedure> own_meaning(const std::string& name) {
        if (!followed(name, 0)) return std::nullopt;
        const EpsDefinitions::Procedure& own = followed_.find(name)->second.body;
        return own.position < use_position_ ? std::optional(own) : std::nullopt;
    }

    // Whether `name`'s one definition is made of numbers, strings, arrays,
    // the translator's operators the file leaves alone, and names defined
    // so in turn. Every name is looked at once. Refused as running them
    // would be: a name that reaches itself, procedures nested too deep;
    // also several definitions of which one is so, as which one is in force
    // is not known.
    bool followed(const std::string& name, std::size_t depth) {
        const auto [at, added] = followed_.try_emplace(name);
        if (!added) {
            if (at->second.state == Following::Checking) picture_invalid("EPS procedure that runs itself: " + name);
            return at->second.state == Following::Yes;
        }
        const auto own = definitions_.one_body(name);
        bool ok = false;
        if (own) {
            ok = followed_body(own->body, depth);
        } else {
            for (const auto& d : definitions_.of(name))
                if (d.kind != EpsDefinitions::Definition::Other && followed_body(d.body, depth))
                    picture_invalid("EPS name the file defines in different ways: " + name);
        }
        // Looked up again: the map may have grown meanwhile (its entries stay).
        Followed& f = followed_.find(name)->second;
        f.state = ok ? Following::Yes : Following::No;
        if (own) f.body = *own;
        return ok;
    }
    bool followed_body(std::string_view body, std::size_t depth) {
        PsScanner scan(body);
        PsToken kind;
        std::string_view token;
        while (scan.next(kind, token)) {
            double value = 0;
            bool ok = kind != PsToken::Literal && kind != PsToken::Immediate && kind != PsToken::ProcOpen &&
                      kind != PsToken::ProcClose;
            if (kind == PsToken::Name && !number_of(token, value)) {
                const std::string n(token);
                const EpsOperator* op = eps_operator(n);
                if (definitions_.defines(n) && depth + 1 >= kMostProcedureNesting)
                    picture_invalid("EPS procedures nested more than 32 deep: " + n);
                ok = definitions_.defines(n) ? (op == nullptr || !op->postscript) && followed(n, depth + 1)
                                             : op != nullptr;
            }
            if (!ok) return false;
        }
        return true;
    }

    // `alone`: no number may be left below the operands.
    void run(const EpsOperator& op, bool alone) {
        const std::string_view takes = op.operands;
        const std::size_t count = takes == "*" ? stack_.size() : takes.size();
        if (stack_.size() < count) picture_invalid("EPS operator with too few operands: " + std::string(op.name));
        const std::size_t base = stack_.size() - count;
        if (alone && base > 0) left(stack_[base - 1], std::string(op.name) + ", which the file defines");
        for (std::size_t i = 0; i < base; ++i)
            if (stack_[i].kind != 'n') left(stack_[i], op.name);
        numbers_.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const Operand& o = stack_[base + i];
            const char wanted = takes == "*" ? 'n' : takes[i];
            if (o.kind != wanted && !(wanted == 'i' && o.kind == 'n' && o.integer))
                picture_invalid("EPS " + kind_name(o.kind) + " where " + std::string(op.name) + " takes " +
                                kind_name(wanted));
            if (o.kind == 'n') numbers_.push_back(o.value);
        }
        painter_.run(op, numbers_, array_);
        stack_.resize(base);
    }

    // Numbers stay for the operators after it, as on PostScript's stack;
    // a string or array is taken by the next operator or refused.
    void push(Operand o) {
        if (o.kind == 'a')
            for (const Operand& before : stack_)
                if (before.kind == 'a') left(before, "another array");
        // No operator reaches so deep.
        if (stack_.size() >= kMostOperands) {
            if (stack_.front().kind != 'n') left(stack_.front(), "more operands than any operator takes");
            stack_.erase(stack_.begin());
        }
        stack_.push_back(o);
    }

    // `[` numbers `]`: the operand of d or setdash.
    void array() {
        array_.clear();
        PsToken kind;
        std::string_view token;
        while (next_here(kind, token)) {
            if (kind == PsToken::ArrayClose) {
                push({'a'});
                return;
            }
            double value = 0;
            if (kind != PsToken::Name || !number_of(token, value))
                picture_invalid("EPS array holding more than numbers: " + std::string(token));
            if (array_.size() >= kMostArrayNumbers) picture_invalid("EPS array of more than 64 numbers");
            array_.push_back(value);
        }
        picture_invalid("EPS [ without its ]");
    }

    // `/name {...} def`, with or without bind: nothing is drawn, nor
    // checked, until the drawing uses the name.
    void definition(std::string_view name) {
        const std::string n(name);
        PsToken kind;
        std::string_view token;
        if (!next_here(kind, token) || kind != PsToken::ProcOpen)
            picture_invalid("EPS name outside a definition of a procedure: /" + n);
        for (int depth = 1; depth > 0;) {
            if (!next_here(kind, token)) picture_invalid("EPS definition without its end: /" + n);
            depth += kind == PsToken::ProcOpen ? 1 : kind == PsToken::ProcClose ? -1 : 0;
        }
        bool ended = next_here(kind, token) && kind == PsToken::Name;
        if (ended && token == "bind") {
            if (definitions_.defines("bind")) picture_invalid("EPS operator the file redefines: bind");
            ended = next_here(kind, token) && kind == PsToken::Name;
        }
        if (!ended || token != "def") picture_invalid("EPS definition not ended by def: /" + n);
        if (definitions_.defines("def")) picture_invalid("EPS operator the file redefines: def");
    }

    // Runs a procedure of the file's where the drawing uses it, as if its
    // body stood there.
    void use(const std::string& name, const EpsDefinitions::Procedure& procedure) {
        if (procedure.position > use_position_) picture_invalid("EPS name used before the file defines it: " + name);
        if (sources_.size() > kMostProcedureNesting)
            picture_invalid("EPS procedures nested more than 32 deep: " + name);
        procedure_bytes_ += procedure.body.size() + 1;
        if (procedure_bytes_ > most_procedure_bytes_)
            picture_invalid("EPS procedures run more than the translator follows: " + name);
        sources_.emplace_back(procedure.body);
    }

    static std::string kind_name(char kind) {
        return kind == 's' ? "string" : kind == 'a' ? "array" : kind == 'i' ? "integer" : "number";
    }
    [[noreturn]] static void left(const Operand& o, std::string_view where) {
        picture_invalid("EPS " + kind_name(o.kind) + " left before " + std::string(where));
    }

    std::string_view text_;
    std::size_t end_ = text_.size();
    EpsDefinitions& definitions_;
    EpsPainter& painter_;
    std::vector<PsScanner> sources_;  // the drawing, then the procedures it is running
    std::size_t use_position_ = 0;    // of the drawing's token being run
    std::uint64_t procedure_bytes_ = 0;
    std::uint64_t most_procedure_bytes_;
    std::vector<Operand> stack_;
    std::vector<double> array_;    // the numbers of the array on the stack
    std::vector<double> numbers_;  // the number operands of the operator being run
    enum class Following : std::uint8_t { Checking, Yes, No };
    struct Followed {
        Following state = Following::Checking;
        EpsDefinitions::Procedure body;
    };
    std::map<std::string, Followed, std::less<>> followed_;  // by followed()
};

}  // namespace

VectorSize translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit, VectorOut& out) {
    const std::string_view text = postscript_of(file);
    if (text.substr(0, 2) != "%!") picture_invalid("not a PostScript file");
    const Layout layout = layout_of(text);
    const EpsBox& box = layout.box;
    if (!layout.have_box || !(box.right > box.left) || !(box.top > box.bottom)) picture_invalid("EPS bounding box");
    EpsDefinitions definitions(text);

    const std::string_view before = painting_between(layout, text, 0, layout.start);
    if (!before.empty())
        picture_invalid("EPS painting before its drawing, in its prolog or setup: " + std::string(before));

    const VectorSize size = fit({box.right - box.left, box.top - box.bottom});
    EpsPainter painter(box, size, out);
    const std::size_t end = Drawing(text, definitions, painter).run(layout.start);
    const std::string_view after = painting_between(layout, text, end, text.size());
    if (!after.empty()) picture_invalid("EPS painting after its drawing, in its trailer: " + std::string(after));
    painter.finish();
    return size;
}

VectorDrawing translate_eps(std::span<const std::uint8_t> file, const VectorFit& fit) {
    return translate_apart(translate_eps, file, fit);
}

}  // namespace pdf
