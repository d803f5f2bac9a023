#include "pcf.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace fontpack {
namespace {

// Table types and format bits of the PCF file format.
constexpr uint32_t PCF_ACCELERATORS = 1u << 1;
constexpr uint32_t PCF_METRICS = 1u << 2;
constexpr uint32_t PCF_BITMAPS = 1u << 3;
constexpr uint32_t PCF_BDF_ENCODINGS = 1u << 5;
constexpr uint32_t PCF_BDF_ACCELERATORS = 1u << 8;
constexpr uint32_t PCF_COMPRESSED_METRICS = 0x100;
constexpr uint32_t PCF_BYTE_MASK = 1u << 2;  // integers most significant byte first
constexpr uint32_t PCF_BIT_MASK = 1u << 3;   // bitmap bytes' leftmost pixel in the top bit

std::vector<uint8_t> readWholeFile(const std::string& path) {
    gzFile file = gzopen(path.c_str(), "rb");  // reads plain files as they are
    if (file == nullptr) throw std::runtime_error(path + ": cannot open");
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    for (;;) {
        int n = gzread(file, buffer, sizeof buffer);
        if (n < 0) {
            gzclose(file);
            throw std::runtime_error(path + ": cannot decompress");
        }
        if (n == 0) break;
        data.insert(data.end(), buffer, buffer + n);
        if (data.size() > (64u << 20)) {
            gzclose(file);
            throw std::runtime_error(path + ": larger than any bitmap font");
        }
    }
    gzclose(file);
    return data;
}

// Bounds-checked reads from one table, in the table's byte order.
class TableReader {
public:
    TableReader(const std::vector<uint8_t>& data, size_t offset, size_t size, const std::string& path)
        : data_(data), pos_(offset), end_(offset), path_(path) {
        if (offset > data.size()) fail("table outside the file");
        // Some fonts declare their last table longer than the file; the reads still stop at its end.
        end_ = offset + std::min<size_t>(size, data.size() - offset);
        format_ = u32le();
    }
    uint32_t format() const { return format_; }
    size_t position() const { return pos_; }
    bool msbFirst() const { return (format_ & PCF_BYTE_MASK) != 0; }

    uint32_t u32() { return msbFirst() ? u32be() : u32le(); }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    int16_t i16() {
        need(2);
        uint16_t v = msbFirst() ? static_cast<uint16_t>(data_[pos_] << 8 | data_[pos_ + 1])
                                : static_cast<uint16_t>(data_[pos_ + 1] << 8 | data_[pos_]);
        pos_ += 2;
        return static_cast<int16_t>(v);
    }
    uint8_t u8() {
        need(1);
        return data_[pos_++];
    }
    void skip(size_t n) {
        need(n);
        pos_ += n;
    }
    const uint8_t* bytes(size_t n) {
        need(n);
        const uint8_t* p = data_.data() + pos_;
        pos_ += n;
        return p;
    }
    [[noreturn]] void fail(const std::string& why) const { throw std::runtime_error(path_ + ": " + why); }

private:
    void need(size_t n) const {
        if (n > end_ - pos_) fail("table ends early");
    }
    uint32_t u32le() {
        need(4);
        uint32_t v = static_cast<uint32_t>(data_[pos_]) | static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
                     static_cast<uint32_t>(data_[pos_ + 2]) << 16 | static_cast<uint32_t>(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    uint32_t u32be() {
        need(4);
        uint32_t v = static_cast<uint32_t>(data_[pos_]) << 24 | static_cast<uint32_t>(data_[pos_ + 1]) << 16 |
                     static_cast<uint32_t>(data_[pos_ + 2]) << 8 | static_cast<uint32_t>(data_[pos_ + 3]);
        pos_ += 4;
        return v;
    }

    const std::vector<uint8_t>& data_;
    size_t pos_;
    size_t end_;
    std::string path_;
    uint32_t format_ = 0;
};

struct TocEntry {
    uint32_t type, format, size, offset;
};

struct Metrics {
    int lsb, rsb, width, ascent, descent;
};

uint8_t reverseBits(uint8_t b) {
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

}  // namespace

Face readPcf(const std::string& path) {
    const std::vector<uint8_t> data = readWholeFile(path);
    if (data.size() < 8 || std::memcmp(data.data(), "\1fcp", 4) != 0) throw std::runtime_error(path + ": not a PCF font");
    auto le32 = [&](size_t at) {
        if (at + 4 > data.size()) throw std::runtime_error(path + ": table of contents ends early");
        return static_cast<uint32_t>(data[at]) | static_cast<uint32_t>(data[at + 1]) << 8 |
               static_cast<uint32_t>(data[at + 2]) << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
    };
    const uint32_t tableCount = le32(4);
    if (tableCount > 64) throw std::runtime_error(path + ": implausible table count");
    std::vector<TocEntry> toc;
    for (uint32_t i = 0; i < tableCount; ++i) {
        size_t at = 8 + i * 16;
        toc.push_back({le32(at), le32(at + 4), le32(at + 8), le32(at + 12)});
    }
    auto table = [&](uint32_t type) -> const TocEntry* {
        for (const TocEntry& e : toc)
            if (e.type == type) return &e;
        return nullptr;
    };
    const TocEntry* accel = table(PCF_BDF_ACCELERATORS);
    if (accel == nullptr) accel = table(PCF_ACCELERATORS);
    const TocEntry* metricsEntry = table(PCF_METRICS);
    const TocEntry* bitmapsEntry = table(PCF_BITMAPS);
    const TocEntry* encodingsEntry = table(PCF_BDF_ENCODINGS);
    if (!accel || !metricsEntry || !bitmapsEntry || !encodingsEntry)
        throw std::runtime_error(path + ": a required table is missing");

    Face face;
    face.source = path;
    {
        TableReader r(data, accel->offset, accel->size, path);
        r.skip(8);  // the flags
        int fontAscent = r.i32();
        int fontDescent = r.i32();
        if (fontAscent < 0 || fontDescent < 0 || fontAscent + fontDescent <= 0 || fontAscent + fontDescent > 64)
            r.fail("implausible font ascent and descent");
        face.ascent = fontAscent;
        face.height = fontAscent + fontDescent;
    }

    std::vector<Metrics> metrics;
    {
        TableReader r(data, metricsEntry->offset, metricsEntry->size, path);
        const bool compressed = (r.format() & PCF_COMPRESSED_METRICS) != 0;
        const int count = compressed ? r.i16() : r.i32();
        if (count < 0) r.fail("negative glyph count");
        for (int i = 0; i < count; ++i) {
            Metrics m{};
            if (compressed) {
                m.lsb = r.u8() - 0x80;
                m.rsb = r.u8() - 0x80;
                m.width = r.u8() - 0x80;
                m.ascent = r.u8() - 0x80;
                m.descent = r.u8() - 0x80;
            } else {
                m.lsb = r.i16();
                m.rsb = r.i16();
                m.width = r.i16();
                m.ascent = r.i16();
                m.descent = r.i16();
                r.i16();  // attributes
            }
            metrics.push_back(m);
        }
    }

    std::vector<uint32_t> offsets;
    const uint8_t* bitmapData = nullptr;
    size_t bitmapSize = 0;
    uint32_t bitmapFormat = 0;
    {
        TableReader r(data, bitmapsEntry->offset, bitmapsEntry->size, path);
        bitmapFormat = r.format();
        const int count = r.i32();
        if (count < 0 || static_cast<size_t>(count) != metrics.size()) r.fail("bitmap and metric counts differ");
        for (int i = 0; i < count; ++i) offsets.push_back(r.u32());
        uint32_t sizes[4];
        for (uint32_t& s : sizes) s = r.u32();
        bitmapSize = sizes[bitmapFormat & 3];
        bitmapData = r.bytes(bitmapSize);
    }
    const int padBytes = 1 << (bitmapFormat & 3);
    const int scanUnit = 1 << ((bitmapFormat >> 4) & 3);
    const bool bitsMsbFirst = (bitmapFormat & PCF_BIT_MASK) != 0;
    const bool bytesMsbFirst = (bitmapFormat & PCF_BYTE_MASK) != 0;

    // Copies glyph i into a cell of the face's height and its advance.
    auto makeCell = [&](uint32_t codePoint, size_t i) {
        const Metrics& m = metrics[i];
        CellGlyph cell;
        cell.codePoint = codePoint;
        cell.advance = m.width;
        if (cell.advance <= 0 || cell.advance > 64) throw std::runtime_error(path + ": implausible glyph width");
        const int rowBytes = bytesPerRow(cell.advance);
        cell.rows.assign(static_cast<size_t>(face.height * rowBytes), 0);
        const int glyphWidth = m.rsb - m.lsb;
        const int glyphRows = m.ascent + m.descent;
        if (glyphWidth <= 0 || glyphRows <= 0) return cell;  // a blank glyph
        if (glyphWidth > 256 || glyphRows > 256) throw std::runtime_error(path + ": implausible glyph size");
        const int stride = ((glyphWidth + 7) / 8 + padBytes - 1) / padBytes * padBytes;
        if (offsets[i] > bitmapSize || static_cast<size_t>(stride) * glyphRows > bitmapSize - offsets[i])
            throw std::runtime_error(path + ": glyph bitmap outside the table");
        std::vector<uint8_t> row(static_cast<size_t>(stride));
        for (int gy = 0; gy < glyphRows; ++gy) {
            std::memcpy(row.data(), bitmapData + offsets[i] + static_cast<size_t>(gy) * stride, row.size());
            if (!bitsMsbFirst)
                for (uint8_t& b : row) b = reverseBits(b);
            if (bytesMsbFirst != bitsMsbFirst && scanUnit > 1)
                for (size_t u = 0; u + scanUnit <= row.size(); u += scanUnit)
                    std::reverse(row.begin() + static_cast<long>(u), row.begin() + static_cast<long>(u + scanUnit));
            const int cellY = face.ascent - m.ascent + gy;
            if (cellY < 0 || cellY >= face.height) continue;
            for (int gx = 0; gx < glyphWidth; ++gx) {
                if (!(row[gx / 8] & (0x80 >> (gx % 8)))) continue;
                const int cellX = m.lsb + gx;
                if (cellX < 0 || cellX >= cell.advance) continue;
                cell.rows[static_cast<size_t>(cellY * rowBytes + cellX / 8)] |= static_cast<uint8_t>(0x80 >> (cellX % 8));
            }
        }
        return cell;
    };

    TableReader r(data, encodingsEntry->offset, encodingsEntry->size, path);
    const int minByte2 = r.i16();
    const int maxByte2 = r.i16();
    const int minByte1 = r.i16();
    const int maxByte1 = r.i16();
    r.i16();  // the default character
    if (minByte2 < 0 || maxByte2 > 255 || minByte2 > maxByte2 || minByte1 < 0 || maxByte1 > 255 || minByte1 > maxByte1)
        r.fail("implausible encoding ranges");
    for (int b1 = minByte1; b1 <= maxByte1; ++b1) {
        for (int b2 = minByte2; b2 <= maxByte2; ++b2) {
            const uint16_t index = static_cast<uint16_t>(r.i16());
            if (index == 0xFFFF) continue;
            if (index >= metrics.size()) r.fail("glyph index out of range");
            face.glyphs.push_back(makeCell(static_cast<uint32_t>(b1 << 8 | b2), index));
        }
    }
    return face;  // the encoding table runs in code order, so the glyphs are sorted
}

}  // namespace fontpack
