#include "textlines.h"

#include <limits>

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

TTextLines::TTextLines(TStringList lines) {
    if (!lines.empty())
        own_.Edit() = std::move(lines);
}

TTextLines TTextLines::InFile(std::shared_ptr<const TFileText> file, size_t begin, size_t end) {
    if (end > std::numeric_limits<uint32_t>::max()) {
        // Beyond what the text can point at (a file of gigabytes): a copy.
        TStringList lines;
        size_t pos = begin;
        while (pos < end)
            lines.emplace_back(LineAt(file->Bytes, pos, end));
        return TTextLines(std::move(lines));
    }
    TTextLines text;
    if (begin < end) {
        text.file_ = std::move(file);
        text.begin_ = static_cast<uint32_t>(begin);
        text.end_ = static_cast<uint32_t>(end);
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
        file_.reset();
        begin_ = end_ = 0;
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
        line_ = LineAt(text_->file_->Bytes, next_, text_->end_);
}
