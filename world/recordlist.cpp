#include "recordlist.h"

uint64_t HashOfLines(const TStringList& lines) {
    // FNV-1a over the lines and their ends: stable, and cheap beside reading.
    uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](unsigned char c) {
        hash ^= c;
        hash *= 1099511628211ull;
    };
    for (const std::string& line : lines) {
        for (const char c : line)
            mix(static_cast<unsigned char>(c));
        mix('\n');
    }
    return hash;
}

void TSourceText::SetEarlierCopies(std::vector<TStringList> copies) {
    if (!copies.empty() || !kept_->EarlierCopies.empty())
        kept_.Edit().EarlierCopies = std::move(copies);
}

void TSourceText::AppendTo(TStringList& out, TStringList&& ours) const {
    AppendEarlierCopies(out);
    const bool asRead = (!kept_->Lines.empty() || Range) && HashOfLines(ours) == kept_->OurForm;
    if (asRead && !kept_->Lines.empty()) {
        out.insert(out.end(), kept_->Lines.begin(), kept_->Lines.end());
    } else if (asRead) {
        const TStringList read = TWorldReader::LinesOf(Range);
        out.insert(out.end(), read.begin(), read.end());
    } else {
        out.insert(out.end(), std::make_move_iterator(ours.begin()),
                   std::make_move_iterator(ours.end()));
    }
}

void TSourceText::Remember(TStringList&& read, const TStringList& ours, bool always) {
    Range = {}; // a text read before this one no longer stands for the record
    if (!always && read == ours) {
        Forget();
        return;
    }
    TKept& kept = kept_.Edit();
    kept.Lines = std::move(read);
    kept.OurForm = HashOfLines(ours);
}

void TSourceText::Forget() {
    Range = {};
    if (kept_->EarlierCopies.empty()) {
        kept_.Reset();
    } else {
        TKept& kept = kept_.Edit();
        kept.Lines.clear();
        kept.OurForm = 0;
    }
}
