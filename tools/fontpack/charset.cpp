#include "charset.h"

#include <iconv.h>

#include <stdexcept>

namespace fontpack {

std::set<uint32_t> codePage950Repertoire() {
    std::set<uint32_t> points;
    for (uint32_t c = 0; c <= 0xFF; ++c) points.insert(c);  // ASCII and Latin-1
    points.insert(0xFFFD);                                  // what invalid bytes decode to

    // The same converter the platform's text decoding opens.
    iconv_t cd = iconv_open("UTF-32LE", "CP950");
    if (cd == iconv_t(-1)) cd = iconv_open("UTF-32LE", "BIG5");
    if (cd == iconv_t(-1)) throw std::runtime_error("iconv has no CP950 or BIG5 converter");
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 0x00; trail <= 0xFF; ++trail) {
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            unsigned char out[4];
            char* inPtr = in;
            size_t inLeft = 2;
            char* outPtr = reinterpret_cast<char*>(out);
            size_t outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0 || outLeft != 0) continue;
            points.insert(static_cast<uint32_t>(out[0] | out[1] << 8 | out[2] << 16) |
                          static_cast<uint32_t>(out[3]) << 24);
        }
    }
    iconv_close(cd);
    return points;
}

}  // namespace fontpack
