// qpdf's JSON view of a PDF file (qpdf --json=2) read into a tree, so that
// tests can hold what our reader and our writer make against what qpdf
// reads in the same bytes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/tools.h"

namespace extrastest {

struct Json {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    // string: its text in UTF-8; number and boolean: as written.
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> members;

    const Json& operator[](const std::string& key) const {
        static const Json none;
        const auto found = members.find(key);
        return found == members.end() ? none : found->second;
    }
};

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    Json value() {
        skip();
        Json v;
        const char c = pos_ < text_.size() ? text_[pos_] : '\0';
        if (c == '{' || c == '[') {
            ++pos_;
            v.kind = c == '{' ? Json::Kind::object : Json::Kind::array;
            for (skip(); pos_ < text_.size() && text_[pos_] != (c == '{' ? '}' : ']'); skip()) {
                if (c == '{') {
                    skip();
                    const std::string key = string();
                    skip();
                    ++pos_;  // ':'
                    v.members[key] = value();
                } else {
                    v.items.push_back(value());
                }
                skip();
                if (pos_ < text_.size() && text_[pos_] == ',') ++pos_;
            }
            ++pos_;
        } else if (c == '"') {
            v.kind = Json::Kind::string;
            v.text = string();
        } else {
            // Numbers as qpdf writes them (which may be "5." or "+.5"), true,
            // false, null.
            const std::size_t end = text_.find_first_of(",]} \n", pos_);
            v.text = std::string(text_.substr(pos_, end - pos_));
            pos_ = end;
            v.kind = v.text == "null"                        ? Json::Kind::null
                     : v.text == "true" || v.text == "false" ? Json::Kind::boolean
                                                             : Json::Kind::number;
        }
        return v;
    }

private:
    void skip() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r')) ++pos_;
    }
    std::string string() {
        std::string out;
        ++pos_;  // '"'
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            c = text_[pos_++];
            switch (c) {
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'u': {
                    // The tests meet characters below U+0800 only; others
                    // keep their escape, which compares as well.
                    const std::string digits(text_.substr(pos_, 4));
                    pos_ += 4;
                    const auto code = static_cast<unsigned>(std::strtoul(digits.c_str(), nullptr, 16));
                    if (code < 0x80) {
                        out += static_cast<char>(code);
                    } else if (code < 0x800) {
                        out += static_cast<char>(0xC0 | (code >> 6));
                        out += static_cast<char>(0x80 | (code & 0x3F));
                    } else {
                        out += "\\u" + digits;
                    }
                    break;
                }
                default: out += c;
            }
        }
        ++pos_;
        return out;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// qpdf's JSON of a file: "qpdf", its header and every object by "obj:N G R"
// and "trailer", each {"value": ...} or {"stream": {"dict": ..., "data":
// base64 of the bytes as they stand, decrypted}}; with `pages`, "pages" too,
// each page's "object" in page order.
inline Json qpdf_json(const std::filesystem::path& file, bool pages = false) {
    const auto r = testsupport::run_command(std::string("qpdf --json=2 --json-key=qpdf ") +
                                            (pages ? "--json-key=pages " : "") +
                                            "--json-stream-data=inline --decode-level=none " +
                                            testsupport::shell_quote(file.string()));
    EXPECT_EQ(r.exit_code, 0) << file << ": " << r.err;
    return JsonReader(r.out).value();
}

// The objects of qpdf's JSON of a file.
inline Json qpdf_objects(const std::filesystem::path& file) {
    const Json json = qpdf_json(file);
    return json["qpdf"].items.size() == 2 ? json["qpdf"].items[1] : Json{};
}

// A string of qpdf's JSON ("u:" text, "b:" hexadecimal) as its bytes; text
// characters are all below U+0100 where this is used.
inline std::string qpdf_string_bytes(const std::string& item) {
    std::string bytes;
    if (item.rfind("b:", 0) == 0) {
        for (std::size_t i = 2; i + 1 < item.size(); i += 2)
            bytes += static_cast<char>(std::stoi(item.substr(i, 2), nullptr, 16));
    } else {
        for (std::size_t i = 2; i < item.size(); ++i) {
            const auto b = static_cast<unsigned char>(item[i]);
            bytes += static_cast<char>(b < 0x80 ? b : ((b & 0x1F) << 6) | (item[++i] & 0x3F));
        }
    }
    return bytes;
}

}  // namespace extrastest
