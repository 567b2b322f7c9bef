#pragma once

// Values most records leave empty (an exit's texts, a room's exits, the lists
// most rooms and prototypes leave empty, the texts few prototypes have, what
// few records keep of the text they were read from), held in one pointer
// until set: every record of a large world holds them, mostly empty, and
// inline they would make each record hundreds of bytes larger.

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A value most records leave empty: one pointer while it is empty, read as
// an empty value then; copied with its owner, never shared.
template <class T> class TSparse {
public:
    TSparse() = default;
    TSparse(const TSparse& other) { *this = other; }
    TSparse(TSparse&&) noexcept = default;
    TSparse& operator=(const TSparse& other) {
        if (this != &other)
            value_ = other.value_ ? std::make_unique<T>(*other.value_) : nullptr;
        return *this;
    }
    TSparse& operator=(TSparse&&) noexcept = default;

    const T& operator*() const { return value_ ? *value_ : Empty(); }
    const T* operator->() const { return &**this; }
    // The value to change, made when there was none.
    T& Edit() {
        if (!value_)
            value_ = std::make_unique<T>();
        return *value_;
    }
    void Reset() { value_.reset(); }
    bool HasValue() const { return value_ != nullptr; }
    friend bool operator==(const TSparse& a, const TSparse& b) { return *a == *b; }

private:
    static const T& Empty() {
        static const T empty{};
        return empty;
    }
    std::unique_ptr<T> value_;
};

// A list most records leave empty (a room's mobs, its extra descriptions,
// the lines kept after a record): one pointer while it holds nothing, and
// its items in one block with their count after that (a vector behind a
// pointer took a second block). Its items are walked and changed as those
// of a vector; walking an empty list, even one that may be changed, makes
// nothing. A copy holds exactly its items.
template <class T> class TSparseList {
public:
    using value_type = T;
    using size_type = size_t;
    using reference = T&;
    using const_reference = const T&;
    using iterator = T*;
    using const_iterator = const T*;

    TSparseList() = default;
    TSparseList(std::vector<T> items) { *this = std::move(items); } // NOLINT: a vector converts
    TSparseList(std::initializer_list<T> items) { Append(items.begin(), items.end()); }
    template <class It> TSparseList(It first, It last) { Append(first, last); }
    TSparseList(const TSparseList& other) { Append(other.begin(), other.end()); }
    TSparseList(TSparseList&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    TSparseList& operator=(const TSparseList& other) {
        if (this != &other) {
            TSparseList copy(other);
            std::swap(block_, copy.block_);
        }
        return *this;
    }
    TSparseList& operator=(TSparseList&& other) noexcept {
        if (this != &other) {
            clear();
            block_ = std::exchange(other.block_, nullptr);
        }
        return *this;
    }
    TSparseList& operator=(std::vector<T> items) {
        clear();
        Append(std::make_move_iterator(items.begin()), std::make_move_iterator(items.end()));
        return *this;
    }
    TSparseList& operator=(std::initializer_list<T> items) {
        clear();
        Append(items.begin(), items.end());
        return *this;
    }
    ~TSparseList() { clear(); }

    // A copy of the items, for what takes a vector.
    std::vector<T> Items() const { return {begin(), end()}; }
    operator std::vector<T>() const { return Items(); } // NOLINT: reads as a vector

    bool empty() const { return size() == 0; }
    size_t size() const { return block_ ? block_->Size : 0; }
    const T& operator[](size_t index) const { return begin()[index]; }
    T& operator[](size_t index) { return begin()[index]; }
    const T& front() const { return *begin(); }
    const T& back() const { return end()[-1]; }
    T& front() { return *begin(); }
    T& back() { return end()[-1]; }
    const T* begin() const { return block_ ? ItemsOf(block_) : nullptr; }
    const T* end() const { return begin() + size(); }
    T* begin() { return block_ ? ItemsOf(block_) : nullptr; }
    T* end() { return begin() + size(); }

    void push_back(T item) { emplace_back(std::move(item)); }
    template <class... Args> T& emplace_back(Args&&... args) {
        T item(std::forward<Args>(args)...); // the arguments may be items of this list
        if (size() == Capacity())
            Reserve(Capacity() == 0 ? 1 : 2 * Capacity());
        T* made = new (end()) T(std::move(item));
        ++block_->Size;
        return *made;
    }
    T* insert(const T* at, T item) {
        const size_t index = IndexOf(at);
        push_back(std::move(item));
        std::rotate(begin() + index, end() - 1, end());
        return begin() + index;
    }
    template <class It> T* insert(const T* at, It first, It last) {
        const size_t index = IndexOf(at);
        const size_t was = size();
        const std::vector<T> items(first, last); // the range may be of this list
        Append(items.begin(), items.end());
        if (!block_)
            return nullptr;
        std::rotate(begin() + index, begin() + was, end());
        return begin() + index;
    }
    T* erase(const T* at) { return erase(at, at + 1); }
    T* erase(const T* first, const T* last) {
        const size_t from = IndexOf(first);
        const size_t to = IndexOf(last);
        if (from == to)
            return block_ ? begin() + from : nullptr;
        T* const tail = std::move(begin() + to, end(), begin() + from);
        std::destroy(tail, end());
        block_->Size -= static_cast<uint32_t>(to - from);
        if (block_->Size == 0) {
            clear();
            return nullptr;
        }
        return begin() + from;
    }
    void pop_back() { erase(end() - 1); }
    void clear() {
        if (!block_)
            return;
        std::destroy(begin(), end());
        ::operator delete(block_);
        block_ = nullptr;
    }

    friend bool operator==(const TSparseList& a, const TSparseList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const TSparseList& a, const std::vector<T>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    struct TBlock {
        uint32_t Size;
        uint32_t Capacity;
    };
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);
    static constexpr size_t kItemsAt = (sizeof(TBlock) + alignof(T) - 1) / alignof(T) * alignof(T);
    static T* ItemsOf(TBlock* block) {
        return std::launder(reinterpret_cast<T*>(reinterpret_cast<char*>(block) + kItemsAt));
    }
    size_t Capacity() const { return block_ ? block_->Capacity : 0; }
    size_t IndexOf(const T* at) const { return at ? static_cast<size_t>(at - begin()) : 0; }
    // Room for `capacity` items, those there moved over.
    void Reserve(size_t capacity) {
        if (capacity > UINT32_MAX)
            throw std::length_error("TSparseList: too many items");
        auto* block = static_cast<TBlock*>(::operator new(kItemsAt + capacity * sizeof(T)));
        block->Size = static_cast<uint32_t>(size());
        block->Capacity = static_cast<uint32_t>(capacity);
        if (block_) {
            try {
                std::uninitialized_move(begin(), end(), ItemsOf(block));
            } catch (...) {
                ::operator delete(block);
                throw;
            }
            std::destroy(begin(), end());
            ::operator delete(block_);
        }
        block_ = block;
    }
    template <class It> void Append(It first, It last) {
        const auto count = static_cast<size_t>(std::distance(first, last));
        if (count == 0)
            return;
        if (size() + count > Capacity())
            Reserve(size() + count);
        for (; first != last; ++first) {
            new (end()) T(*first);
            ++block_->Size;
        }
    }
    TBlock* block_ = nullptr;
};
