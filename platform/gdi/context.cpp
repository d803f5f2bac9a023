#include "gdi/context.h"

namespace qmp::gdi {

bool beginDrawing(HDC hdc, Drawing& out) {
    DeviceContext* dc = contextOf(hdc);
    if (dc == nullptr || dc->target == nullptr) return false;
    PixelTarget& target = *dc->target;
    out.dc = dc;
    out.raster.bits = target.bits();
    out.raster.pitch = target.pitch();
    out.raster.width = target.width();
    out.raster.height = target.height();
    return out.raster.bits != nullptr && out.raster.width > 0 && out.raster.height > 0 &&
           out.raster.pitch >= out.raster.width;
}

}  // namespace qmp::gdi
