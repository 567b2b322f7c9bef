#pragma once

// Values most records leave empty (an exit's texts, a room's exits, what few
// records keep of the text they were read from), held in one pointer until
// set: every record of a large world holds them, mostly empty, and inline
// they would make each record hundreds of bytes larger.

#include <memory>
#include <ostream>
#include <string>

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

    const std::string& Text() const { return *text_; }
    operator const std::string&() const { return Text(); } // NOLINT: reads as a string
    bool empty() const { return !text_.HasValue(); }
    size_t size() const { return Text().size(); }

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
