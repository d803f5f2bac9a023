#include "core/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace qmp::text {
namespace {

// One converter for the process; iconv keeps no state between whole strings
// once reset.
struct Converter {
    iconv_t cd = iconv_t(-1);
    Converter() {
        cd = iconv_open("UTF-32LE", "CP950");
        if (cd == iconv_t(-1)) cd = iconv_open("UTF-32LE", "BIG5");
    }
    ~Converter() {
        if (cd != iconv_t(-1)) iconv_close(cd);
    }
};

Converter& converter() {
    static Converter c;
    return c;
}

}  // namespace

std::u32string decodeAnsi(const char* text, int length) {
    std::u32string result;
    if (text == nullptr) return result;
    size_t remaining = length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);

    Converter& c = converter();
    while (remaining > 0) {
        if (in[0] < 0x80) {  // ASCII is the same in Big5
            result.push_back(in[0]);
            ++in;
            --remaining;
            continue;
        }
        char32_t out = 0;
        bool decoded = false;
        if (c.cd != iconv_t(-1) && remaining >= 2) {
            iconv(c.cd, nullptr, nullptr, nullptr, nullptr);
            char* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
            size_t inLeft = 2;
            unsigned char buffer[4];
            char* outPtr = reinterpret_cast<char*>(buffer);
            size_t outLeft = sizeof buffer;
            if (iconv(c.cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) && inLeft == 0 && outLeft == 0) {
                out = static_cast<char32_t>(buffer[0] | (buffer[1] << 8) | (buffer[2] << 16) |
                                            (static_cast<uint32_t>(buffer[3]) << 24));
                decoded = true;
            }
        }
        if (decoded) {
            result.push_back(out);
            in += 2;
            remaining -= 2;
        } else {
            result.push_back(U'\uFFFD');
            ++in;
            --remaining;
        }
    }
    return result;
}

std::string toUtf8(const std::u32string& codePoints) {
    std::string out;
    for (char32_t cp : codePoints) {
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u32string fromUtf8(std::string_view text) {
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = -1;  // continuation bytes; -1: not a lead byte
        char32_t c = 0;
        char32_t least = 0;  // below it the sequence is overlong
        if (lead < 0x80) {
            extra = 0;
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            c = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            c = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            c = lead & 0x07;
            least = 0x10000;
        }
        bool valid = extra >= 0 && i + size_t(extra) < text.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + size_t(k)]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += U'\uFFFD';
            ++i;  // resynchronise on the next byte
            continue;
        }
        out += c;
        i += size_t(extra) + 1;
    }
    return out;
}

std::string ansiToUtf8(const char* text, int length) { return toUtf8(decodeAnsi(text, length)); }

}  // namespace qmp::text
