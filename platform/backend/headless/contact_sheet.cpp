#include "backend/headless/contact_sheet.h"

#include <algorithm>
#include <cstring>

namespace qmp {
namespace {

constexpr int kMargin = 8;
constexpr uint8_t kBackground = 32;

platform::RgbImage halfSize(const platform::RgbImage& picture) {
    platform::RgbImage half;
    half.width = picture.width / 2;
    half.height = picture.height / 2;
    half.rgb.resize(static_cast<size_t>(half.width) * static_cast<size_t>(half.height) * 3u);
    const size_t rowBytes = static_cast<size_t>(picture.width) * 3u;
    for (int y = 0; y < half.height; ++y) {
        const uint8_t* top = picture.rgb.data() + static_cast<size_t>(2 * y) * rowBytes;
        const uint8_t* bottom = top + rowBytes;
        uint8_t* out = half.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(half.width) * 3u;
        for (int x = 0; x < half.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                size_t left = static_cast<size_t>(2 * x) * 3u + static_cast<size_t>(c);
                int sum = top[left] + top[left + 3] + bottom[left] + bottom[left + 3];
                *out++ = static_cast<uint8_t>((sum + 2) / 4);
            }
        }
    }
    return half;
}

bool wellFormed(const platform::RgbImage& picture) {
    return picture.width >= 2 && picture.height >= 2 &&
           picture.rgb.size() == static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 3u;
}

}  // namespace

platform::RgbImage makeContactSheet(const std::vector<platform::RgbImage>& pictures, int columns) {
    std::vector<platform::RgbImage> thumbs;
    for (const platform::RgbImage& picture : pictures)
        if (wellFormed(picture)) thumbs.push_back(halfSize(picture));
    platform::RgbImage sheet;
    if (thumbs.empty()) return sheet;

    columns = std::clamp(columns, 1, static_cast<int>(thumbs.size()));
    int rows = (static_cast<int>(thumbs.size()) + columns - 1) / columns;
    int cellWidth = 0;
    int cellHeight = 0;
    for (const platform::RgbImage& thumb : thumbs) {
        cellWidth = std::max(cellWidth, thumb.width);
        cellHeight = std::max(cellHeight, thumb.height);
    }
    sheet.width = kMargin + columns * (cellWidth + kMargin);
    sheet.height = kMargin + rows * (cellHeight + kMargin);
    sheet.rgb.assign(static_cast<size_t>(sheet.width) * static_cast<size_t>(sheet.height) * 3u, kBackground);
    for (size_t i = 0; i < thumbs.size(); ++i) {
        const platform::RgbImage& thumb = thumbs[i];
        int left = kMargin + static_cast<int>(i % static_cast<size_t>(columns)) * (cellWidth + kMargin);
        int top = kMargin + static_cast<int>(i / static_cast<size_t>(columns)) * (cellHeight + kMargin);
        for (int y = 0; y < thumb.height; ++y) {
            std::memcpy(sheet.rgb.data() + (static_cast<size_t>(top + y) * static_cast<size_t>(sheet.width) +
                                            static_cast<size_t>(left)) * 3u,
                        thumb.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(thumb.width) * 3u,
                        static_cast<size_t>(thumb.width) * 3u);
        }
    }
    return sheet;
}

}  // namespace qmp
