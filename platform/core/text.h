// The ANSI code page of the platform is 950: every ...A call that takes text
// reads it as Big5. These turn such text into code points and UTF-8, and
// UTF-8 (file names, the platform's own messages) into code points.
#pragma once

#include <string>
#include <string_view>

namespace qmp::text {

// Decodes `length` bytes of code page 950 text (length < 0: up to the first
// zero byte). Bytes that are not valid Big5 become U+FFFD, one per byte, so a
// hostile string never stops the decoding.
std::u32string decodeAnsi(const char* text, int length = -1);

std::string toUtf8(const std::u32string& codePoints);

// UTF-8 to code points; a byte that does not start a valid sequence becomes U+FFFD.
std::u32string fromUtf8(std::string_view text);

// decodeAnsi then toUtf8.
std::string ansiToUtf8(const char* text, int length = -1);

}  // namespace qmp::text
