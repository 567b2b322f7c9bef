#pragma once

// What every world file reader and writer shares: the failure reporter, the
// context of one read, line reading, strict number conversion, tilde text
// fields and the safe whole-file write.

#include "compactstring.h"
#include "textlines.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// While true (the default) every saved file is flushed to the disk before it
// replaces the old one. Batch tools writing thousands of files turn it off
// and flush the whole file system once at the end.
extern bool SyncSavedFiles;
// Whether a save may replace a file that is write-protected (no write bit for
// its owner). Off, such a file is left as it is and the save fails: someone
// protected it on purpose, and a rename would replace it whatever its mode.
// The editor turns it on for one save after the builder agreed; worldtool
// turns it on with --force.
extern bool ReplaceWriteProtected;

// What a whole-file write came to: nothing when the file was written, else
// the system's reason (an errno value) or a write-protected target left alone.
struct TWriteResult {
    int Error = 0;
    bool Protected = false;
    std::string LeadsOutTo = {}; // a link out of the save folder, where it leads
    bool Ok() const { return Error == 0 && !Protected && LeadsOutTo.empty(); }
    explicit operator bool() const { return Ok(); }
};

// Receives the failures of readers and writers. Messages are Windows-1251 text
// with "\r\n" line breaks, as an error box shows them.
class TErrorReporter {
public:
    virtual ~TErrorReporter() = default;
    virtual void ReportError(const std::string& message) = 0;
    // Something the user should know that is no failure (rooms without a
    // layout file: not placed yet). Only the start-up report lists notes.
    virtual void ReportNote(const std::string& message) { (void)message; }
    // A file that could not be written: one line naming the file and the
    // reason. An error like any other unless the reporter counts them apart.
    virtual void ReportWriteFailure(const std::string& message, const TWriteResult& result) {
        (void)result;
        ReportError(message);
    }
};

// The reporter stays owned by the caller; nullptr discards every message.
void SetErrorReporter(TErrorReporter* reporter);
// The reporter this thread reports to: its own while a TThreadReporter lives
// on it, else the process-wide one.
TErrorReporter* ErrorReporter();
// Shows `message` through the reporter (when there is one).
void ReportFileError(const std::string& message);
// Passes `message` on as a note.
void ReportFileNote(const std::string& message);

// Keeps what is reported to it, in order, to be passed on later: a read run
// on a worker thread has its messages shown by its caller, after those of
// the reads before it, as if it had run there.
class TKeptReports : public TErrorReporter {
public:
    void ReportError(const std::string& message) override;
    void ReportNote(const std::string& message) override;
    void ReportWriteFailure(const std::string& message, const TWriteResult& result) override;
    // Passes every message on to this thread's reporter, in the order received.
    void PassOn() const;

private:
    enum class TKind { Error, Note, WriteFailure };
    struct TReport {
        TKind Kind;
        std::string Message;
        TWriteResult Result;
    };
    std::vector<TReport> reports_;
};

// While it lives, what its thread reports goes to `reporter` instead of the
// process-wide reporter (which other threads may be reporting to meanwhile).
class TThreadReporter {
public:
    explicit TThreadReporter(TErrorReporter& reporter);
    ~TThreadReporter();
    TThreadReporter(const TThreadReporter&) = delete;
    TThreadReporter& operator=(const TThreadReporter&) = delete;

private:
    TErrorReporter* previous_;
};

// One read of a world file: whether it shows its failures, and where it
// failed. Each read keeps its own, so that reads never share state and may
// run side by side.
struct TReadContext {
    // A quiet read shows nothing: its caller tells the failure its own way
    // (FailedLine says where).
    bool Quiet = false;
    // After a failed read, the line LoadErrorSuffix names: -1 when the file
    // could not be opened, else the line the read failed at (the first record
    // kept unread when the reading went on past it).
    int FailedLine = 0;
    // Shows a failure of the read through the reporter, unless the read is quiet.
    void Report(const std::string& message) const;
};

// The line a failed write of `path` is reported with: `failureUtf8` ("Не могу
// сохранить файл "), the path and the reason ("...: нет места на диске").
std::string WriteFailureMessage(std::string_view failureUtf8, const std::string& path,
                                const TWriteResult& result);
// The reason alone, in Windows-1251: "нет места на диске", "только для
// чтения", "нет прав", "защищён от записи", ... or the system's own text.
std::string WriteFailureReason(const std::string& path, const TWriteResult& result);

// The Windows-1251 form of a UTF-8 literal or path, for messages.
std::string Msg(std::string_view utf8);

// What a message quotes of a line read from a file: its first 200
// characters and "..." when there are more. A file may hold a line of
// megabytes, which no message should repeat whole.
std::string QuotedLine(std::string_view line);

// "\r\n(Не смог открыть файл)", "\r\n(Не смог закрыть файл)" or "\r\n(Ошибка в строке n)".
std::string LoadErrorSuffix(int lineNumber);

// Thrown inside a reader when a line does not hold what the format needs; the
// shared load routine turns it into the load failure message.
struct TLoadFailure {};
// Thrown when a search for a closing line reaches the end of the file: the
// read stops there without a message.
struct TEndOfFileStop {};

// The workspace's own line end, the one a file made here uses throughout.
inline constexpr std::string_view kCrLf = "\r\n";

// A line kept as it was read (a record's lines, what lies between records)
// carries its own line end when that is not its file's main one: "text\r\n"
// in a file of LF lines, "text\r\r\n", "text\r". A line's text never holds a
// CR or an LF, so whatever of them ends a line is its end.
bool CarriesLineEnd(std::string_view line);
// The line without the end it carries.
std::string_view LineText(std::string_view line);
// The end a line carries; empty when it takes its file's main one.
std::string_view CarriedLineEnd(std::string_view line);

// Where in a file's text some lines were read from: enough to read them
// again, without a copy of them. Every record of a file keeps one, so it
// holds no more than it must.
struct TTextRange {
    TFileTextRef File;
    uint32_t Begin = 0;
    uint32_t End = 0;
    explicit operator bool() const { return static_cast<bool>(File); }
};

// Reads a text file line by line. A line ends at an LF, and the CRs right
// before it belong to that line end (the server reads lines up to the LF, so
// "text\r\r\n" is one line); a CR followed by anything but CRs and an LF
// ends a line of its own (old Mac files). Ctrl-Z ends the file.
class TWorldReader {
public:
    // Throws TLoadFailure when the file cannot be opened or read.
    explicit TWorldReader(const std::string& path);
    // Reads from memory (used by tests and fuzzing).
    static TWorldReader FromBytes(std::string bytes);
    // Reads the file of `range` again from the range's first line on (its
    // line numbers count from there).
    static TWorldReader Resume(const TTextRange& range);

    bool Eof() const { return pos_ >= end_; }
    // ReadWorldLine: adds 1 to Line() and returns the next line without its
    // line end; at the end of the file it returns an empty line (Line() then
    // stays at the line after the last one).
    std::string ReadLine();
    // ReadLine for a one-line text field: the line without its last
    // character (the "~" that closes it), a part of the file's text.
    TCompactString ReadLineWithoutLast();
    // `size` bytes of the file's text from `offset` on, as a part of it.
    TCompactString TextAt(size_t offset, size_t size) const {
        return TCompactString::InFile(text_, offset, size);
    }
    // The number of the line last read (1 for the first); 0 before any.
    int Line() const { return line_; }
    // Reads lines until one begins with `c`; returns false at the end of the file.
    bool SkipToLineStarting(char c, std::string& line);
    // Back to just after the line that begins at `lineStart`, which was line
    // `lineNumber` (a record that failed is looked through again from its header).
    void ReturnTo(size_t lineStart, int lineNumber);

    // A record that could not be read and is kept as its text: the line where
    // its reading failed, said once the file is read.
    void NoteUnparsed(int line) { unparsedLines_.push_back(line); }
    const std::vector<int>& UnparsedLines() const { return unparsedLines_; }

    // The next line without counting it in Line().
    std::string NextLine();
    // The next line, left to be read.
    std::string PeekLine() const;

    // Where the line last read began (the end of the text once past it), and
    // the lines between two such places as they are kept: what a record was
    // read from, each line carrying its end where it is not the main one.
    size_t LineStart() const { return pastEnd_ ? end_ : lineStart_; }
    size_t TextEnd() const { return end_; }
    TStringList LinesBetween(size_t from, size_t to) const;
    // The same lines as a range of the file's text, kept without copying them;
    // none beyond the first 4 GB of a file (their lines are kept instead).
    TTextRange RangeBetween(size_t from, size_t to) const;
    // The multi-line text that stands between the two places.
    TTextLines TextBetween(size_t from, size_t to) const { return TTextLines::InFile(text_, from, to); }
    // The lines between the two places as LinesBetween gives them, as a part
    // of the file's text.
    TTextLines KeptBetween(size_t from, size_t to) const {
        return TTextLines::KeptInFile(text_, from, to);
    }
    // The lines of a range as LinesBetween gives them.
    static TStringList LinesOf(const TTextRange& range);
    // Whether the lines between the two places are the first ones of `lines`,
    // and exactly that many, each with the main line end.
    bool LinesBetweenAre(size_t from, size_t to, const TStringList& lines, size_t count) const;
    // The line last read as it is kept (with its end when not the main one).
    std::string LastLineKept() const;

    // The line end most lines of the file use (CR LF, LF or CR): what a
    // line written anew in it takes. CR LF for a file without line ends.
    std::string_view MainLineEnd() const { return mainEnd_; }

private:
    TWorldReader() = default;
    // Starts reading `bytes` from the first line.
    void Init(std::string bytes);
    // The line that begins at `pos` (see ::LineAt).
    std::string_view LineAt(size_t& pos, size_t end, std::string_view* lineEnd = nullptr) const {
        return ::LineAt(data_, pos, end, lineEnd);
    }
    TFileTextRef text_; // shared with the records kept as ranges of it
    std::string_view data_;
    std::string_view mainEnd_ = kCrLf;
    size_t pos_ = 0;
    size_t end_ = 0;
    size_t lineStart_ = 0;
    bool pastEnd_ = false;
    int line_ = 0;
    std::vector<int> unparsedLines_;
};

// The zone a record file's name gives ("WLD/12.wld" gives 12); none when its
// name is not a number.
std::optional<int32_t> ZoneOfFileName(const std::string& path);

// Where `path` finally leads: made absolute, every symbolic link followed and
// "." and ".." resolved; the part that does not exist yet is kept as written.
std::string ResolvedPath(const std::string& path);
// Whether `path` is `folder` or lies below it, where both finally lead: a
// name spelled another way ("ws/../ws") or reached through a link counts.
bool LiesWithin(const std::string& path, const std::string& folder);

// Reads a whole regular file; false for a folder, a missing or unreadable file.
bool ReadFileBytes(const std::string& path, std::string& out);
// The lines of a text, split as the world files are.
TStringList SplitTextLines(std::string bytes);

// Runs one read of a world file the shared way: open, parse, close, and on a
// failure report "Не могу загрузить " + subject + LoadErrorSuffix through
// `context` (which keeps the line). `kindWordUtf8` is the kind ("комнаты" ...).
// Returns false after a failure.
bool LoadWorldFile(std::string_view kindWordUtf8, const std::string& path,
                   const std::function<void(TWorldReader&)>& parse, TReadContext& context);
// The same over bytes already in memory (tests, fuzzing, imports); `name`
// stands for the file name.
bool LoadWorldBytes(std::string_view kindWordUtf8, const std::string& name, std::string bytes,
                    const std::function<void(TWorldReader&)>& parse, TReadContext& context);
// Both, showing their failures.
bool LoadWorldFile(std::string_view kindWordUtf8, const std::string& path,
                   const std::function<void(TWorldReader&)>& parse);
bool LoadWorldBytes(std::string_view kindWordUtf8, const std::string& name, std::string bytes,
                    const std::function<void(TWorldReader&)>& parse);

// Strict decimal conversions: optional sign, digits only, within range.
// Anything else throws TLoadFailure.
int64_t ToInteger(std::string_view word, int64_t low, int64_t high);
int32_t ToInt32(std::string_view word);
uint8_t ToByte(std::string_view word);
int8_t ToInt8(std::string_view word);
int16_t ToInt16(std::string_view word);
uint16_t ToUInt16(std::string_view word);
bool IsDecimal(std::string_view word);

// Word n (1-based) of a numeric line, words separated by spaces only.
std::string Word(int n, std::string_view line);
// As Word, but space and tab separate (the last field of a zone command,
// which a tab and a comment may follow).
std::string WordTab(int n, std::string_view line);

// A single-line text field: the line without its last character.
std::string_view WithoutLast(std::string_view line);
inline std::string DropLast(std::string_view line) {
    return std::string(WithoutLast(line));
}
// A flag field: the word "0" is the empty set.
std::string FlagWord(std::string_view word);
// A flag field as written: the empty set is "0".
std::string FlagText(std::string_view flags);

// Reads a multi-line text field: lines up to the first one ending with "~",
// which is added without it unless then empty; `out` is that part of the
// file's text. Throws TEndOfFileStop when the file ends first (the lines
// read stay in `out`). Returns where the text begins in the file.
size_t ReadTildeText(TWorldReader& reader, TTextLines& out);
// A line of a text that ends with "~" would close the text early when read
// back: it keeps its "~" followed by a space (as the pages store it).
std::string OpenTextLine(std::string line);
// Appends the lines (each an open text line) and then the lone "~".
void WriteTildeText(TStringList& lines, const TTextLines& text);
// A text closed by "~" that is one line in our files ("text~") but may run
// over several in others: its lines joined with CR LF.
TCompactString ReadTildeLine(TWorldReader& reader);
// Writes it back as its lines, the last one closed by "~".
void WriteTildeLine(TStringList& lines, std::string_view text);
// What a line holds after its word n (space-separated), separators included.
std::string TextAfterWord(int n, std::string_view line);

// Dice notation "XdY+Z", each part as wide as the server reads it (32 bits);
// throws TLoadFailure.
struct TDice {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Z = 0;
    bool operator==(const TDice&) const = default;
};
TDice ParseDice(std::string_view text);
std::string DiceText(const TDice& dice);

// printf into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The workspace, once set: a file below it is saved only where it finally
// lies inside it too. A symbolic link (of the file or of a folder on its way)
// leading out of it is refused (the write result says where the link leads)
// and nothing is written there: a workspace received from
// someone else must not write anywhere else. Links inside it are followed.
// Empty (the default): no such check.
void KeepSavesWithin(const std::string& workspace);

// The bytes of a file of `lines`: a line that carries its own end keeps it
// (unless `keepCarried` is false); every other line ends with `lineEnd`, and
// so do the text lines a line joins with CR LF (a description section).
std::string FileBytes(const TStringList& lines, std::string_view lineEnd, bool keepCarried = true);

// Writes the lines (FileBytes) into a temporary file beside `path` and
// renames it over `path` only when everything was written; on any failure
// the old file stays as it was. A write-protected `path` is left alone unless
// ReplaceWriteProtected is on (the new file then keeps its mode).
TWriteResult SaveLinesToFile(const std::string& path, const TStringList& lines,
                             std::string_view lineEnd = kCrLf);
// The same for bytes already composed (line ends included).
TWriteResult SaveBytesToFile(const std::string& path, const std::string& bytes);
// Whether the file `path` names (through links) is write-protected.
bool IsWriteProtected(const std::string& path);
// SaveLinesToFile, reporting a failure as "Не могу сохранить комнаты в файл
// <path>: <reason>" (`failureUtf8` the first words). False on failure. The
// file's kept characters (serverkept.h) follow what was written.
bool SaveRecordFile(const std::string& path, const TStringList& lines, std::string_view failureUtf8,
                    std::string_view lineEnd = kCrLf);
// The same, returning what the write came to.
TWriteResult WriteRecordFile(const std::string& path, const TStringList& lines,
                             std::string_view failureUtf8, std::string_view lineEnd = kCrLf);
