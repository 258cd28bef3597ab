#include "pdf/extras/pdf_syntax.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "pdf/content/pdf_name.h"
#include "pdf/core/text_utils.h"

namespace pdf {

namespace {

// Deeper nesting than this is refused: real files nest a handful of levels.
constexpr int kMaxDepth = 64;

int hex_value(int c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool is_regular(int c) { return c >= 0 && !is_pdf_space(c) && !is_pdf_delimiter(c); }

// Heap bytes a text or a table holds (none for a short text kept inside the
// string itself).
std::size_t heap_bytes(const std::string& s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* self = reinterpret_cast<const unsigned char*>(&s);
    return p >= self && p < self + sizeof s ? 0 : s.capacity() + 1;
}
std::size_t heap_bytes(const std::vector<PdfValue>& v) { return v.capacity() * sizeof(PdfValue); }

// Makes room for one more element by doubling the capacity, the budget
// charged for the new block while the old one is still held.
template <typename Container>
void make_room(Container& c, PdfParseBudget& budget) {
    if (c.size() < c.capacity()) return;
    using Element = typename Container::value_type;
    const std::size_t before = heap_bytes(c);
    const std::size_t capacity = std::max<std::size_t>(c.capacity() * 2, sizeof(Element) == 1 ? 32 : 4);
    const std::size_t estimate = capacity * sizeof(Element) + 1;
    budget.take(estimate);
    c.reserve(capacity);
    const std::size_t after = heap_bytes(c);
    if (after > estimate) {
        budget.take(after - estimate);
    } else {
        budget.give_back(estimate - after);
    }
    budget.give_back(before);
}

void append(std::string& s, int c, PdfParseBudget& budget) {
    make_room(s, budget);
    s += static_cast<char>(c);
}

// A number token as PDF writes them: sign, digits, at most one point.
bool valid_number(std::string_view token) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    bool digits = false, point = false;
    for (; i < token.size(); ++i) {
        if (token[i] >= '0' && token[i] <= '9') {
            digits = true;
        } else if (token[i] == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

std::string regular_run(PdfCursor& cursor, PdfParseBudget& budget) {
    std::string token;
    while (is_regular(cursor.peek())) append(token, cursor.next(), budget);
    return token;
}

PdfValue parse_number(std::string token) {
    PdfValue v;
    const bool integral = token.find('.') == std::string::npos;
    if (integral) {
        const char* begin = token.data() + (token[0] == '+' ? 1 : 0);
        const auto [end, ec] = std::from_chars(begin, token.data() + token.size(), v.integer);
        if (ec == std::errc() && end == token.data() + token.size()) {
            v.kind = PdfValue::Kind::integer;
            return v;
        }
    }
    // Very long integers become reals, written back as they stand.
    v.kind = PdfValue::Kind::real;
    v.text = std::move(token);
    return v;
}

bool is_octal(int c) { return c >= '0' && c <= '7'; }

PdfValue parse_literal_string(PdfCursor& cursor, PdfParseBudget& budget) {
    PdfValue v;
    v.kind = PdfValue::Kind::string;
    int depth = 1;
    for (;;) {
        int c = cursor.next();
        if (c < 0) truncated("il file finisce dentro una stringa");
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) break;
        } else if (c == '\\') {
            c = cursor.next();
            if (c < 0) truncated("il file finisce dentro una stringa");
            switch (c) {
                case 'n': c = '\n'; break;
                case 'r': c = '\r'; break;
                case 't': c = '\t'; break;
                case 'b': c = '\b'; break;
                case 'f': c = '\f'; break;
                case '\r':
                    // A backslash at the end of a line joins the lines.
                    if (cursor.peek() == '\n') cursor.next();
                    continue;
                case '\n': continue;
                default:
                    // At most three octal digits; a fourth is a character.
                    if (is_octal(c)) {
                        int value = c - '0';
                        for (int k = 0; k < 2 && is_octal(cursor.peek()); ++k)
                            value = value * 8 + (cursor.next() - '0');
                        c = value & 0xFF;
                    }
                    break;
            }
        } else if (c == '\r') {
            // An end of line inside a string reads as one LF.
            if (cursor.peek() == '\n') cursor.next();
            c = '\n';
        }
        append(v.text, c, budget);
    }
    return v;
}

PdfValue parse_hex_string(PdfCursor& cursor, PdfParseBudget& budget) {
    PdfValue v;
    v.kind = PdfValue::Kind::string;
    int high = -1;
    for (;;) {
        const int c = cursor.next();
        if (c < 0) truncated("il file finisce dentro una stringa");
        if (c == '>') break;
        if (is_pdf_space(c)) continue;
        const int h = hex_value(c);
        if (h < 0) refuse("carattere non esadecimale in una stringa esadecimale");
        if (high < 0) {
            high = h;
        } else {
            append(v.text, high * 16 + h, budget);
            high = -1;
        }
    }
    // A final odd digit is kept, as if followed by 0.
    if (high >= 0) append(v.text, high * 16, budget);
    return v;
}

PdfValue parse_name(PdfCursor& cursor, PdfParseBudget& budget) {
    PdfValue v;
    v.kind = PdfValue::Kind::name;
    while (is_regular(cursor.peek())) {
        int c = cursor.next();
        if (c == '#' && hex_value(cursor.peek()) >= 0 && hex_value(cursor.peek(1)) >= 0) {
            const int high = hex_value(cursor.next());
            c = high * 16 + hex_value(cursor.next());
        }
        append(v.text, c, budget);
    }
    return v;
}

PdfValue parse(PdfCursor& cursor, int depth, PdfParseBudget& budget);

PdfValue parse_after_integer(PdfCursor& cursor, PdfValue first) {
    // "n g R" is a reference; anything else leaves the number alone.
    const std::size_t after = cursor.pos();
    std::int64_t generation = 0;
    if (first.integer >= 0 && cursor.unsigned_integer(generation) && generation <= 65535 && cursor.keyword("R")) {
        first.kind = PdfValue::Kind::reference;
        first.generation = static_cast<std::int32_t>(generation);
        return first;
    }
    cursor.seek(after);
    return first;
}

PdfValue parse(PdfCursor& cursor, int depth, PdfParseBudget& budget) {
    if (depth > kMaxDepth) refuse("oggetti annidati troppo in profondit\xE0");
    cursor.skip_space();
    const int c = cursor.peek();
    if (c < 0) truncated("il file finisce dentro un oggetto");
    if (c == '/') {
        cursor.next();
        return parse_name(cursor, budget);
    }
    if (c == '(') {
        cursor.next();
        return parse_literal_string(cursor, budget);
    }
    if (c == '<' && cursor.peek(1) == '<') {
        cursor.next();
        cursor.next();
        PdfValue dict;
        dict.kind = PdfValue::Kind::dictionary;
        for (;;) {
            cursor.skip_space();
            if (cursor.peek() == '>' && cursor.peek(1) == '>') {
                cursor.next();
                cursor.next();
                return dict;
            }
            if (cursor.at_end()) truncated("il file finisce dentro un dizionario");
            if (cursor.peek() != '/') refuse("chiave di dizionario che non \xE8 un nome");
            cursor.next();
            make_room(dict.items, budget);
            dict.items.push_back(parse_name(cursor, budget));
            make_room(dict.items, budget);
            dict.items.push_back(parse(cursor, depth + 1, budget));
        }
    }
    if (c == '<') {
        cursor.next();
        return parse_hex_string(cursor, budget);
    }
    if (c == '[') {
        cursor.next();
        PdfValue array;
        array.kind = PdfValue::Kind::array;
        for (;;) {
            cursor.skip_space();
            if (cursor.peek() == ']') {
                cursor.next();
                return array;
            }
            if (cursor.at_end()) truncated("il file finisce dentro un array");
            make_room(array.items, budget);
            array.items.push_back(parse(cursor, depth + 1, budget));
        }
    }
    if (!is_regular(c)) refuse(std::string("carattere inatteso '") + static_cast<char>(c) + "'");
    std::string token = regular_run(cursor, budget);
    if (valid_number(token)) {
        PdfValue v = parse_number(std::move(token));
        if (v.is(PdfValue::Kind::integer)) return parse_after_integer(cursor, std::move(v));
        return v;
    }
    PdfValue v;
    if (token == "true" || token == "false") {
        v.kind = PdfValue::Kind::boolean;
        v.boolean = token == "true";
        return v;
    }
    if (token == "null") return v;
    refuse("parola chiave inattesa '" + token.substr(0, 40) + "'");
}

std::string format_string(const std::string& bytes, const PdfWriteHooks& hooks) {
    return "(" + escape_string(hooks.string_bytes ? hooks.string_bytes(bytes) : bytes) + ")";
}

void write_value(const PdfValue& v, const PdfWriteHooks& hooks, std::string& out, std::string_view omit = {}) {
    switch (v.kind) {
        case PdfValue::Kind::null: out += "null"; break;
        case PdfValue::Kind::boolean: out += v.boolean ? "true" : "false"; break;
        case PdfValue::Kind::integer: out += std::to_string(v.integer); break;
        case PdfValue::Kind::real: out += v.text; break;
        case PdfValue::Kind::string: out += format_string(v.text, hooks); break;
        case PdfValue::Kind::name:
            out += '/';
            out += pdf_name(v.text);
            break;
        case PdfValue::Kind::array:
            out += '[';
            for (std::size_t i = 0; i < v.items.size(); ++i) {
                if (i > 0) out += ' ';
                write_value(v.items[i], hooks, out);
            }
            out += ']';
            break;
        case PdfValue::Kind::dictionary:
            out += "<<";
            for (std::size_t i = 0; i + 1 < v.items.size(); i += 2) {
                if (!omit.empty() && v.items[i].text == omit) continue;
                out += " /";
                out += pdf_name(v.items[i].text);
                out += ' ';
                write_value(v.items[i + 1], hooks, out);
            }
            out += " >>";
            break;
        case PdfValue::Kind::reference:
            if (hooks.reference) {
                out += hooks.reference(v.integer, v.generation);
            } else {
                out += std::to_string(v.integer) + " " + std::to_string(v.generation) + " R";
            }
            break;
    }
}

}  // namespace

bool is_pdf_space(int c) { return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' '; }

bool is_pdf_delimiter(int c) {
    return c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' || c == '{' || c == '}' ||
           c == '/' || c == '%';
}

void PdfCursor::skip_space() {
    for (;;) {
        const int c = peek();
        if (is_pdf_space(c)) {
            ++pos_;
        } else if (c == '%') {
            while (!at_end() && peek() != '\r' && peek() != '\n') ++pos_;
        } else {
            return;
        }
    }
}

bool PdfCursor::keyword(std::string_view word) {
    const std::size_t start = pos_;
    skip_space();
    if (data_.substr(pos_, word.size()) == word) {
        const int after = pos_ + word.size() < data_.size() ? static_cast<unsigned char>(data_[pos_ + word.size()]) : -1;
        if (!is_regular(after)) {
            pos_ += word.size();
            return true;
        }
    }
    pos_ = start;
    return false;
}

bool PdfCursor::unsigned_integer(std::int64_t& value) {
    const std::size_t start = pos_;
    skip_space();
    std::int64_t v = 0;
    std::size_t digits = 0;
    while (peek() >= '0' && peek() <= '9' && digits < 18) {
        v = v * 10 + (next() - '0');
        ++digits;
    }
    if (digits == 0 || is_regular(peek())) {
        pos_ = start;
        return false;
    }
    value = v;
    return true;
}

double PdfValue::number() const {
    if (kind == Kind::integer) return static_cast<double>(integer);
    if (kind == Kind::real) return std::strtod(text.c_str(), nullptr);
    return 0;
}

const PdfValue* PdfValue::find(std::string_view key) const {
    if (kind != Kind::dictionary) return nullptr;
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        if (items[i].text == key) return &items[i + 1];
    return nullptr;
}

void PdfParseBudget::take(std::size_t bytes) {
    if (bytes > left_) refuse("oggetti troppo grandi per la memoria concessa alla lettura");
    left_ -= bytes;
}

PdfValue parse_value(PdfCursor& cursor, PdfParseBudget& budget) { return parse(cursor, 0, budget); }

std::string serialize(const PdfValue& value, const PdfWriteHooks& hooks) {
    std::string out;
    write_value(value, hooks, out, hooks.omit);
    return out;
}

}  // namespace pdf
