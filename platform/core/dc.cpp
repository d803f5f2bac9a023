#include "core/dc.h"

#include "core/reset.h"

namespace qmp {

constinit ContextTable openContexts{};

namespace {

const ResetHook resetContexts([] { openContexts.clear(); });

}  // namespace

HDC openDC(PixelTarget* target) {
    DeviceContext context;
    context.target = target;
    return reinterpret_cast<HDC>(openContexts.add(context));
}

void closeDC(HDC dc) { openContexts.remove(reinterpret_cast<uintptr_t>(dc)); }

int openDCCount() { return static_cast<int>(openContexts.size()); }

bool selectedInOpenContext(HGDIOBJ object) {
    return openContexts.any([object](const DeviceContext& dc) {
        return dc.pen == object || dc.brush == object || dc.font == object;
    });
}

}  // namespace qmp
