#include "core/dc.h"

#include <memory>
#include <unordered_map>

#include "core/reset.h"

namespace qmp {
namespace {

struct DcTable {
    std::unordered_map<HDC, std::unique_ptr<DeviceContext>> contexts;
};

DcTable& table() {
    static DcTable t;
    return t;
}

const ResetHook resetContexts([] { table().contexts.clear(); });

}  // namespace

HDC openDC(PixelTarget* target) {
    auto context = std::make_unique<DeviceContext>();
    context->target = target;
    HDC handle = reinterpret_cast<HDC>(context.get());
    table().contexts.emplace(handle, std::move(context));
    return handle;
}

void closeDC(HDC dc) { table().contexts.erase(dc); }

DeviceContext* contextOf(HDC dc) {
    auto it = table().contexts.find(dc);
    return it == table().contexts.end() ? nullptr : it->second.get();
}

int openDCCount() { return static_cast<int>(table().contexts.size()); }

}  // namespace qmp
