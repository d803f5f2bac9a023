// Objects behind handles, in a fixed array of slots that a free list hands out
// again, so that making and deleting an object costs no heap allocation. A
// handle names its slot and the slot's generation, which moves on each time the
// slot is freed: like the uniqueness bits of Windows' handles, this keeps a
// stale handle a failed lookup although its slot is in use again. Handles are
// never dereferenced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

namespace qmp {

// A table is meant to be a global, zero-initialised (constinit Table t{};):
// ready before any code runs, with no guard on its uses, and with nothing to
// destroy, so that the destructors of other globals can still use it at exit.
//
// Handle bits: generation above bit 20, slot index in bits 4 to 19, and in the
// low four bits the kind of table, so that a handle of one table is never
// found in another. Generation 0 is never issued (handles below 1 << 20 stay
// free for fixed handles such as the stock objects).
template <typename T, size_t Capacity, uintptr_t Kind>
class HandleTable {
    static_assert(Capacity <= (size_t{1} << 16), "the slot index has 16 bits");
    static_assert(Kind <= 0xF, "the kind has 4 bits");

public:

    // The new object's handle, or 0 when every slot is taken (as Windows
    // refuses objects beyond a process's quota).
    uintptr_t add(const T& value) {
        uint32_t index = 0;
        if (freeHead_ != 0) {
            index = freeHead_ - 1;
            freeHead_ = slots_[index].nextFree;
        } else if (used_ < Capacity) {
            index = static_cast<uint32_t>(used_++);
        } else {
            return 0;
        }
        Slot& s = slots_[index];
        std::construct_at(reinterpret_cast<T*>(s.bytes), value);
        s.live = true;
        ++live_;
        return (s.generation + 1) << kGenerationShift | uintptr_t{index} << kIndexShift | Kind;
    }

    T* find(uintptr_t handle) {
        Slot* s = slotOf(handle);
        return s != nullptr ? s->value() : nullptr;
    }

    bool remove(uintptr_t handle) {
        Slot* s = slotOf(handle);
        if (s == nullptr) return false;
        free(*s);
        return true;
    }

    // Frees every object; their handles stay stale, as after remove.
    void clear() {
        for (size_t i = 0; i < used_; ++i)
            if (slots_[i].live) free(slots_[i]);
    }

    size_t size() const { return live_; }

    // Whether f is true of some live object.
    template <typename F>
    bool any(F f) const {
        if (live_ == 0) return false;
        for (size_t i = 0; i < used_; ++i)
            if (slots_[i].live && f(*slots_[i].value())) return true;
        return false;
    }

private:
    static constexpr int kIndexShift = 4;
    static constexpr int kGenerationShift = 20;
    static constexpr uintptr_t kMaxGeneration = UINTPTR_MAX >> kGenerationShift;

    // Everything starts as zero, so that the table takes no room in the program
    // file: a handle's generation is its slot's plus one, and the free list
    // holds slot indices plus one (0 ends it).
    struct Slot {
        alignas(T) unsigned char bytes[sizeof(T)];  // a T while live
        uintptr_t generation;
        uint32_t nextFree;
        bool live;
        T* value() { return std::launder(reinterpret_cast<T*>(bytes)); }
        const T* value() const { return std::launder(reinterpret_cast<const T*>(bytes)); }
    };
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

    Slot* slotOf(uintptr_t handle) {
        const uintptr_t index = (handle >> kIndexShift) & 0xFFFF;
        if ((handle & 0xF) != Kind || index >= used_) return nullptr;
        Slot& s = slots_[index];
        return s.live && s.generation + 1 == handle >> kGenerationShift ? &s : nullptr;
    }

    void free(Slot& s) {
        s.live = false;
        s.generation = s.generation + 1 == kMaxGeneration ? 0 : s.generation + 1;
        s.nextFree = freeHead_;
        freeHead_ = static_cast<uint32_t>(&s - slots_) + 1;
        --live_;
    }

    Slot slots_[Capacity];
    size_t used_;  // slots handed out so far
    size_t live_;
    uint32_t freeHead_;
};

}  // namespace qmp
