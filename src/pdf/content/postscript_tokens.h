// The tokens of PostScript as the EPS translator reads them, each a view of
// the text it was read from.
#pragma once

#include <cstddef>
#include <string_view>

namespace pdf {

enum class PsToken {
    Name,       // an executable name or a number: `moveto`, `1.5`; also `<<` and `>>`
    Literal,    // `/name`: the name without its slash
    Immediate,  // `//name`: the name without its slashes
    ProcOpen,   // `{`
    ProcClose,  // `}`
    ArrayOpen,  // `[`
    ArrayClose, // `]`
    String,     // `(text)`, `<hex>` or `<~base85~>`, with its brackets
    Comment     // `%...` up to the end of its line or a form feed
};

inline bool ps_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0'; }
inline bool ps_delimiter(char c) {
    return ps_space(c) || c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' ||
           c == '}' || c == '/' || c == '%';
}

// Reads a text token by token. A string or comment cut off by the end of
// the text ends there.
class PsScanner {
public:
    explicit PsScanner(std::string_view text) : text_(text) {}

    // The next token; false at the end of the text.
    bool next(PsToken& kind, std::string_view& token) {
        while (at_ < text_.size() && ps_space(text_[at_])) ++at_;
        if (at_ >= text_.size()) return false;
        const std::size_t start = at_;
        const char c = text_[at_++];
        switch (c) {
            case '%':
                while (at_ < text_.size() && text_[at_] != '\r' && text_[at_] != '\n' && text_[at_] != '\f') ++at_;
                kind = PsToken::Comment;
                break;
            case '(':
                for (int depth = 1; at_ < text_.size() && depth > 0; ++at_) {
                    if (text_[at_] == '\\') ++at_;
                    else if (text_[at_] == '(') ++depth;
                    else if (text_[at_] == ')') --depth;
                }
                if (at_ > text_.size()) at_ = text_.size();  // a backslash at the very end
                kind = PsToken::String;
                break;
            case '<':
                if (at_ < text_.size() && text_[at_] == '<') {
                    ++at_;
                    kind = PsToken::Name;
                } else {
                    const bool base85 = at_ < text_.size() && text_[at_] == '~';
                    const std::size_t end = text_.find(base85 ? "~>" : ">", at_);
                    at_ = end == std::string_view::npos ? text_.size() : end + (base85 ? 2 : 1);
                    kind = PsToken::String;
                }
                break;
            case '>':
                if (at_ < text_.size() && text_[at_] == '>') ++at_;
                kind = PsToken::Name;
                break;
            case '{': kind = PsToken::ProcOpen; break;
            case '}': kind = PsToken::ProcClose; break;
            case '[': kind = PsToken::ArrayOpen; break;
            case ']': kind = PsToken::ArrayClose; break;
            case ')': kind = PsToken::Name; break;
            case '/': {
                const bool immediate = at_ < text_.size() && text_[at_] == '/';
                if (immediate) ++at_;
                const std::size_t name = at_;
                skip_word();
                kind = immediate ? PsToken::Immediate : PsToken::Literal;
                token = text_.substr(name, at_ - name);
                return true;
            }
            default:
                skip_word();
                kind = PsToken::Name;
                break;
        }
        token = text_.substr(start, at_ - start);
        return true;
    }

    // Where the next token is looked for.
    std::size_t position() const { return at_; }

private:
    void skip_word() {
        while (at_ < text_.size() && !ps_delimiter(text_[at_])) ++at_;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace pdf
