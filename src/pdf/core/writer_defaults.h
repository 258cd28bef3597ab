// The writer's identification texts.
#pragma once

#include <string_view>

namespace pdf {

// The version text that Version() returns and the header comment carries.
inline constexpr std::string_view writer_version = "2.4.4";

// The header comment and the default /Producer: "% " + producer + " rel. "
// + version. The producer text also enters the file identifier of protected
// documents.
inline constexpr std::string_view default_producer = "Contratto PDF writer";
inline constexpr std::string_view default_creator = "Contratto di appalto";
inline constexpr std::string_view default_author = "";

}  // namespace pdf
