// The names an EPS file defines, read one way for the whole file: a literal
// name directly followed by a procedure (`/name {...} def`, with `bind`, or
// stored by any other operator) or by another name (`/name /other load
// def`, `/name //other def`). Every other literal name is noted too (`/name
// 5 def`, `/name where`), with the token after it: its name may mean
// something the translator cannot follow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pdf {

// The operators that paint an image or text: PostScript's (image,
// imagemask, colorimage, show and its kin, charpath) and Illustrator's
// (XI; To, Tx, TX, Tj, TJ).
bool paints_image_or_text(std::string_view name);

class EpsDefinitions {
public:
    struct Definition {
        enum Kind : std::uint8_t {
            Procedure,  // body: the text between its braces (to the end of the file when it is not closed)
            Alias,      // body: the other name
            Other       // body: the token after the name, if any
        };
        std::string_view name;
        std::string_view body;
        std::size_t position = 0;  // of the literal name in the text
        Kind kind = Other;
    };

    // Reads the whole of `postscript`, embedded documents included; the
    // definitions view it. Throws PdfError 321 for more than 65,536 literal
    // names, or named procedures nested more than 1,024 deep.
    explicit EpsDefinitions(std::string_view postscript);

    // The definitions and other literal uses of `name`, in the text's order.
    std::span<const Definition> of(std::string_view name) const;
    bool defines(std::string_view name) const { return !of(name).empty(); }

    // Whether a definition of `name`, or of one of the names it uses,
    // directly or through their own definitions, names an image or text
    // operator; as a literal name too (`/show load`), and in the characters
    // of a string it holds (`(show) cvn`, `(... show) cvx exec`), which count
    // as tokens of their own. Each body is read at most once over all calls.
    // Throws PdfError 321, naming `name`, for strings within strings nested
    // more than 32 deep.
    bool reaches_image_or_text(std::string_view name);

    // Whether the file may define names the reading cannot tell: it defines
    // a procedure under a name it computes (`(name) cvn {...} def`), or
    // gives def, bind or load, by which it reads definitions, a meaning of
    // the file's own.
    bool names_unknown() const;

    // What the drawing runs where it uses `name`: the body its definitions
    // give (an alias: the other name), and where the first of them stands.
    // Throws PdfError 321, naming it, for a name noted as another literal
    // use, or defined by different bodies. None: the file defines no such
    // name.
    struct Procedure {
        std::string_view body;
        std::size_t position = 0;
    };
    std::optional<Procedure> procedure(std::string_view name);
    // The same without refusing: none also where procedure() refuses.
    std::optional<Procedure> one_body(std::string_view name) const;

private:
    // The first definition of `name`, or the end.
    std::size_t first_of(std::string_view name) const;
    // What a definition gives its name: a procedure's body, an alias's
    // name; for another literal use, the tokens from the one after the name
    // to the `def` that stores it or the end of the line, whichever comes
    // first (`/Ln systemdict /show get def`).
    std::string_view value_of(const Definition& d) const;

    std::string_view text_;

    std::vector<Definition> definitions_;  // by name, then position
    // By the index of a name's first definition: bit 1 its bodies read
    // without reaching an image or text, bit 2 found to give one body.
    std::vector<std::uint8_t> marks_;
    bool computes_names_ = false;
};

}  // namespace pdf
