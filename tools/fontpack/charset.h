// The code points text can reach on this platform: ANSI text is code page 950.
#pragma once

#include <cstdint>
#include <set>

namespace fontpack {

// Every code point a code page 950 string decodes to (ASCII, each valid
// double-byte sequence, U+FFFD for invalid bytes) plus Latin-1. Throws
// std::runtime_error when the host's iconv has no Big5 converter.
std::set<uint32_t> codePage950Repertoire();

}  // namespace fontpack
