#include "core/picture.h"

namespace qmp {

platform::RgbImage Picture::toRgb() const {
    platform::RgbImage image;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3u);
    uint8_t* out = image.rgb.data();
    for (uint8_t index : indices) {
        const PALETTEENTRY& entry = palette[index];
        *out++ = entry.peRed;
        *out++ = entry.peGreen;
        *out++ = entry.peBlue;
    }
    return image;
}

}  // namespace qmp
