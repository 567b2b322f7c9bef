#include "worldfile.h"

#include "codepage.h"
#include "serverkept.h"
#include "strutils.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

bool SyncSavedFiles = true;
bool ReplaceWriteProtected = false;

namespace {
TErrorReporter* gReporter = nullptr;
// A worker thread's own reporter, which takes its messages instead of gReporter.
thread_local TErrorReporter* tThreadReporter = nullptr;

// Reads a whole regular file; false for a folder, a missing or unreadable file.
bool ReadWholeFile(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        out.clear();
        out.reserve(static_cast<size_t>(info.st_size));
        char buffer[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                ok = false;
            if (got <= 0)
                break;
            out.append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(fd);
    return ok;
}
std::string LoadSubject(std::string_view kindWordUtf8, const std::string& name) {
    return Msg(kindWordUtf8) + Msg("\r\nФайл: ") + Msg(name);
}
} // namespace

std::optional<int32_t> ZoneOfFileName(const std::string& path) {
    const std::string name = std::filesystem::path(path).stem().string();
    if (name.empty() || name.size() > 9 || !IsDecimal(name) || name[0] == '-' || name[0] == '+')
        return std::nullopt;
    return static_cast<int32_t>(std::stol(name));
}

namespace {

// `path` made absolute with "." and ".." resolved as written, no link followed.
std::filesystem::path NormalPath(const std::string& path) {
    std::error_code error;
    return std::filesystem::absolute(path, error).lexically_normal();
}

// Whether `inner` is `outer` or lies below it, both absolute and normal.
bool IsBelow(const std::filesystem::path& inner, std::filesystem::path outer) {
    // "ws/" and "ws" are the same folder.
    if (!outer.has_filename() && outer.has_parent_path() && outer != outer.root_path())
        outer = outer.parent_path();
    return std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end()).first ==
           outer.end();
}

} // namespace

std::string ResolvedPath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved =
        std::filesystem::weakly_canonical(NormalPath(path), error);
    // A loop of links: the name as written.
    return (error ? NormalPath(path) : resolved).string();
}

bool LiesWithin(const std::string& path, const std::string& folder) {
    return IsBelow(ResolvedPath(path), ResolvedPath(folder));
}

bool ReadFileBytes(const std::string& path, std::string& out) {
    return ReadWholeFile(path, out);
}

TStringList SplitTextLines(std::string bytes) {
    TWorldReader reader = TWorldReader::FromBytes(std::move(bytes));
    TStringList lines;
    while (!reader.Eof())
        lines.push_back(reader.NextLine());
    return lines;
}

void SetErrorReporter(TErrorReporter* reporter) {
    gReporter = reporter;
}
TErrorReporter* ErrorReporter() {
    return tThreadReporter ? tThreadReporter : gReporter;
}

void ReportFileError(const std::string& message) {
    if (TErrorReporter* reporter = ErrorReporter())
        reporter->ReportError(message);
}

void ReportFileNote(const std::string& message) {
    if (TErrorReporter* reporter = ErrorReporter())
        reporter->ReportNote(message);
}

void TKeptReports::ReportError(const std::string& message) {
    reports_.push_back({TKind::Error, message, {}});
}

void TKeptReports::ReportNote(const std::string& message) {
    reports_.push_back({TKind::Note, message, {}});
}

void TKeptReports::ReportWriteFailure(const std::string& message, const TWriteResult& result) {
    reports_.push_back({TKind::WriteFailure, message, result});
}

void TKeptReports::PassOn() const {
    TErrorReporter* reporter = ErrorReporter();
    if (!reporter)
        return;
    for (const TReport& report : reports_) {
        switch (report.Kind) {
        case TKind::Error:
            reporter->ReportError(report.Message);
            break;
        case TKind::Note:
            reporter->ReportNote(report.Message);
            break;
        case TKind::WriteFailure:
            reporter->ReportWriteFailure(report.Message, report.Result);
            break;
        }
    }
}

TThreadReporter::TThreadReporter(TErrorReporter& reporter) : previous_(tThreadReporter) {
    tThreadReporter = &reporter;
}

TThreadReporter::~TThreadReporter() {
    tThreadReporter = previous_;
}

void TReadContext::Report(const std::string& message) const {
    if (!Quiet)
        ReportFileError(message);
}

std::string Msg(std::string_view utf8) {
    return Utf8ToCp1251(utf8);
}

std::string QuotedLine(std::string_view line) {
    constexpr size_t kQuoted = 200;
    if (line.size() <= kQuoted)
        return std::string(line);
    return std::string(line.substr(0, kQuoted)) + "...";
}

std::string LoadErrorSuffix(int lineNumber) {
    if (lineNumber == -1)
        return Msg("\r\n(Не смог открыть файл)");
    if (lineNumber == -2)
        return Msg("\r\n(Не смог закрыть файл)");
    return Msg(Format("\r\n(Ошибка в строке %d)", lineNumber));
}

TWorldReader::TWorldReader(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        throw TLoadFailure{};
    Init(std::move(bytes));
}

TWorldReader TWorldReader::FromBytes(std::string bytes) {
    TWorldReader reader;
    reader.Init(std::move(bytes));
    return reader;
}

TWorldReader TWorldReader::Resume(const TTextRange& range) {
    TWorldReader reader;
    reader.text_ = range.File;
    reader.data_ = range.File->Bytes;
    reader.mainEnd_ = range.File->MainEnd;
    reader.pos_ = range.Begin;
    reader.end_ = range.File->TextEnd;
    return reader;
}

TTextRange TWorldReader::RangeBetween(size_t from, size_t to) const {
    if (to > UINT32_MAX)
        return {};
    return {text_, static_cast<uint32_t>(from), static_cast<uint32_t>(to)};
}

TStringList TWorldReader::LinesOf(const TTextRange& range) {
    return Resume(range).LinesBetween(range.Begin, range.End);
}

namespace {

constexpr std::string_view kLf = "\n";
constexpr std::string_view kCr = "\r";

// The line end most lines of `text` use; CR LF when there is none (or when
// CR LF ties with another: it is the workspace's own).
std::string_view MostUsedLineEnd(std::string_view text) {
    size_t crlf = 0, lf = 0, cr = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            const bool afterCr = i > 0 && text[i - 1] == '\r';
            // A run of CRs before the LF is a stray end, no line end of its own kind.
            if (!afterCr)
                ++lf;
            else if (i < 2 || text[i - 2] != '\r')
                ++crlf;
        } else if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n') &&
                   (i + 1 == text.size() || text[i + 1] != '\r')) {
            ++cr;
        }
    }
    if (crlf >= lf && crlf >= cr)
        return kCrLf;
    return lf >= cr ? kLf : kCr;
}

} // namespace

bool CarriesLineEnd(std::string_view line) {
    return !line.empty() && (line.back() == '\r' || line.back() == '\n');
}

std::string_view LineText(std::string_view line) {
    const size_t last = line.find_last_not_of("\r\n");
    return line.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::string_view CarriedLineEnd(std::string_view line) {
    return line.substr(LineText(line).size());
}

void TWorldReader::Init(std::string bytes) {
    auto text = std::make_unique<TFileText>();
    text->Bytes = std::move(bytes);
    const std::string_view data = text->Bytes;
    text->TextEnd = std::min(data.find('\x1A'), data.size());
    text->MainEnd = MostUsedLineEnd(data.substr(0, text->TextEnd));
    text_ = TFileTextRef(std::move(text));
    data_ = text_->Bytes;
    end_ = text_->TextEnd;
    mainEnd_ = text_->MainEnd;
    pos_ = 0;
    pastEnd_ = false;
}

std::string TWorldReader::ReadLine() {
    // Every read past the end is the line after the last one, so a record cut
    // off by the end of the file fails on that line, not on one further on.
    if (Eof()) {
        if (!pastEnd_)
            ++line_;
        pastEnd_ = true;
        return {};
    }
    ++line_;
    return NextLine();
}

TStringList TWorldReader::LinesBetween(size_t from, size_t to) const {
    TStringList lines;
    while (from < to)
        lines.emplace_back(KeptLineAt(*text_, from, to));
    return lines;
}

bool TWorldReader::LinesBetweenAre(size_t from, size_t to, const TStringList& lines,
                                   size_t count) const {
    size_t index = 0;
    for (; from < to; ++index) {
        std::string_view lineEnd;
        if (index >= count || index >= lines.size() || LineAt(from, to, &lineEnd) != lines[index] ||
            (!lineEnd.empty() && lineEnd != mainEnd_))
            return false;
    }
    return index == count;
}

std::string TWorldReader::LastLineKept() const {
    size_t pos = lineStart_;
    return pastEnd_ ? std::string() : std::string(KeptLineAt(*text_, pos, end_));
}

TCompactString TWorldReader::ReadLineWithoutLast() {
    const size_t size = WithoutLast(ReadLine()).size();
    return pastEnd_ ? TCompactString() : TextAt(lineStart_, size);
}

std::string TWorldReader::NextLine() {
    if (Eof())
        return {};
    lineStart_ = pos_;
    return std::string(LineAt(pos_, end_));
}

std::string TWorldReader::PeekLine() const {
    size_t pos = pos_;
    return Eof() ? std::string() : std::string(LineAt(pos, end_));
}

bool TWorldReader::SkipToLineStarting(char c, std::string& line) {
    while (!Eof()) {
        line = ReadLine();
        if (StartsWith(line, c))
            return true;
    }
    return false;
}

void TWorldReader::ReturnTo(size_t lineStart, int lineNumber) {
    pos_ = std::min(lineStart, end_);
    pastEnd_ = false;
    NextLine();
    line_ = lineNumber;
}

namespace {

// Keeps the line a read failed at and says it, unless the read is quiet.
void ReadFailedAt(TReadContext& context, const std::string& subject, int line) {
    context.FailedLine = line;
    context.Report(Msg("Не могу загрузить ") + subject + LoadErrorSuffix(line));
}

} // namespace

bool LoadWorldBytes(std::string_view kindWordUtf8, const std::string& name, std::string bytes,
                    const std::function<void(TWorldReader&)>& parse, TReadContext& context) {
    const std::string subject = LoadSubject(kindWordUtf8, name);
    TWorldReader reader = TWorldReader::FromBytes(std::move(bytes));
    try {
        parse(reader);
    } catch (const TEndOfFileStop&) {
    } catch (const TLoadFailure&) {
        ReadFailedAt(context, subject, reader.Line());
        return false;
    }
    // Each record kept unread is said, and the file counts as not read
    // whole; the builder's text is safe all the same.
    const std::vector<int>& unparsed = reader.UnparsedLines();
    for (const int line : unparsed)
        context.Report(Msg("Не могу загрузить ") + subject + LoadErrorSuffix(line));
    if (unparsed.empty())
        return true;
    context.FailedLine = unparsed.front();
    return false;
}

bool LoadWorldFile(std::string_view kindWordUtf8, const std::string& path,
                   const std::function<void(TWorldReader&)>& parse, TReadContext& context) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        ReadFailedAt(context, LoadSubject(kindWordUtf8, path), -1);
        return false;
    }
    return LoadWorldBytes(kindWordUtf8, path, std::move(bytes), parse, context);
}

bool LoadWorldBytes(std::string_view kindWordUtf8, const std::string& name, std::string bytes,
                    const std::function<void(TWorldReader&)>& parse) {
    TReadContext shown;
    return LoadWorldBytes(kindWordUtf8, name, std::move(bytes), parse, shown);
}

bool LoadWorldFile(std::string_view kindWordUtf8, const std::string& path,
                   const std::function<void(TWorldReader&)>& parse) {
    TReadContext shown;
    return LoadWorldFile(kindWordUtf8, path, parse, shown);
}

bool IsDecimal(std::string_view word) {
    size_t i = 0;
    if (i < word.size() && (word[i] == '-' || word[i] == '+'))
        ++i;
    if (i == word.size())
        return false;
    for (; i < word.size(); ++i)
        if (word[i] < '0' || word[i] > '9')
            return false;
    return true;
}

int64_t ToInteger(std::string_view word, int64_t low, int64_t high) {
    if (!IsDecimal(word))
        throw TLoadFailure{};
    size_t i = 0;
    const bool negative = word[0] == '-';
    if (word[0] == '-' || word[0] == '+')
        ++i;
    int64_t value = 0;
    for (; i < word.size(); ++i) {
        value = value * 10 + (word[i] - '0');
        if (value > (int64_t{1} << 33)) // far beyond any field; stop before overflow
            throw TLoadFailure{};
    }
    if (negative)
        value = -value;
    if (value < low || value > high)
        throw TLoadFailure{};
    return value;
}

int32_t ToInt32(std::string_view word) {
    return static_cast<int32_t>(ToInteger(word, INT32_MIN, INT32_MAX));
}
uint8_t ToByte(std::string_view word) {
    return static_cast<uint8_t>(ToInteger(word, 0, 255));
}
int8_t ToInt8(std::string_view word) {
    return static_cast<int8_t>(ToInteger(word, -128, 127));
}
int16_t ToInt16(std::string_view word) {
    return static_cast<int16_t>(ToInteger(word, -32768, 32767));
}
uint16_t ToUInt16(std::string_view word) {
    return static_cast<uint16_t>(ToInteger(word, 0, 65535));
}

std::string Word(int n, std::string_view line) {
    return ExtractWord(n, line, " ");
}
std::string WordTab(int n, std::string_view line) {
    return ExtractWord(n, line, " \t");
}

std::string_view WithoutLast(std::string_view line) {
    return line.substr(0, line.empty() ? 0 : line.size() - 1);
}

std::string FlagWord(std::string_view word) {
    return word == "0" ? std::string() : std::string(word);
}
std::string FlagText(std::string_view flags) {
    return flags.empty() ? "0" : std::string(flags);
}

size_t ReadTildeText(TWorldReader& reader, TTextLines& out) {
    if (reader.Eof())
        throw TEndOfFileStop{};
    std::string line = reader.ReadLine();
    const size_t begin = reader.LineStart();
    while (!EndsWith(line, '~')) {
        if (reader.Eof()) {
            out = reader.TextBetween(begin, reader.TextEnd());
            throw TEndOfFileStop{};
        }
        line = reader.ReadLine();
    }
    out = reader.TextBetween(begin, reader.LineStart() + line.size() - 1);
    return begin;
}

std::string OpenTextLine(std::string line) {
    if (EndsWith(line, '~'))
        line += ' ';
    return line;
}

void WriteTildeText(TStringList& lines, const TTextLines& text) {
    for (std::string line : text)
        lines.push_back(OpenTextLine(std::move(line)));
    lines.emplace_back("~");
}

TCompactString ReadTildeLine(TWorldReader& reader) {
    TTextLines text;
    const size_t begin = ReadTildeText(reader, text);
    if (text.size() == 1) // the line as it stands in the file
        return reader.TextAt(begin, text.begin().View().size());
    std::string joined;
    for (auto line = text.begin(); line != text.end(); ++line) {
        if (line != text.begin())
            joined += "\r\n";
        joined += line.View();
    }
    return joined;
}

void WriteTildeLine(TStringList& lines, std::string_view text) {
    size_t from = 0;
    for (size_t cr; (cr = text.find("\r\n", from)) != std::string_view::npos; from = cr + 2)
        lines.push_back(OpenTextLine(std::string(text.substr(from, cr - from))));
    lines.push_back(std::string(text.substr(from)).append("~"));
}

std::string TextAfterWord(int n, std::string_view line) {
    size_t i = 0;
    for (int word = 0; word < n; ++word) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        if (i == line.size())
            return {};
        while (i < line.size() && line[i] != ' ')
            ++i;
    }
    return std::string(line.substr(i));
}

TDice ParseDice(std::string_view text) {
    std::string rest(text);
    TDice dice;
    dice.X = ToInt32(ExtractWord(1, rest, "d"));
    const auto d = rest.find('d');
    if (d == std::string::npos)
        throw TLoadFailure{};
    rest.erase(0, d + 1);
    if (rest.find('+') == std::string::npos)
        throw TLoadFailure{};
    dice.Y = ToInt32(ExtractWord(1, rest, "+"));
    dice.Z = ToInt32(ExtractWord(2, rest, "+"));
    return dice;
}

std::string DiceText(const TDice& dice) {
    return Format("%dd%d+%d", dice.X, dice.Y, dice.Z);
}

std::string Format(const char* format, ...) {
    // Nearly every line fits the buffer: one formatting pass, not two
    // (writers format every record line, readers too, to know them later).
    char buffer[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(buffer, sizeof buffer, format, copy);
    va_end(copy);
    std::string out;
    if (size > 0 && static_cast<size_t>(size) < sizeof buffer) {
        out.assign(buffer, static_cast<size_t>(size));
    } else if (size > 0) {
        out.resize(static_cast<size_t>(size));
        std::vsnprintf(out.data(), out.size() + 1, format, args);
    }
    va_end(args);
    return out;
}

std::string FileBytes(const TStringList& lines, std::string_view lineEnd, bool keepCarried) {
    std::string text;
    size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + lineEnd.size();
    text.reserve(size);
    for (const auto& line : lines) {
        if (CarriesLineEnd(line)) {
            text += keepCarried ? std::string_view(line) : LineText(line);
            if (!keepCarried)
                text += lineEnd;
            continue;
        }
        size_t start = 0;
        for (size_t pos; (pos = line.find("\r\n", start)) != std::string::npos; start = pos + 2) {
            text.append(line, start, pos - start);
            text += lineEnd;
        }
        text.append(line, start, std::string::npos);
        text += lineEnd;
    }
    return text;
}

TWriteResult SaveLinesToFile(const std::string& path, const TStringList& lines,
                             std::string_view lineEnd) {
    return SaveBytesToFile(path, FileBytes(lines, lineEnd));
}

namespace {

std::string gSaveFolder;

// A file of the workspace, as its path is spelled, that a link takes out of it.
bool LeavesSaveFolder(const std::string& path, const std::string& target) {
    return !gSaveFolder.empty() && IsBelow(NormalPath(path), NormalPath(gSaveFolder)) &&
           !LiesWithin(target, gSaveFolder);
}

} // namespace

void KeepSavesWithin(const std::string& workspace) {
    gSaveFolder = workspace;
}

namespace {

// The file a path finally names: a symbolic link is followed (however many
// there are in a row), so that the file the link points to is replaced and
// the link stays a link. A dangling link names the file it would point to.
std::filesystem::path LinkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path at(path);
    std::error_code error;
    // As many hops as the system itself follows before it gives up.
    for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(at, error)); ++hop) {
        const fs::path next = fs::read_symlink(at, error);
        if (error)
            break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return at;
}

} // namespace

bool IsWriteProtected(const std::string& path) {
    struct stat info {};
    return ::stat(LinkTarget(path).c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & S_IWUSR) == 0;
}

namespace {

// The process's file mode mask, read once. It can only be read by setting it,
// and the mask is the whole process's: two threads each setting and
// restoring it could leave a new file (and every later one) writable by all.
mode_t ProcessUmask() {
    static const mode_t mask = [] {
        const mode_t old = ::umask(0);
        ::umask(old);
        return old;
    }();
    return mask;
}

} // namespace

TWriteResult SaveBytesToFile(const std::string& linkOrPath, const std::string& text) {
    namespace fs = std::filesystem;
    const fs::path target = LinkTarget(linkOrPath);
    const std::string path = target.string();
    if (LeavesSaveFolder(linkOrPath, path)) {
        TWriteResult refused;
        refused.LeadsOutTo = ResolvedPath(path);
        return refused;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    if (replacing && S_ISDIR(old.st_mode))
        return {EISDIR};
    if (replacing && (old.st_mode & S_IWUSR) == 0 && !ReplaceWriteProtected)
        return {0, true};

    // Built by appending: GCC 12 at -O2 takes "." + string&& for an overlapping copy.
    std::string tempFile = ".";
    tempFile += target.filename().string();
    tempFile += ".XXXXXX";
    std::string tempName = (folder / tempFile).string();
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return {errno};
    if (replacing) {
        ::fchmod(fd, old.st_mode & 07777);
    } else {
        ::fchmod(fd, 0666 & ~ProcessUmask());
    }

    // The reason of the first step that fails; the later steps are skipped.
    int error = 0;
    for (size_t done = 0; !error && done < text.size();) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote > 0)
            done += static_cast<size_t>(wrote);
        else
            error = wrote < 0 ? errno : EIO;
    }
    if (!error && SyncSavedFiles && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(tempName.c_str(), path.c_str()) != 0)
        error = errno;
    if (error)
        ::unlink(tempName.c_str());
    return {error};
}

TWriteResult WriteRecordFile(const std::string& path, const TStringList& lines,
                             std::string_view failureUtf8, std::string_view lineEnd) {
    const TWriteResult result = SaveLinesToFile(path, lines, lineEnd);
    if (result) {
        FollowServerKept(path, lines);
        return result;
    }
    if (gReporter) {
        std::string first(failureUtf8);
        first += " в файл ";
        gReporter->ReportWriteFailure(WriteFailureMessage(first, path, result), result);
    }
    return result;
}

bool SaveRecordFile(const std::string& path, const TStringList& lines, std::string_view failureUtf8,
                    std::string_view lineEnd) {
    return WriteRecordFile(path, lines, failureUtf8, lineEnd).Ok();
}

namespace {

// Whether the folder a file would be written into has no write bit for its owner.
bool InReadOnlyFolder(const std::string& path) {
    const std::filesystem::path folder = LinkTarget(path).parent_path();
    struct stat info {};
    return ::stat(folder.empty() ? "." : folder.c_str(), &info) == 0 &&
           (info.st_mode & S_IWUSR) == 0;
}

} // namespace

std::string WriteFailureReason(const std::string& path, const TWriteResult& result) {
    if (result.Protected)
        return Msg("защищён от записи");
    if (!result.LeadsOutTo.empty())
        return Msg("ссылка ведёт за пределы рабочей папки, в ") + Msg(result.LeadsOutTo);
    switch (result.Error) {
    case ENOSPC:
    case EDQUOT:
        return Msg("нет места на диске");
    case EROFS:
        return Msg("только для чтения");
    case EACCES:
    case EPERM:
        return Msg(InReadOnlyFolder(path) ? "только для чтения" : "нет прав");
    case ENOENT:
        return Msg("нет такого файла или папки");
    case ENOTDIR:
        return Msg("часть пути не является папкой");
    case EISDIR:
        return Msg("на этом месте папка");
    case EFBIG:
        return Msg("файл слишком велик");
    default:
        return Msg(std::strerror(result.Error));
    }
}

std::string WriteFailureMessage(std::string_view failureUtf8, const std::string& path,
                                const TWriteResult& result) {
    return Msg(failureUtf8) + Msg(path) + ": " + WriteFailureReason(path, result);
}
