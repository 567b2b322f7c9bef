#pragma once

// The one-line texts of a record (names, case forms, flag letters, a
// parameter) in 16 bytes where std::string takes 32, a long one read from a
// file as a part of the file's text: a large world holds millions of them,
// most shorter than 16 bytes, and a copy of each long one took a third of
// the memory its records took.

#include "textlines.h"

#include <cstdint>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

// Up to 15 bytes are held inside: the last byte holds 15 minus the length.
// A longer text is on the heap (a pointer and its length), or, read from a
// file, where it stands in the file's text (a hold on the text, the offset
// and the length); the last byte then says which. Reads as a
// std::string_view (not closed by a zero); Str() gives a std::string.
class TCompactString {
public:
    TCompactString() noexcept { SetInlineSize(0); }
    TCompactString(std::string_view text) { Init(text); }   // NOLINT: a text converts
    TCompactString(const std::string& text) { Init(text); } // NOLINT: a text converts
    TCompactString(const char* text) { Init(text); }        // NOLINT: a text converts
    TCompactString(const TCompactString& other) {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        if (OnHeap())
            Init(other.View());
        else if (IsFileView())
            TFileTextRef::Take(File());
    }
    // `size` bytes of `file` from `offset` on (as many as the file has).
    static TCompactString InFile(const TFileTextRef& file, size_t offset, size_t size) {
        const std::string_view text = std::string_view(file->Bytes).substr(offset, size);
        if (text.size() <= kInline || offset > UINT32_MAX || text.size() > kMaxFileSize)
            return TCompactString(text);
        TCompactString made;
        const TFileText* held = TFileTextRef::Take(file.get());
        const auto at = static_cast<uint32_t>(offset);
        const auto length = static_cast<uint32_t>(text.size());
        std::memcpy(made.bytes_, &held, sizeof held);
        std::memcpy(made.bytes_ + sizeof held, &at, sizeof at);
        for (size_t i = 0; i < 3; ++i)
            made.bytes_[kSizeAt + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
        made.bytes_[kInline] = static_cast<char>(kFileTag);
        return made;
    }
    TCompactString(TCompactString&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.SetInlineSize(0);
    }
    TCompactString& operator=(const TCompactString& other) {
        if (this != &other) {
            TCompactString copy(other);
            *this = std::move(copy);
        }
        return *this;
    }
    TCompactString& operator=(TCompactString&& other) noexcept {
        if (this != &other) {
            Free();
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
            other.SetInlineSize(0);
        }
        return *this;
    }
    TCompactString& operator=(std::string_view text) {
        Replace(text);
        return *this;
    }
    TCompactString& operator=(const std::string& text) { return *this = std::string_view(text); }
    TCompactString& operator=(const char* text) { return *this = std::string_view(text); }
    TCompactString& operator+=(std::string_view more) {
        if (!more.empty())
            Replace(Str().append(more));
        return *this;
    }
    ~TCompactString() { Free(); }

    const char* data() const {
        if (OnHeap())
            return HeapData();
        return IsFileView() ? File()->Bytes.data() + FileOffset() : bytes_;
    }
    size_t size() const {
        if (OnHeap())
            return HeapSize();
        return IsFileView() ? FileSize() : kInline - InlineTag();
    }
    bool empty() const { return size() == 0; }
    void clear() { Replace({}); }
    std::string_view View() const { return {data(), size()}; }
    operator std::string_view() const { return View(); } // NOLINT: reads as a text
    std::string Str() const { return std::string(View()); }
    char operator[](size_t index) const { return data()[index]; }
    const char* begin() const { return data(); }
    const char* end() const { return data() + size(); }

    friend bool operator==(const TCompactString& a, const TCompactString& b) {
        return a.View() == b.View();
    }
    friend bool operator==(const TCompactString& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const TCompactString& a, const std::string& b) { return a.View() == b; }
    friend bool operator==(const TCompactString& a, const char* b) { return a.View() == b; }
    friend bool operator<(const TCompactString& a, const TCompactString& b) {
        return a.View() < b.View();
    }
    friend std::string operator+(const TCompactString& a, std::string_view b) {
        return a.Str().append(b);
    }
    friend std::string operator+(std::string_view a, const TCompactString& b) {
        return std::string(a).append(b.View());
    }
    friend std::string operator+(const std::string& a, const TCompactString& b) {
        return std::string(a).append(b.View());
    }
    friend std::string operator+(const char* a, const TCompactString& b) {
        return std::string(a).append(b.View());
    }
    friend std::ostream& operator<<(std::ostream& out, const TCompactString& text) {
        return out << text.View();
    }

private:
    static constexpr size_t kInline = 15;
    static constexpr unsigned char kHeapTag = 0x80;
    static constexpr unsigned char kFileTag = 0x81;
    static constexpr size_t kMaxFileSize = (size_t{1} << 24) - 1; // three bytes
    static constexpr size_t kSizeAt = sizeof(char*) + sizeof(uint32_t);

    unsigned char InlineTag() const { return static_cast<unsigned char>(bytes_[kInline]); }
    bool OnHeap() const { return InlineTag() == kHeapTag; }
    bool IsFileView() const { return InlineTag() == kFileTag; }
    const TFileText* File() const {
        const TFileText* file = nullptr;
        std::memcpy(&file, bytes_, sizeof file);
        return file;
    }
    uint32_t FileOffset() const {
        uint32_t offset = 0;
        std::memcpy(&offset, bytes_ + sizeof(char*), sizeof offset);
        return offset;
    }
    uint32_t FileSize() const {
        uint32_t size = 0;
        for (size_t i = 0; i < 3; ++i)
            size |= uint32_t{static_cast<unsigned char>(bytes_[kSizeAt + i])} << (8 * i);
        return size;
    }
    char* HeapData() const {
        char* pointer = nullptr;
        std::memcpy(&pointer, bytes_, sizeof pointer);
        return pointer;
    }
    uint32_t HeapSize() const {
        uint32_t size = 0;
        std::memcpy(&size, bytes_ + sizeof(char*), sizeof size);
        return size;
    }
    void SetInlineSize(size_t size) { bytes_[kInline] = static_cast<char>(kInline - size); }
    // Fills a string that holds nothing yet.
    void Init(std::string_view text) {
        if (text.size() <= kInline) {
            std::memcpy(bytes_, text.data(), text.size());
            SetInlineSize(text.size());
            return;
        }
        if (text.size() > UINT32_MAX)
            throw std::length_error("TCompactString: text too long");
        char* heap = new char[text.size()];
        std::memcpy(heap, text.data(), text.size());
        const auto size = static_cast<uint32_t>(text.size());
        std::memcpy(bytes_, &heap, sizeof heap);
        std::memcpy(bytes_ + sizeof heap, &size, sizeof size);
        bytes_[kInline] = static_cast<char>(kHeapTag);
    }
    // `text` may lie within this string: the new one is made before the old goes.
    void Replace(std::string_view text) {
        TCompactString made(text);
        Free();
        std::memcpy(bytes_, made.bytes_, sizeof bytes_);
        made.SetInlineSize(0);
    }
    void Free() {
        if (OnHeap())
            delete[] HeapData();
        else if (IsFileView())
            TFileTextRef::Drop(File());
        SetInlineSize(0);
    }

    char bytes_[16] = {};
};

static_assert(sizeof(TCompactString) == 16);

// A text most records leave empty (a room's flags, an object's action text):
// one pointer while empty, read as an empty text then.
class TSparseText {
public:
    TSparseText() = default;
    TSparseText(std::string_view text) { Set(text); }   // NOLINT: a text converts
    TSparseText(const std::string& text) { Set(text); } // NOLINT: a text converts
    TSparseText(const char* text) { Set(text); }        // NOLINT: a text converts
    TSparseText& operator=(std::string_view text) {
        Set(text);
        return *this;
    }
    TSparseText& operator=(const std::string& text) { return *this = std::string_view(text); }
    TSparseText& operator=(const char* text) { return *this = std::string_view(text); }
    TSparseText& operator+=(std::string_view more) {
        if (!more.empty())
            text_.Edit() += more;
        return *this;
    }

    std::string_view Text() const { return *text_; }
    operator std::string_view() const { return Text(); } // NOLINT: reads as a text
    std::string Str() const { return std::string(Text()); }
    bool empty() const { return !text_.HasValue(); }
    size_t size() const { return Text().size(); }
    void clear() { text_.Reset(); }

    friend bool operator==(const TSparseText& a, const TSparseText& b) {
        return a.Text() == b.Text();
    }
    friend bool operator==(const TSparseText& a, std::string_view b) { return a.Text() == b; }
    friend bool operator==(const TSparseText& a, const std::string& b) { return a.Text() == b; }
    friend bool operator==(const TSparseText& a, const char* b) { return a.Text() == b; }
    friend std::ostream& operator<<(std::ostream& out, const TSparseText& text) {
        return out << text.Text();
    }

private:
    void Set(std::string_view text) {
        if (text.empty())
            text_.Reset();
        else
            text_.Edit() = text; // `text` may lie within the old one: the string copes
    }

    TSparse<TCompactString> text_;
};
