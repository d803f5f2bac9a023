// No screen: a virtual clock that moves only while the program waits, and no
// input but the script's. A headless run is therefore exactly repeatable.
#include "core/backend.h"
#include "core/clock.h"

namespace qmp {
namespace {

constexpr SIZE kDesktop{1024, 768};

class HeadlessBackend final : public Backend {
public:
    const char* name() const override { return "headless"; }
    bool interactive() const override { return false; }

    // Waiting is the virtual clock moving on; nothing is ever reported.
    void wait(uint32_t timeoutMs, std::vector<HostEvent>&) override {
        if (timeoutMs != INFINITE) clock::advance(timeoutMs);
    }

    // The screen module keeps the picture; no frame is made.
    std::optional<PixelFormat> pixelFormat() const override { return std::nullopt; }
    void present(const Frame&) override {}

    bool boxOpening(const std::string&) override { return true; }
    void boxClosed() override {}
    void setCursorVisible(bool) override {}
    SIZE desktopSize() const override { return kDesktop; }
    void windowCreated(HWND, const std::string&) override {}
    void windowDestroyed(HWND) override {}
};

}  // namespace

std::unique_ptr<Backend> makeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace qmp
