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

void TSourceText::AppendTo(TStringList& out, TStringList&& ours) const {
    AppendEarlierCopies(out);
    if (!Lines.empty() && HashOfLines(ours) == OurForm)
        out.insert(out.end(), Lines.begin(), Lines.end());
    else
        out.insert(out.end(), std::make_move_iterator(ours.begin()),
                   std::make_move_iterator(ours.end()));
}

void TSourceText::Remember(TStringList&& read, const TStringList& ours, bool always) {
    Range = {}; // a text read before this one no longer stands for the record
    if (!always && read == ours) {
        Forget();
        return;
    }
    Lines = std::move(read);
    OurForm = HashOfLines(ours);
}
