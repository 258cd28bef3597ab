#include "pdf/extras/layer_switch.h"

#include <vector>

#include "common/cp1252.h"
#include "pdf/core/text_utils.h"

namespace pdf {

namespace {

// The names of the first "KEY(...)" group; a group left open runs to the end.
std::vector<std::string> group_names(const std::string& text, const std::string& key) {
    const auto start = text.find(key + "(");
    if (start == std::string::npos) return {};
    const auto from = start + key.size() + 1;
    const auto end = text.find(')', from);
    const std::string inside = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    std::vector<std::string> names;
    for (auto& name : split_text(inside, ","))
        if (!name.empty()) names.push_back(name);
    return names;
}

// A layer name inside a single-quoted script string: a quote or backslash
// in a name must not end the string or run script of its own.
std::string quoted(const std::string& name) {
    std::string out;
    for (char c : name) {
        if (c == '\'' || c == '\\') out += '\\';
        if (c == '\r' || c == '\n') continue;
        out += c;
    }
    return out;
}

}  // namespace

std::string layer_switch_script(std::string_view groups) {
    std::string text;
    for (char c : groups)
        if (c != ' ') text += c;
    std::string script = "var ocgArray = this.getOCGs();for (var i=0; i < ocgArray.length; i++) {\r";
    const struct {
        const char* key;
        const char* action;
    } kinds[] = {{"ON", "ocgArray[i].state = true;"},
                 {"OFF", "ocgArray[i].state = false;"},
                 {"TOGGLE", "ocgArray[i].state = !ocgArray[i].state;"}};
    for (const auto& kind : kinds) {
        for (const auto& name : group_names(text, kind.key)) {
            script += "if (ocgArray[i].name.toUpperCase() == '" + quoted(maiuscolo(name)) + "') { " + kind.action +
                      " };\r";
        }
    }
    return script + "}";
}

}  // namespace pdf
