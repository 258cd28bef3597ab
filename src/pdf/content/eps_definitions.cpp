// Which names of an EPS file reach an image or text operator. Each reading
// of the file follows its definitions in their order; a name found to reach
// one may be used by a definition read earlier, so the file is read again
// until a reading finds no new name.
#include "pdf/content/eps_definitions.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "pdf/content/picture.h"
#include "pdf/content/postscript_tokens.h"

namespace pdf {

namespace {

constexpr std::size_t kMostNames = 65536;
constexpr std::size_t kMostNesting = 1024;
constexpr int kMostReadings = 8;

class Reading {
public:
    Reading(std::unordered_set<std::string_view>& found, bool (*kept)(std::string_view)) : found_(found), kept_(kept) {}

    bool token(PsToken kind, std::string_view text) {
        switch (kind) {
            case PsToken::Literal: remember(kind, text); return true;
            case PsToken::ProcOpen:
                // The procedure a literal name comes before is that name's.
                if (frames_.size() >= kMostNesting) picture_invalid("EPS procedures nested too deep");
                frames_.push_back({previous_.kind == PsToken::Literal ? previous_.text : std::string_view(), false});
                break;
            case PsToken::ProcClose:
                if (!frames_.empty()) {
                    const Frame frame = frames_.back();
                    frames_.pop_back();
                    if (frame.reaches && !frame.name.empty()) found(frame.name);
                }
                break;
            case PsToken::Name:
                if (text == "load" && previous_.kind == PsToken::Literal) {
                    // `/alias /name load def`
                    if (reaches(previous_.text)) {
                        used();
                        if (before_.kind == PsToken::Literal) found(before_.text);
                    }
                } else if (reaches(text)) {
                    used();
                }
                break;
            case PsToken::Immediate:
                // `/alias //name def`, or the operator itself in a procedure.
                if (reaches(text)) {
                    used();
                    if (previous_.kind == PsToken::Literal) found(previous_.text);
                }
                break;
            case PsToken::ArrayOpen:
            case PsToken::ArrayClose: break;
        }
        remember(kind, text);
        return true;
    }

    bool changed() const { return changed_; }

private:
    struct Frame {
        std::string_view name;  // empty: a procedure of no name
        bool reaches = false;
    };
    struct Seen {
        PsToken kind = PsToken::ArrayClose;
        std::string_view text;
    };

    // The names found never include a kept one.
    bool reaches(std::string_view name) const { return paints_image_or_text(name) || found_.contains(name); }
    // Every open procedure uses what was just met. Those that use
    // something already lie at the bottom of the stack.
    void used() {
        for (auto frame = frames_.rbegin(); frame != frames_.rend() && !frame->reaches; ++frame) frame->reaches = true;
    }
    void found(std::string_view name) {
        if (kept_(name) || !found_.insert(name).second) return;
        if (found_.size() > kMostNames) picture_invalid("EPS defines too many names for images or text");
        changed_ = true;
    }
    void remember(PsToken kind, std::string_view text) {
        before_ = previous_;
        previous_ = {kind, text};
    }

    std::unordered_set<std::string_view>& found_;
    bool (*kept_)(std::string_view);
    std::vector<Frame> frames_;
    Seen previous_, before_;
    bool changed_ = false;
};

}  // namespace

bool paints_image_or_text(std::string_view name) {
    static constexpr std::string_view kOperators[] = {
        "image", "imagemask", "colorimage", "XI", "show", "ashow", "widthshow", "awidthshow", "kshow", "xshow",
        "yshow", "xyshow", "glyphshow", "cshow", "charpath", "To", "Tx", "TX", "Tj", "TJ"};
    return std::ranges::find(kOperators, name) != std::end(kOperators);
}

std::unordered_set<std::string_view> names_painting_images_or_text(std::string_view postscript,
                                                                   bool (*kept)(std::string_view)) {
    std::unordered_set<std::string_view> found;
    for (int reading = 0; reading < kMostReadings; ++reading) {
        Reading read(found, kept);
        scan_postscript(postscript, [&](PsToken kind, std::string_view text) { return read.token(kind, text); });
        if (!read.changed()) return found;
    }
    picture_invalid("EPS definitions the translator cannot follow");
}

}  // namespace pdf
