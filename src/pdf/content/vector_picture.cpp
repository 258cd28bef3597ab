#include "pdf/content/vector_picture.h"

#include "pdf/core/number_format.h"

namespace pdf {

std::string vector_number(double value) { return format_number(static_cast<float>(value)); }

}  // namespace pdf
