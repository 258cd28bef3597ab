// The definitions of an EPS file, read once, looked up by name.
#include "pdf/content/eps_definitions.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "pdf/content/picture.h"
#include "pdf/content/postscript_string.h"
#include "pdf/content/postscript_tokens.h"

namespace pdf {

namespace {

constexpr std::size_t kMostDefinitions = 65536;
constexpr std::size_t kMostNamedNesting = 1024;
constexpr std::size_t kMostStringNesting = 32;

constexpr std::uint8_t kReadWithoutImageOrText = 1;
constexpr std::uint8_t kOneBody = 2;

bool by_name(const EpsDefinitions::Definition& a, const EpsDefinitions::Definition& b) { return a.name < b.name; }

// The definitions in the order of the text, told by the tokens after each
// literal name.
class Reading {
public:
    explicit Reading(std::string_view text) : text_(text) {}

    std::vector<EpsDefinitions::Definition> read() {
        PsScanner scan(text_);
        PsToken kind;
        std::string_view token;
        while (scan.next(kind, token))
            if (kind != PsToken::Comment) take(kind, token);
        if (second_) add(*held_, Kind::Other, *second_), held_ = second_;
        if (held_) add(*held_, Kind::Other);
        // Procedures the file leaves open run to its end.
        while (!open_.empty()) {
            const Open o = open_.back();
            open_.pop_back();
            add(o.name, Kind::Procedure, text_.substr(o.body));
        }
        return std::move(found_);
    }

    // Whether a procedure of no name is defined (`(name) cvn {...} def`):
    // under a name the reading cannot tell.
    bool computes_names() const { return computes_names_; }

private:
    using Kind = EpsDefinitions::Definition::Kind;
    struct Open {
        std::string_view name;
        std::size_t body = 0;   // where its text starts
        std::size_t depth = 0;  // of the procedures open, its own included
    };

    void take(PsToken kind, std::string_view token) {
        if (after_anonymous_ > 0) {
            const bool bind = kind == PsToken::Name && token == "bind" && after_anonymous_ == 1;
            computes_names_ = computes_names_ || (kind == PsToken::Name && token == "def");
            after_anonymous_ = bind ? 2 : 0;
        }
        if (second_) {
            // `/name /other load`: an alias; else the first name is no
            // definition, and the second is looked at as the first.
            if (kind == PsToken::Name && token == "load") {
                add(*held_, Kind::Alias, *second_);
                held_ = second_ = std::nullopt;
                return;
            }
            add(*held_, Kind::Other, *second_);
            held_ = second_;
            second_ = std::nullopt;
        }
        if (held_) {
            const std::string_view name = *held_;
            held_ = std::nullopt;
            switch (kind) {
                case PsToken::ProcOpen:
                    if (open_.size() >= kMostNamedNesting) picture_invalid("EPS procedures nested too deep");
                    open_.push_back({name, offset(token) + 1, ++depth_});
                    return;
                case PsToken::Immediate: add(name, Kind::Alias, token); return;
                case PsToken::Literal:
                    held_ = name;
                    second_ = token;
                    return;
                default: add(name, Kind::Other, token); break;
            }
        }
        switch (kind) {
            case PsToken::Literal: held_ = token; break;
            case PsToken::ProcOpen: ++depth_; break;
            case PsToken::ProcClose:
                if (depth_ == 0) break;
                if (!open_.empty() && open_.back().depth == depth_) {
                    const Open o = open_.back();
                    open_.pop_back();
                    add(o.name, Kind::Procedure, text_.substr(o.body, offset(token) - o.body));
                } else {
                    after_anonymous_ = 1;
                }
                --depth_;
                break;
            default: break;
        }
    }

    std::size_t offset(std::string_view token) const { return static_cast<std::size_t>(token.data() - text_.data()); }

    void add(std::string_view name, Kind kind, std::string_view body = {}) {
        if (found_.size() >= kMostDefinitions) picture_invalid("EPS with more than 65,536 literal names");
        found_.push_back({name, body, offset(name), kind});
    }

    std::string_view text_;
    std::vector<EpsDefinitions::Definition> found_;
    std::vector<Open> open_;   // the named procedures open
    std::size_t depth_ = 0;    // all procedures open
    std::optional<std::string_view> held_;    // a literal name the next token tells about
    std::optional<std::string_view> second_;  // a literal name right after it
    int after_anonymous_ = 0;  // 1 right after a procedure of no name closed, 2 after its `bind`
    bool computes_names_ = false;
};

}  // namespace

bool paints_image_or_text(std::string_view name) {
    static constexpr std::string_view kOperators[] = {
        "image", "imagemask", "colorimage", "XI", "show", "ashow", "widthshow", "awidthshow", "kshow", "xshow",
        "yshow", "xyshow", "glyphshow", "cshow", "charpath", "To", "Tx", "TX", "Tj", "TJ"};
    return std::ranges::find(kOperators, name) != std::end(kOperators);
}

EpsDefinitions::EpsDefinitions(std::string_view postscript) : text_(postscript) {
    Reading reading(postscript);
    definitions_ = reading.read();
    computes_names_ = reading.computes_names();
    std::ranges::stable_sort(definitions_, by_name);
    marks_.resize(definitions_.size());
}

std::size_t EpsDefinitions::first_of(std::string_view name) const {
    const auto at = std::ranges::lower_bound(definitions_, name, {}, &Definition::name);
    return at != definitions_.end() && at->name == name ? static_cast<std::size_t>(at - definitions_.begin())
                                                        : definitions_.size();
}

std::span<const EpsDefinitions::Definition> EpsDefinitions::of(std::string_view name) const {
    // Looked up at every use of a name, which the file may define thousands of times.
    // Two searches rather than equal_range(), whose subrange clang does not
    // take with the standard library of GCC 12.
    const auto first = std::ranges::lower_bound(definitions_, name, {}, &Definition::name);
    const auto end = std::ranges::upper_bound(first, definitions_.end(), name, {}, &Definition::name);
    return {first, end};
}

std::string_view EpsDefinitions::value_of(const Definition& d) const {
    if (d.kind != Definition::Other || d.body.empty()) return d.body;
    const auto start = static_cast<std::size_t>(d.body.data() - text_.data());
    // A literal token's view starts after its slash.
    const std::size_t from = start > 0 && text_[start - 1] == '/' ? start - 1 : start;
    PsScanner scan(text_.substr(from));
    PsToken kind;
    std::string_view token;
    std::size_t end = from, depth = 0;
    while (scan.next(kind, token)) {
        const auto at = static_cast<std::size_t>(token.data() - text_.data());
        if (depth == 0 && text_.substr(end, at - end).find_first_of("\r\n") != std::string_view::npos) break;
        end = at + token.size();
        if (kind == PsToken::ProcOpen) ++depth;
        else if (kind == PsToken::ProcClose && depth > 0) --depth;
        else if (depth == 0 && kind == PsToken::Name && token == "def") break;
    }
    return text_.substr(from, end - from);
}

bool EpsDefinitions::reaches_image_or_text(std::string_view name) {
    // Every name met is marked as read; when one reaches an image or text,
    // the marks of this call are taken back.
    std::vector<std::size_t> marked;
    std::vector<std::string_view> to_read;  // names, as the definitions hold them
    // The characters of the strings met, and how deep in strings each stands.
    std::vector<std::pair<std::string, std::size_t>> strings;
    auto reaches = [&](std::string_view n) {
        if (paints_image_or_text(n)) return true;
        const std::size_t first = first_of(n);
        if (first < definitions_.size() && (marks_[first] & kReadWithoutImageOrText) == 0) {
            marks_[first] |= kReadWithoutImageOrText;
            marked.push_back(first);
            to_read.push_back(definitions_[first].name);
        }
        return false;
    };
    // A string may be made code or a name (cvx, cvn, token, run, ...): its
    // tokens count as those of the text holding it.
    auto read = [&](std::string_view text, std::size_t depth) {
        PsScanner scan(text);
        PsToken kind;
        std::string_view token;
        while (scan.next(kind, token)) {
            if (kind == PsToken::Name || kind == PsToken::Literal || kind == PsToken::Immediate) {
                if (reaches(token)) return true;
            } else if (kind == PsToken::String) {
                if (depth >= kMostStringNesting)
                    picture_invalid("EPS operator the file defines through strings nested more than 32 deep: " +
                                    std::string(name));
                strings.emplace_back(ps_string_content(token), depth + 1);
            }
        }
        return false;
    };
    bool found = reaches(name);
    while (!found && !(to_read.empty() && strings.empty())) {
        if (!strings.empty()) {
            const auto [text, depth] = std::move(strings.back());
            strings.pop_back();
            found = read(text, depth);
            continue;
        }
        const std::string_view n = to_read.back();
        to_read.pop_back();
        for (const Definition& d : of(n)) {
            found = d.kind == Definition::Alias ? reaches(d.body) : read(value_of(d), 0);
            if (found) break;
        }
    }
    if (found)
        for (const std::size_t i : marked) marks_[i] &= static_cast<std::uint8_t>(~kReadWithoutImageOrText);
    return found;
}

bool EpsDefinitions::names_unknown() const {
    return computes_names_ || defines("def") || defines("bind") || defines("load");
}

std::optional<EpsDefinitions::Procedure> EpsDefinitions::one_body(std::string_view name) const {
    const auto all = of(name);
    if (all.empty()) return std::nullopt;
    for (const Definition& d : all)
        if (d.kind == Definition::Other || d.body != all.front().body || d.kind != all.front().kind)
            return std::nullopt;
    return Procedure{all.front().body, all.front().position};
}

std::optional<EpsDefinitions::Procedure> EpsDefinitions::procedure(std::string_view name) {
    const auto all = of(name);
    if (all.empty()) return std::nullopt;
    std::uint8_t& mark = marks_[first_of(name)];
    if ((mark & kOneBody) == 0) {
        for (const Definition& d : all) {
            if (d.kind == Definition::Other)
                picture_invalid("EPS name the file gives a meaning the translator cannot follow: " + std::string(name));
            if (d.body != all.front().body || d.kind != all.front().kind)
                picture_invalid("EPS name the file defines in different ways: " + std::string(name));
        }
        mark |= kOneBody;
    }
    // Positions are in the text's order within a name.
    return Procedure{all.front().body, all.front().position};
}

}  // namespace pdf
