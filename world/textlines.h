#pragma once

// A file's text as read, how its lines are split, and the multi-line texts
// of records (descriptions, scripts) and the lines kept after records, kept
// as parts of it rather than as copies of their lines: most of a world's
// bytes are such texts, and a string for every line of them made a world
// take several times its size.

#include "sparsetext.h"

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using TStringList = std::vector<std::string>;

// A file's text as read, shared by the reader and every record kept as a
// range of it (through TFileTextRef).
struct TFileText {
    std::string Bytes;        // the whole file as read
    size_t TextEnd = 0;       // where its text ends (before an end-of-file mark)
    std::string_view MainEnd; // its main line end
    mutable std::atomic<size_t> Holders{0};
};

// A hold on a file's text, which goes with its last holder: one pointer,
// where a shared pointer takes two (every record, name and description read
// from a file holds its text).
class TFileTextRef {
public:
    TFileTextRef() = default;
    explicit TFileTextRef(std::unique_ptr<TFileText> text) : text_(text.release()) { Hold(); }
    TFileTextRef(const TFileTextRef& other) : text_(other.text_) { Hold(); }
    TFileTextRef(TFileTextRef&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    TFileTextRef& operator=(TFileTextRef other) noexcept {
        std::swap(text_, other.text_);
        return *this;
    }
    ~TFileTextRef() { Release(); }

    const TFileText& operator*() const { return *text_; }
    const TFileText* operator->() const { return text_; }
    const TFileText* get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }

    // For a holder that keeps the pointer itself (TCompactString): takes a
    // hold and gives the pointer; Drop gives it back.
    static const TFileText* Take(const TFileText* text) {
        if (text)
            text->Holders.fetch_add(1, std::memory_order_relaxed);
        return text;
    }
    static void Drop(const TFileText* text) {
        if (text && text->Holders.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete text;
    }

private:
    void Hold() { Take(text_); }
    void Release() { Drop(std::exchange(text_, nullptr)); }
    const TFileText* text_ = nullptr;
};

// The line of `data` that begins at `pos`, without its line end; `pos` moves
// to the next line (nothing at `end` or beyond is read). `lineEnd`, when
// given, receives the line's end. A line ends at an LF, and the CRs right
// before it belong to that line end; a CR followed by anything but CRs and
// an LF ends a line of its own.
std::string_view LineAt(std::string_view data, size_t& pos, size_t end,
                        std::string_view* lineEnd = nullptr);
// The line of `file` that begins at `pos` as it is kept: carrying its line
// end where that is not the file's main one (the last line of a file may
// have no end at all: it takes the main one). `pos` moves on.
std::string_view KeptLineAt(const TFileText& file, size_t& pos, size_t end);

// The lines of a record's multi-line text, or the lines kept after a record
// as they were read. Read from a file, they are the part of the file's
// shared text they were read from (a text's closing "~" left out) and are
// split again whenever they are read; set from anywhere else, they are
// lines of their own. Either way they read as a list of lines.
class TTextLines {
public:
    class const_iterator;

    TTextLines() = default;
    TTextLines(TStringList lines); // NOLINT: a list of lines converts
    TTextLines(std::initializer_list<std::string> lines) : TTextLines(TStringList(lines)) {}
    // The lines of `file` from `begin` up to `end`, where the text's closing
    // "~" stands: every line that begins before it, the last one only when
    // anything of it comes before the "~".
    static TTextLines InFile(const TFileTextRef& file, size_t begin, size_t end);
    // The lines of `file` from `begin` up to `end` as they are kept, each
    // carrying its line end where that is not the file's main one.
    static TTextLines KeptInFile(const TFileTextRef& file, size_t begin, size_t end);

    bool empty() const { return file_ ? begin_ == end_ : own_->empty(); }
    size_t size() const;
    std::string operator[](size_t index) const;
    const_iterator begin() const;
    const_iterator end() const;

    TStringList Lines() const;
    operator TStringList() const { return Lines(); } // NOLINT: reads as a list of lines
    // Its own lines to change (a text read from a file is copied first).
    TStringList& Edit();
    void clear() { *this = TTextLines(); }

    friend bool operator==(const TTextLines& a, const TTextLines& b);
    friend bool operator==(const TTextLines& a, const TStringList& b) {
        return a == TTextLines(b);
    }

private:
    static TTextLines Part(const TFileTextRef& file, size_t begin, size_t end, bool carryEnds);
    // The line at `pos` of the part of `file` that ends at `end`; `pos`
    // moves on to the next one.
    static std::string_view LineOf(const TFileText& file, size_t& pos, size_t end,
                                   bool carryEnds) {
        return carryEnds ? KeptLineAt(file, pos, end) : LineAt(file.Bytes, pos, end);
    }

    TFileTextRef file_; // none: the lines are its own
    uint32_t begin_ = 0;
    uint32_t end_ : 31 = 0;
    uint32_t carryEnds_ : 1 = 0;
    TSparse<TStringList> own_;
};

// Goes through the lines, each a string made for it.
class TTextLines::const_iterator {
public:
    using iterator_category = std::input_iterator_tag;
    using iterator_concept = std::forward_iterator_tag;
    using value_type = std::string;
    using reference = std::string;
    using pointer = void;
    using difference_type = std::ptrdiff_t;

    const_iterator() = default;
    std::string operator*() const { return std::string(line_); }
    std::string_view View() const { return line_; }
    const_iterator& operator++() {
        at_ = next_;
        Read();
        return *this;
    }
    const_iterator operator++(int) {
        const_iterator was = *this;
        ++*this;
        return was;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

private:
    friend class TTextLines;
    const_iterator(const TTextLines* text, size_t at);
    // Reads the line at `at_` into `line_` (none at the end).
    void Read();

    const TTextLines* text_ = nullptr;
    size_t at_ = 0;   // own lines: the line's index; a file's: where it begins
    size_t next_ = 0; // where the line after it begins
    std::string_view line_;
};

// Lines most records do not have (those kept after a record as read): one
// pointer while there are none.
class TSparseLines {
public:
    TSparseLines() = default;
    TSparseLines(TTextLines lines) { *this = std::move(lines); } // NOLINT: lines convert
    TSparseLines& operator=(TTextLines lines) {
        if (lines.empty())
            lines_.Reset();
        else
            lines_.Edit() = std::move(lines);
        return *this;
    }

    const TTextLines& Lines() const { return *lines_; }
    bool empty() const { return lines_->empty(); }
    size_t size() const { return lines_->size(); }
    TTextLines::const_iterator begin() const { return lines_->begin(); }
    TTextLines::const_iterator end() const { return lines_->end(); }
    friend bool operator==(const TSparseLines& a, const TSparseLines& b) {
        return a.Lines() == b.Lines();
    }

private:
    TSparse<TTextLines> lines_;
};
