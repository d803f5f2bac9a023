#include "core/dc.h"

#include "core/handle_table.h"
#include "core/reset.h"

namespace qmp {
namespace {

constexpr uintptr_t kContextKind = 0x1;

constinit HandleTable<DeviceContext> contexts(kContextKind);
HandleTable<DeviceContext>& table() { return contexts; }

const ResetHook resetContexts([] { table().clear(); });

}  // namespace

HDC openDC(PixelTarget* target) {
    DeviceContext context;
    context.target = target;
    return reinterpret_cast<HDC>(table().add(context));
}

void closeDC(HDC dc) { table().remove(reinterpret_cast<uintptr_t>(dc)); }

DeviceContext* contextOf(HDC dc) { return table().find(reinterpret_cast<uintptr_t>(dc)); }

int openDCCount() { return static_cast<int>(table().size()); }

bool selectedInOpenContext(HGDIOBJ object) {
    return table().any([object](const DeviceContext& dc) {
        return dc.pen == object || dc.brush == object || dc.font == object;
    });
}

}  // namespace qmp
