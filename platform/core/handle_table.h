// Objects behind handles, in slots that a free list hands out again, so that
// making and deleting an object costs no heap allocation once the table has
// grown to the program's peak. A handle names its slot and the slot's
// generation, which moves on each time the slot is freed: like the uniqueness
// bits of Windows' handles, this keeps a stale handle a failed lookup although
// its slot is in use again. Handles are never dereferenced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <array>

namespace qmp {

// A table is meant to be a constinit global: built before any code runs, with
// no guard on its uses, and never destroyed, so that the destructors of other
// globals can still delete their objects at exit. Its slots stay allocated
// (and reachable) until the process ends.
//
// Handle bits: generation above bit 20, slot index in bits 4 to 19, and in the
// low four bits the kind of table, so that a handle of one table is never
// found in another. Generation 0 is never issued (handles below 1 << 20 stay
// free for fixed handles such as the stock objects).
template <typename T>
class HandleTable {
public:
    static constexpr uintptr_t kMaxSlots = uintptr_t{1} << 16;

    constexpr explicit HandleTable(uintptr_t kind) : kind_(kind & 0xF) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // The new object's handle, or 0 when every slot is taken. Slots keep their
    // address for as long as the table lives.
    uintptr_t add(const T& value) {
        uint32_t index = freeHead_;
        if (index == kNone) {
            if (count_ == kMaxSlots) return 0;
            if (count_ % kChunk == 0) chunks_[count_ / kChunk] = new Slot[kChunk];
            index = static_cast<uint32_t>(count_++);
        } else {
            freeHead_ = slot(index).nextFree;
        }
        Slot& s = slot(index);
        s.value = value;
        s.live = true;
        ++live_;
        return (s.generation << kGenerationShift) | (uintptr_t{index} << kIndexShift) | kind_;
    }

    T* find(uintptr_t handle) {
        Slot* s = slotOf(handle);
        return s != nullptr ? &s->value : nullptr;
    }

    bool remove(uintptr_t handle) {
        Slot* s = slotOf(handle);
        if (s == nullptr) return false;
        free(*s, static_cast<uint32_t>((handle >> kIndexShift) & (kMaxSlots - 1)));
        return true;
    }

    // Frees every object; their handles stay stale, as after remove.
    void clear() {
        for (size_t i = 0; i < count_; ++i)
            if (slot(static_cast<uint32_t>(i)).live) free(slot(static_cast<uint32_t>(i)), static_cast<uint32_t>(i));
    }

    size_t size() const { return live_; }

    // Calls f on each live object until f returns true; tells whether one did.
    template <typename F>
    bool any(F f) const {
        for (size_t i = 0; i < count_ && live_ > 0; ++i) {
            const Slot& s = chunks_[i / kChunk][i % kChunk];
            if (s.live && f(s.value)) return true;
        }
        return false;
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    static constexpr size_t kChunk = 64;  // slots allocated at a time
    static constexpr int kIndexShift = 4;
    static constexpr int kGenerationShift = 20;
    static constexpr uintptr_t kMaxGeneration = UINTPTR_MAX >> kGenerationShift;

    struct Slot {
        T value{};
        uintptr_t generation = 1;
        uint32_t nextFree = kNone;
        bool live = false;
    };

    Slot& slot(uint32_t index) { return chunks_[index / kChunk][index % kChunk]; }

    Slot* slotOf(uintptr_t handle) {
        if ((handle & 0xF) != kind_) return nullptr;
        const uintptr_t index = (handle >> kIndexShift) & (kMaxSlots - 1);
        if (index >= count_) return nullptr;
        Slot& s = slot(static_cast<uint32_t>(index));
        return s.live && s.generation == handle >> kGenerationShift ? &s : nullptr;
    }

    void free(Slot& s, uint32_t index) {
        s.value = T{};
        s.live = false;
        s.generation = s.generation == kMaxGeneration ? 1 : s.generation + 1;
        s.nextFree = freeHead_;
        freeHead_ = index;
        --live_;
    }

    uintptr_t kind_;
    std::array<Slot*, kMaxSlots / kChunk> chunks_{};
    size_t count_ = 0;  // slots made so far
    size_t live_ = 0;
    uint32_t freeHead_ = kNone;
};

}  // namespace qmp
