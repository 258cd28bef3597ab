#include "pdf/content/vector_picture.h"

#include <limits>

#include "pdf/content/picture.h"
#include "pdf/core/number_format.h"

namespace pdf {

void VectorOut::line(std::string_view text) {
    written_ += 1 + text.size();
    if (written_ > limit_) picture_invalid("drawing larger than its memory budget");
    if (target_ == nullptr) return;
    target_->push_back('\r');
    target_->append(text);
}

VectorDrawing translate_apart(VectorTranslator translate, std::span<const std::uint8_t> file, const VectorFit& fit) {
    ContentText lines;
    VectorOut out(&lines, std::numeric_limits<std::uint64_t>::max());
    VectorDrawing drawing;
    drawing.size = translate(file, fit, out);
    drawing.operators = lines.text();
    if (!drawing.operators.empty()) drawing.operators.erase(0, 1);  // the first line's CR
    return drawing;
}

std::string vector_number(double value) { return format_number(static_cast<float>(value)); }

}  // namespace pdf
