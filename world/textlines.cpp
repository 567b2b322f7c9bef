#include "textlines.h"

std::string_view LineAt(std::string_view data, size_t& pos, size_t end, std::string_view* lineEnd) {
    size_t stop = pos;
    while (stop < end && data[stop] != '\r' && data[stop] != '\n')
        ++stop;
    const std::string_view line = data.substr(pos, stop - pos);
    size_t next = stop;
    while (next < end && data[next] == '\r')
        ++next;
    if (next < end && data[next] == '\n')
        ++next; // the CRs and the LF: one line end
    else if (next > stop)
        next = stop + 1; // a CR without an LF ends its line alone
    if (lineEnd)
        *lineEnd = data.substr(stop, next - stop);
    pos = next;
    return line;
}

std::string_view KeptLineAt(const TFileText& file, size_t& pos, size_t end) {
    std::string_view lineEnd;
    const std::string_view line = LineAt(file.Bytes, pos, end, &lineEnd);
    // A line end right after its line: the line as kept runs on over it.
    if (!lineEnd.empty() && lineEnd != file.MainEnd)
        return {line.data(), line.size() + lineEnd.size()};
    return line;
}

TTextLines::TTextLines(TStringList lines) {
    if (!lines.empty())
        own_.Edit() = std::move(lines);
}

TTextLines TTextLines::InFile(const TFileTextRef& file, size_t begin, size_t end) {
    return Part(file, begin, end, false);
}

TTextLines TTextLines::KeptInFile(const TFileTextRef& file, size_t begin, size_t end) {
    return Part(file, begin, end, true);
}

TTextLines TTextLines::Part(const TFileTextRef& file, size_t begin, size_t end, bool carryEnds) {
    if (end >= (size_t{1} << 31)) {
        // Beyond what the text can point at (a file of gigabytes): a copy.
        TStringList lines;
        while (begin < end)
            lines.emplace_back(LineOf(*file, begin, end, carryEnds));
        return TTextLines(std::move(lines));
    }
    TTextLines text;
    if (begin < end) {
        text.file_ = file;
        text.begin_ = static_cast<uint32_t>(begin);
        text.end_ = static_cast<uint32_t>(end);
        text.carryEnds_ = carryEnds;
    }
    return text;
}

size_t TTextLines::size() const {
    if (!file_)
        return own_->size();
    size_t count = 0;
    for (auto line = begin(); line != this->end(); ++line)
        ++count;
    return count;
}

std::string TTextLines::operator[](size_t index) const {
    auto line = begin();
    for (; index > 0; --index)
        ++line;
    return *line;
}

TTextLines::const_iterator TTextLines::begin() const {
    return {this, file_ ? begin_ : 0};
}

TTextLines::const_iterator TTextLines::end() const {
    return {this, file_ ? end_ : own_->size()};
}

TStringList TTextLines::Lines() const {
    if (!file_)
        return *own_;
    TStringList lines;
    for (auto line = begin(); line != end(); ++line)
        lines.emplace_back(line.View());
    return lines;
}

TStringList& TTextLines::Edit() {
    if (file_) {
        own_.Edit() = Lines();
        file_ = {};
        begin_ = 0;
        end_ = 0;
        carryEnds_ = 0;
    }
    return own_.Edit();
}

bool operator==(const TTextLines& a, const TTextLines& b) {
    auto x = a.begin(), y = b.begin();
    for (; x != a.end() && y != b.end(); ++x, ++y)
        if (x.View() != y.View())
            return false;
    return x == a.end() && y == b.end();
}

TTextLines::const_iterator::const_iterator(const TTextLines* text, size_t at) : text_(text), at_(at) {
    Read();
}

void TTextLines::const_iterator::Read() {
    if (!text_->file_) {
        const TStringList& lines = *text_->own_;
        if (at_ < lines.size())
            line_ = lines[at_];
        next_ = at_ + 1;
        return;
    }
    next_ = at_;
    if (at_ < text_->end_)
        line_ = LineOf(*text_->file_, next_, text_->end_, text_->carryEnds_);
}
