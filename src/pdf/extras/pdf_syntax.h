// The object syntax of PDF files we read: a tokenizer (numbers, names,
// literal and hexadecimal strings, delimiters, keywords, comments) and a
// parser of values into a small tree, and the writer of such trees back into
// PDF syntax.
//
// The input is untrusted: every read goes through a bounds-checked cursor,
// every loop consumes input, and nesting is capped so that no input can
// exhaust the stack.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pdf {

// Why a file cannot be read: 321 (malformed or unsupported) or 62 (it ends
// too early), with an Italian description.
class PdfReadError : public std::runtime_error {
public:
    PdfReadError(std::int32_t number, const std::string& why) : std::runtime_error(why), number_(number) {}
    std::int32_t number() const noexcept { return number_; }

private:
    std::int32_t number_;
};

[[noreturn]] inline void refuse(const std::string& why) { throw PdfReadError(321, why); }
[[noreturn]] inline void truncated(const std::string& why) { throw PdfReadError(62, why); }

struct PdfValue {
    enum class Kind : std::uint8_t { null, boolean, integer, real, string, name, array, dictionary, reference };
    Kind kind = Kind::null;
    bool boolean = false;
    // reference: the generation.
    std::int32_t generation = 0;
    // integer: the value; reference: the object number.
    std::int64_t integer = 0;
    // real: the number as written; string: its bytes, escapes undone (a
    // final odd digit of a hexadecimal string counts as followed by 0, as
    // PDF readers take it); name: its bytes without the "/" and with #xx
    // decoded.
    std::string text;
    // array: the items; dictionary: each key (a name) followed by its value.
    std::vector<PdfValue> items;

    bool is(Kind k) const { return kind == k; }
    bool is_number() const { return kind == Kind::integer || kind == Kind::real; }
    double number() const;
    // The dictionary's value for key (without "/"), nullptr when absent.
    const PdfValue* find(std::string_view key) const;
};

// What parsed values may still take of memory, in bytes. Every allocation a
// value makes (its slot in its parent's table, its text, its own table, and
// the old table while a growing one moves) is taken from it before it is
// made: a file cannot make the parser hold more than it was given.
class PdfParseBudget {
public:
    explicit PdfParseBudget(std::size_t bytes) : left_(bytes) {}
    std::size_t left() const { return left_; }
    // Refuses (PdfReadError 321) when fewer than `bytes` are left.
    void take(std::size_t bytes);
    void give_back(std::size_t bytes) { left_ += bytes; }

private:
    std::size_t left_;
};

// A bounds-checked reading position in a byte text.
class PdfCursor {
public:
    PdfCursor(std::string_view data, std::size_t pos = 0) : data_(data), pos_(pos < data.size() ? pos : data.size()) {}
    std::size_t pos() const { return pos_; }
    void seek(std::size_t pos) { pos_ = pos < data_.size() ? pos : data_.size(); }
    bool at_end() const { return pos_ >= data_.size(); }
    // The byte at the position, -1 at the end.
    int peek(std::size_t ahead = 0) const {
        return ahead < data_.size() - pos_ ? static_cast<unsigned char>(data_[pos_ + ahead]) : -1;
    }
    int next() { return pos_ < data_.size() ? static_cast<unsigned char>(data_[pos_++]) : -1; }
    std::string_view data() const { return data_; }

    // Skips white space and comments.
    void skip_space();
    // Skips white space and comments, then reads the keyword `word` (a run
    // of regular characters that must end there); false, position kept,
    // when something else stands there.
    bool keyword(std::string_view word);
    // Reads a non-negative integer token (digits only); false, position
    // kept, otherwise.
    bool unsigned_integer(std::int64_t& value);

private:
    std::string_view data_;
    std::size_t pos_;
};

bool is_pdf_space(int c);
bool is_pdf_delimiter(int c);

// Parses one value at the cursor (white space first skipped), references
// included. Refuses (PdfReadError 321) anything that is not a value, a
// nesting deeper than a fixed cap, and a value that would take more memory
// than `budget` holds (the heap memory it takes is taken from the budget; the
// value's own struct is the caller's); a value that runs to the end of the
// text is 62.
PdfValue parse_value(PdfCursor& cursor, PdfParseBudget& budget);

// The value in PDF syntax, on one line. Strings go through `string_bytes`
// (when given) before being escaped, which lets the caller encrypt them;
// references go through `reference` (when given), which writes "n g R" or
// "null" for the object they name; the key `omit` (when not empty) of the
// outermost dictionary is left out (a copied stream's /Length, written anew).
struct PdfWriteHooks {
    std::function<std::string(std::string_view)> string_bytes;
    std::function<std::string(std::int64_t number, std::int32_t generation)> reference;
    std::string_view omit;
};
std::string serialize(const PdfValue& value, const PdfWriteHooks& hooks = {});

}  // namespace pdf
