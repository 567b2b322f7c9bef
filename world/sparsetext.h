#pragma once

// Values most records leave empty (an exit's texts, a room's exits, the lists
// most rooms and prototypes leave empty, the texts few prototypes have, what
// few records keep of the text they were read from), held in one pointer
// until set: every record of a large world holds them, mostly empty, and
// inline they would make each record hundreds of bytes larger.

#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
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

// The same for a text, read as a string: empty is no text at all.
class TSparseText {
public:
    TSparseText() = default;
    TSparseText(std::string text) { Set(std::move(text)); } // NOLINT: a text converts
    TSparseText(const char* text) { Set(text); }            // NOLINT: a text converts
    TSparseText& operator=(std::string text) {
        Set(std::move(text));
        return *this;
    }
    TSparseText& operator=(const char* text) {
        Set(text);
        return *this;
    }
    TSparseText& operator+=(std::string_view more) {
        if (!more.empty())
            text_.Edit() += more;
        return *this;
    }

    const std::string& Text() const { return *text_; }
    operator const std::string&() const { return Text(); } // NOLINT: reads as a string
    bool empty() const { return !text_.HasValue(); }
    size_t size() const { return Text().size(); }
    void clear() { text_.Reset(); }

    friend bool operator==(const TSparseText& a, const TSparseText& b) {
        return a.Text() == b.Text();
    }
    friend bool operator==(const TSparseText& a, const std::string& b) { return a.Text() == b; }
    friend bool operator==(const TSparseText& a, const char* b) { return a.Text() == b; }
    friend std::ostream& operator<<(std::ostream& out, const TSparseText& text) {
        return out << text.Text();
    }

private:
    void Set(std::string text) {
        if (text.empty())
            text_.Reset();
        else
            text_.Edit() = std::move(text); // `text` may have been copied from the old one
    }

    TSparse<std::string> text_;
};

// A list most records leave empty (a room's mobs, its extra descriptions,
// the lines kept after a record): one pointer while it holds nothing. Its
// items are walked and changed as those of a vector; walking an empty list,
// even one that may be changed, makes nothing.
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
    TSparseList(std::initializer_list<T> items) : TSparseList(std::vector<T>(items)) {}
    template <class It> TSparseList(It first, It last) : TSparseList(std::vector<T>(first, last)) {}
    TSparseList& operator=(std::vector<T> items) {
        if (items.empty())
            items_.Reset();
        else
            items_.Edit() = std::move(items);
        return *this;
    }
    TSparseList& operator=(std::initializer_list<T> items) { return *this = std::vector<T>(items); }

    const std::vector<T>& Items() const { return *items_; }
    operator const std::vector<T>&() const { return Items(); } // NOLINT: reads as a vector

    bool empty() const { return items_->empty(); }
    size_t size() const { return items_->size(); }
    const T& operator[](size_t index) const { return (*items_)[index]; }
    T& operator[](size_t index) { return items_.Edit()[index]; }
    const T& front() const { return items_->front(); }
    const T& back() const { return items_->back(); }
    T& front() { return items_.Edit().front(); }
    T& back() { return items_.Edit().back(); }
    const T* begin() const { return items_->data(); }
    const T* end() const { return items_->data() + items_->size(); }
    T* begin() { return items_.HasValue() ? items_.Edit().data() : nullptr; }
    T* end() { return items_.HasValue() ? items_.Edit().data() + items_->size() : nullptr; }

    void push_back(T item) { items_.Edit().push_back(std::move(item)); }
    template <class... Args> T& emplace_back(Args&&... args) {
        return items_.Edit().emplace_back(std::forward<Args>(args)...);
    }
    T* insert(const T* at, T item) {
        const size_t index = IndexOf(at);
        std::vector<T>& items = items_.Edit();
        return &*items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    }
    template <class It> T* insert(const T* at, It first, It last) {
        const size_t index = IndexOf(at);
        if (first == last)
            return begin() + index;
        std::vector<T>& items = items_.Edit();
        return &*items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), first, last);
    }
    T* erase(const T* at) { return erase(at, at + 1); }
    T* erase(const T* first, const T* last) {
        const size_t from = IndexOf(first);
        std::vector<T>& items = items_.Edit();
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(from),
                    items.begin() + static_cast<std::ptrdiff_t>(IndexOf(last)));
        if (items.empty()) {
            items_.Reset();
            return nullptr;
        }
        return items.data() + from;
    }
    void pop_back() { erase(end() - 1); }
    void clear() { items_.Reset(); }
    // The vector itself, to change as a whole.
    std::vector<T>& Edit() { return items_.Edit(); }

    friend bool operator==(const TSparseList& a, const TSparseList& b) {
        return *a.items_ == *b.items_;
    }
    friend bool operator==(const TSparseList& a, const std::vector<T>& b) { return *a.items_ == b; }

private:
    size_t IndexOf(const T* at) const { return at ? static_cast<size_t>(at - begin()) : 0; }
    TSparse<std::vector<T>> items_;
};
