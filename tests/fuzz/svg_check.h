// A strict check of the picture the host writes: valid UTF-8 without control characters, a
// well-formed XML document with one <svg> root and, when finiteNumbers is set, every attribute
// that carries numbers holding finite numbers only.
#pragma once

#include <string>
#include <string_view>

// True when the text is such a picture; otherwise false with the problem and its byte offset.
bool IsValidSvg(std::string_view text, bool finiteNumbers, std::string& problem);
