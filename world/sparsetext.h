#pragma once

// A text most records leave empty (an exit's keywords, its description, what
// its number line holds after the target): one pointer while empty, a string
// of its own once set. A room holds six exits, mostly without any of these,
// so a plain string each would make every room several hundred bytes larger.

#include <memory>
#include <ostream>
#include <string>

class TSparseText {
public:
    TSparseText() = default;
    TSparseText(std::string text) { Set(std::move(text)); } // NOLINT: a text converts
    TSparseText(const char* text) { Set(text); }            // NOLINT: a text converts
    TSparseText(const TSparseText& other) { Set(other.Text()); }
    TSparseText(TSparseText&&) noexcept = default;
    TSparseText& operator=(const TSparseText& other) {
        Set(other.Text());
        return *this;
    }
    TSparseText& operator=(TSparseText&&) noexcept = default;
    TSparseText& operator=(std::string text) {
        Set(std::move(text));
        return *this;
    }
    TSparseText& operator=(const char* text) {
        Set(text);
        return *this;
    }

    const std::string& Text() const { return text_ ? *text_ : Empty(); }
    operator const std::string&() const { return Text(); } // NOLINT: reads as a string
    bool empty() const { return text_ == nullptr; }
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
    static const std::string& Empty() {
        static const std::string empty;
        return empty;
    }
    void Set(std::string text) {
        if (text.empty())
            text_.reset();
        else if (text_)
            *text_ = std::move(text); // `text` may have been copied from *text_
        else
            text_ = std::make_unique<std::string>(std::move(text));
    }

    std::unique_ptr<std::string> text_;
};

// A value most records leave empty, kept the same way: one pointer while it
// is empty, read as an empty value then.
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
