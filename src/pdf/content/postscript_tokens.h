// The tokens of PostScript as the EPS translator reads them: names,
// procedures and arrays. Strings, hex strings, comments and dictionary
// brackets carry nothing it draws with and are skipped.
#pragma once

#include <string_view>

namespace pdf {

enum class PsToken {
    Name,       // an executable name or a number: `moveto`, `1.5`
    Literal,    // `/name`, without its slash
    Immediate,  // `//name`, without its slashes
    ProcOpen,   // `{`
    ProcClose,  // `}` (one without its `{` is dropped)
    ArrayOpen,  // `[`
    ArrayClose  // `]`
};

// Where the scanner is between lines: inside a (string) of this depth,
// inside a <hex string>, inside {procedures} of this depth.
struct PsScan {
    int string_depth = 0;
    bool hex = false;
    int nesting = 0;
};

// The lines of a text, each without its end of line (CR, LF or CR LF).
class PsLines {
public:
    explicit PsLines(std::string_view text) : text_(text) {}
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
    // Where the next line starts.
    std::size_t position() const { return at_; }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

inline bool ps_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }
inline bool ps_delimiter(char c) {
    return ps_space(c) || c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

// Hands the tokens of one line to `visit(PsToken, std::string_view)`, which
// returns false to stop; `scan.nesting` counts the procedures open around
// a token (a ProcOpen or ProcClose counted already). Returns false when
// `visit` stopped.
template <typename Visit>
bool scan_postscript_line(std::string_view line, PsScan& scan, Visit&& visit) {
    std::size_t i = 0;
    auto word_from = [&](std::size_t start) {
        std::size_t end = start;
        while (end < line.size() && !ps_delimiter(line[end])) ++end;
        i = end;
        return line.substr(start, end - start);
    };
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
        } else if (ps_space(c)) {
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
            const bool immediate = i + 1 < line.size() && line[i + 1] == '/';
            const std::string_view name = word_from(i + (immediate ? 2 : 1));
            if (!visit(immediate ? PsToken::Immediate : PsToken::Literal, name)) return false;
        } else if (c == '{') {
            ++scan.nesting;
            ++i;
            if (!visit(PsToken::ProcOpen, std::string_view())) return false;
        } else if (c == '}') {
            ++i;
            if (scan.nesting > 0) {
                --scan.nesting;
                if (!visit(PsToken::ProcClose, std::string_view())) return false;
            }
        } else if (c == '[') {
            ++i;
            if (!visit(PsToken::ArrayOpen, std::string_view())) return false;
        } else if (c == ']') {
            ++i;
            if (!visit(PsToken::ArrayClose, std::string_view())) return false;
        } else {
            if (!visit(PsToken::Name, word_from(i))) return false;
        }
    }
    return true;
}

// The tokens of a whole text, line by line.
template <typename Visit>
void scan_postscript(std::string_view text, Visit&& visit) {
    PsLines lines(text);
    PsScan scan;
    std::string_view line;
    while (lines.next(line))
        if (!scan_postscript_line(line, scan, visit)) return;
}

}  // namespace pdf
