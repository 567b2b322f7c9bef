#pragma once

// A record's place in its list: the record itself, or, while nothing has
// needed it since it was read, only where its text begins in a file the list
// holds. A file of a million tiny rooms spends 25 bytes on each; a record
// made of each took eight times the file.

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>

template <class T> class TRecordSlot {
public:
    TRecordSlot() = default;
    explicit TRecordSlot(std::unique_ptr<T> record) : bits_(Bits(record.release())) {}
    // A record not made yet: its text begins at `offset` of the list's file
    // numbered `file`.
    static TRecordSlot Unread(uint32_t file, uint32_t offset) {
        TRecordSlot slot;
        slot.bits_.store(uint64_t{offset} << 32 | uint64_t{file} << 1 | kUnread,
                         std::memory_order_relaxed);
        return slot;
    }
    TRecordSlot(TRecordSlot&& other) noexcept
        : bits_(other.bits_.exchange(0, std::memory_order_relaxed)) {}
    TRecordSlot& operator=(TRecordSlot&& other) noexcept {
        if (this != &other) {
            Free();
            bits_.store(other.bits_.exchange(0, std::memory_order_relaxed),
                        std::memory_order_relaxed);
        }
        return *this;
    }
    ~TRecordSlot() { Free(); }

    // The record, null while it is not made.
    T* Record() const {
        const uint64_t bits = bits_.load(std::memory_order_acquire);
        return bits & kUnread ? nullptr : reinterpret_cast<T*>(bits);
    }
    bool IsUnread() const { return bits_.load(std::memory_order_acquire) & kUnread; }
    uint32_t File() const {
        return static_cast<uint32_t>(bits_.load(std::memory_order_relaxed) >> 1) & kFileMask;
    }
    uint32_t Offset() const {
        return static_cast<uint32_t>(bits_.load(std::memory_order_relaxed) >> 32);
    }
    // The record `made` from the slot's text becomes the slot's own. Reading
    // through a const list makes records, on whichever threads read it: when
    // two made it at once, the first one stays and the other goes.
    T* Settle(std::unique_ptr<T> made) const {
        uint64_t expected = bits_.load(std::memory_order_acquire);
        if (!(expected & kUnread))
            return reinterpret_cast<T*>(expected);
        if (bits_.compare_exchange_strong(expected, Bits(made.get()), std::memory_order_acq_rel))
            return made.release();
        return reinterpret_cast<T*>(expected);
    }

    // Files are numbered below this; a list with more keeps its records made.
    static constexpr uint32_t kFileMask = 0x7fffffff;

private:
    static constexpr uint64_t kUnread = 1;
    static_assert(sizeof(T*) == sizeof(uint64_t) && alignof(T) > 1);
    static uint64_t Bits(T* record) { return reinterpret_cast<uint64_t>(record); }
    void Free() {
        const uint64_t bits = bits_.exchange(0, std::memory_order_acquire);
        if (!(bits & kUnread))
            delete reinterpret_cast<T*>(bits);
    }
    mutable std::atomic<uint64_t> bits_{0};
};
