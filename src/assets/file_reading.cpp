#include "assets/file_reading.h"

#include <algorithm>

namespace {

// Gaps and compressed data are read in pieces of this size, so that a size
// claimed by a header costs memory only as far as the file really goes.
constexpr uint64_t pieceSize = 65536;

}  // namespace

bool readExactly(HANDLE file, void* buffer, DWORD size) {
    DWORD delivered = 0;
    return ReadFile(file, buffer, size, &delivered, nullptr) && delivered == size;
}

bool skipBytes(HANDLE file, uint64_t count) {
    uint8_t scratch[4096];
    while (count > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<uint64_t>(count, sizeof(scratch)));
        if (!readExactly(file, scratch, piece)) return false;
        count -= piece;
    }
    return true;
}

bool readUpTo(HANDLE file, uint64_t limit, std::vector<uint8_t>* bytes) {
    bytes->clear();
    while (bytes->size() < limit) {
        const size_t start = bytes->size();
        const DWORD piece = static_cast<DWORD>(std::min<uint64_t>(limit - start, pieceSize));
        bytes->resize(start + piece);
        DWORD delivered = 0;
        if (!ReadFile(file, bytes->data() + start, piece, &delivered, nullptr)) return false;
        bytes->resize(start + delivered);
        if (delivered < piece) break;  // the end of the file
    }
    return true;
}
