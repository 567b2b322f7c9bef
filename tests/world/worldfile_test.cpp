#include "testsupport.h"

#include <cctype>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
std::vector<std::string> AllLines(std::string bytes) {
    std::vector<std::string> lines;
    LoadWorldBytes("комнаты", "x", std::move(bytes), [&](TWorldReader& reader) {
        while (!reader.Eof())
            lines.push_back(reader.ReadLine());
    });
    return lines;
}
} // namespace

TEST(WorldReader, LineEndsAndCtrlZ) {
    using L = std::vector<std::string>;
    EXPECT_EQ(AllLines("a\r\nb\r\n"), (L{"a", "b"}));
    EXPECT_EQ(AllLines("a\nb"), (L{"a", "b"}));
    EXPECT_EQ(AllLines("a\r\n\r\nb"), (L{"a", "", "b"}));
    EXPECT_EQ(AllLines("a\rb\n\nc"), (L{"a", "b", "", "c"}));
    EXPECT_EQ(AllLines("a\r\nb\x1A"
                       "c\r\n"),
              (L{"a", "b"}));
    EXPECT_EQ(AllLines(""), L{});
}

namespace {
std::string MainEndOf(std::string bytes) {
    return std::string(TWorldReader::FromBytes(std::move(bytes)).MainLineEnd());
}
} // namespace

TEST(WorldReaderLineEnds, CrsBeforeAnLfEndOneLineALoneCrEndsItsOwn) {
    using L = std::vector<std::string>;
    EXPECT_EQ(AllLines("a|\r\r\r\r\nb\r\r\n"), (L{"a|", "b"}));
    // A CR that no LF follows ends a line by itself, and so does each of a run.
    EXPECT_EQ(AllLines("a\rb\r\r\nc\r\rd"), (L{"a", "b", "c", "", "d"}));
    EXPECT_EQ(SplitTextLines("x\r\r\ny\n"), (L{"x", "y"}));
}

TEST(WorldReaderLineEnds, TheMainEndIsTheOneMostLinesUse) {
    EXPECT_EQ(MainEndOf("a\nb\nc\r\n"), "\n");
    EXPECT_EQ(MainEndOf("a\r\nb\r\nc\n"), "\r\n");
    EXPECT_EQ(MainEndOf("a\rb\rc\n"), "\r");
    // Stray CRs count for no kind; a tie and a file without ends take ours.
    EXPECT_EQ(MainEndOf("a\r\r\nb\r\r\nc\n"), "\n");
    EXPECT_EQ(MainEndOf("a\nb\r\n"), "\r\n");
    EXPECT_EQ(MainEndOf("a"), "\r\n");
}

TEST(WorldReaderLineEnds, KeptLinesCarryOnlyTheEndsThatDifferFromTheMainOne) {
    TWorldReader reader = TWorldReader::FromBytes("a\nb\r\nc\r\r\nd\re\n");
    EXPECT_EQ(reader.LinesBetween(0, reader.TextEnd()),
              (TStringList{"a", "b\r\n", "c\r\r\n", "d\r", "e"}));
    EXPECT_EQ(FileBytes({"a", "b\r\n", "c\r\r\n", "d\r", "e", "f\r\ng"}, "\n"),
              "a\nb\r\nc\r\r\nd\re\nf\ng\n");
    EXPECT_EQ(LineText("c\r\r\n"), "c");
    EXPECT_EQ(CarriedLineEnd("c\r\r\n"), "\r\r\n");
}

TEST(WorldReader, LoadErrorSuffixTexts) {
    EXPECT_EQ(Cp1251ToUtf8(LoadErrorSuffix(-1)), "\r\n(Не смог открыть файл)");
    EXPECT_EQ(Cp1251ToUtf8(LoadErrorSuffix(-2)), "\r\n(Не смог закрыть файл)");
    EXPECT_EQ(Cp1251ToUtf8(LoadErrorSuffix(12)), "\r\n(Ошибка в строке 12)");
}

struct RangeCase {
    const char* word;
    int64_t low, high;
    bool ok;
};
// ctest lists the word, not the bytes of the case.
void PrintTo(const RangeCase& c, std::ostream* out) {
    *out << '"' << c.word << '"';
}

class NumberConversion : public ::testing::TestWithParam<RangeCase> {};

TEST_P(NumberConversion, IsStrictAndRanged) {
    const auto& c = GetParam();
    if (c.ok)
        EXPECT_NO_THROW(ToInteger(c.word, c.low, c.high));
    else
        EXPECT_THROW(ToInteger(c.word, c.low, c.high), TLoadFailure);
}

INSTANTIATE_TEST_SUITE_P(
    Words, NumberConversion,
    ::testing::Values(RangeCase{"255", 0, 255, true}, RangeCase{"256", 0, 255, false},
                      RangeCase{"-1", 0, 255, false}, RangeCase{"-128", -128, 127, true},
                      RangeCase{"128", -128, 127, false}, RangeCase{"65535", 0, 65535, true},
                      RangeCase{"-32769", -32768, 32767, false},
                      RangeCase{"2147483647", INT32_MIN, INT32_MAX, true},
                      RangeCase{"2147483648", INT32_MIN, INT32_MAX, false},
                      RangeCase{"-2147483648", INT32_MIN, INT32_MAX, true},
                      RangeCase{"99999999999999999999999", INT32_MIN, INT32_MAX, false},
                      RangeCase{"", 0, 255, false}, RangeCase{"-", 0, 255, false},
                      RangeCase{"1a", 0, 255, false}, RangeCase{"0x10", 0, 255, false},
                      RangeCase{" 1", 0, 255, false}, RangeCase{"+7", 0, 255, true}),
    [](const ::testing::TestParamInfo<RangeCase>& p) {
        // "-32769 in -32768..32767" as a test name: letters, digits and '_' only.
        std::string name = std::to_string(p.index) + "_";
        for (const char c : std::string(p.param.word) + (p.param.ok ? "_ok" : "_refused"))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : c == '-' ? 'm' : '_';
        return name;
    });

TEST(Dice, ParsesAndRejects) {
    EXPECT_EQ(ParseDice("3d8+10"), (TDice{3, 8, 10}));
    EXPECT_EQ(ParseDice("1d6+-2"), (TDice{1, 6, -2}));
    EXPECT_EQ(DiceText(TDice{1, 6, -2}), "1d6+-2");
    // Each part is as wide as the server reads it.
    EXPECT_EQ(ParseDice("1000d99999+200000"), (TDice{1000, 99999, 200000}));
    for (const char* bad : {"3d8", "d8+1", "3x8+1", "1d1+4000000000", "", "3d8+"})
        EXPECT_THROW(ParseDice(bad), TLoadFailure) << bad;
}

TEST(TildeText, ReadsUpToTheClosingLineEitherForm) {
    TTextLines text;
    auto reader = TWorldReader::FromBytes("one\r\n\r\nabc~\r\nnext\r\n");
    ReadTildeText(reader, text);
    EXPECT_EQ(text, (TStringList{"one", "", "abc"}));
    EXPECT_EQ(reader.ReadLine(), "next");

    text.clear();
    auto alone = TWorldReader::FromBytes("one\r\n~\r\n");
    ReadTildeText(alone, text);
    EXPECT_EQ(text, (TStringList{"one"}));

    // Every line end the reader knows splits the text where it split the file.
    auto mixed = TWorldReader::FromBytes("a\rb\r\r\nc\n\r\n\rd~\n");
    ReadTildeText(mixed, text);
    const TStringList lines{"a", "b", "c", "", "", "d"};
    EXPECT_EQ(text, lines);
    EXPECT_EQ(text.size(), lines.size());
    EXPECT_EQ(text[1], "b");
    EXPECT_EQ(text.Lines(), lines);
    // Kept lines carry the ends that are not the file's main one, as copied ones do.
    const size_t end = mixed.TextEnd();
    EXPECT_EQ(mixed.KeptBetween(0, end).Lines(), mixed.LinesBetween(0, end));
    // Changed, it holds lines of its own; the file's text stays as read.
    const TTextLines read = text;
    text.Edit()[0] = "z";
    EXPECT_EQ(read[0], "a");
    EXPECT_EQ(text[0], "z");

    TStringList written;
    WriteTildeText(written, {});
    EXPECT_EQ(written, (TStringList{"~"}));

    text.clear();
    auto cut = TWorldReader::FromBytes("one\r\ntwo");
    EXPECT_THROW(ReadTildeText(cut, text), TEndOfFileStop);
    EXPECT_EQ(text, (TStringList{"one", "two"}));
}

// A long name or one-line text is a part of its file's text: it holds the
// text, so it outlives the reader and every record read from the file, and
// a copy reads the same whatever becomes of the original.
TEST(TildeText, OneLineFieldsHoldTheirFilesText) {
    TCompactString name, desc, joined;
    {
        auto reader = TWorldReader::FromBytes(
            "a name longer than fifteen~\nshort~\nan exit seen from afar\n~\nline\nline two~\n");
        name = reader.ReadLineWithoutLast();
        EXPECT_EQ(reader.ReadLineWithoutLast(), "short");
        desc = ReadTildeLine(reader);
        joined = ReadTildeLine(reader);
    }
    EXPECT_EQ(name, "a name longer than fifteen");
    EXPECT_EQ(desc, "an exit seen from afar");
    EXPECT_EQ(joined, "line\r\nline two");
    const TCompactString copy = name;
    name = name.View().substr(2);
    EXPECT_EQ(name, "name longer than fifteen");
    EXPECT_EQ(copy, "a name longer than fifteen");
}

class ReadContext : public WorldTest {
protected:
    // A read of "outer" that fails at its line 3, after a read of "inner"
    // (with failures shown) has failed at its line 1 in between.
    static bool ReadFailingAroundAnInnerRead(TReadContext& context) {
        return LoadWorldBytes(
            "комнаты", "outer", Crlf({"a", "b", "x"}),
            [](TWorldReader& outer) {
                outer.ReadLine();
                outer.ReadLine();
                LoadWorldBytes("объекты", "inner", Crlf({"y"}),
                               [](TWorldReader& inner) { ToInt32(inner.ReadLine()); });
                ToInt32(outer.ReadLine());
            },
            context);
    }
};

TEST_F(ReadContext, EachReadKeepsItsOwnLine) {
    TReadContext shown;
    EXPECT_FALSE(ReadFailingAroundAnInnerRead(shown));
    EXPECT_EQ(shown.FailedLine, 3);
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LineError("объекты", "inner", 1),
                                                           LineError("комнаты", "outer", 3)}));
}

TEST_F(ReadContext, AQuietReadShowsNothingOfItsOwnAndKeepsWhereItFailed) {
    TReadContext quiet{.Quiet = true};
    EXPECT_FALSE(ReadFailingAroundAnInnerRead(quiet));
    EXPECT_EQ(quiet.FailedLine, 3);
    // The read inside it is no quiet one.
    EXPECT_EQ(Reporter.Messages, (std::vector<std::string>{LineError("объекты", "inner", 1)}));

    TReadContext missing{.Quiet = true};
    EXPECT_FALSE(LoadWorldFile(
        "комнаты", PathOf("missing.wld"), [](TWorldReader&) {}, missing));
    EXPECT_EQ(missing.FailedLine, -1);

    // Two records kept as their text: the first one's line.
    TReadContext kept{.Quiet = true};
    EXPECT_FALSE(LoadWorldBytes(
        "триггеры", "12.trg",
        Crlf({"#1201", "b~", "zero 0 0", "~", "~", "#1202", "c~", "zero 0 0", "~", "~"}),
        [this](TWorldReader& reader) { World.Triggers.ReadTriggers(reader); }, kept));
    EXPECT_EQ(kept.FailedLine, 3);
    EXPECT_EQ(Reporter.Messages.size(), 1u);
}

class SafeSave : public WorldTest {};

TEST_F(SafeSave, WritesCrLfAndReplacesWhole) {
    const auto path = PathOf("f.txt");
    WriteBytes(path, "old contents that are longer\r\n");
    ASSERT_TRUE(SaveLinesToFile(path, {"a", "", "b"}));
    EXPECT_EQ(ReadBytes(path), "a\r\n\r\nb\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}), 1); // no temporary left
}

TEST_F(SafeSave, WritesThroughLinksAndKeepsThePermissions) {
    // The server's folder holds the real file; the workspace links to it,
    // through a second link and a relative one.
    namespace fs = std::filesystem;
    fs::create_directories(Dir / "server");
    const auto real = Dir / "server" / "12.wld";
    WriteBytes(real.string(), "old\r\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("server/12.wld", Dir / "inner");
    fs::create_symlink(Dir / "inner", Dir / "12.wld");
    ASSERT_TRUE(SaveLinesToFile(PathOf("12.wld"), {"new"}));
    EXPECT_TRUE(fs::is_symlink(Dir / "12.wld"));
    EXPECT_TRUE(fs::is_symlink(Dir / "inner"));
    EXPECT_EQ(ReadBytes(real.string()), "new\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // The temporary file was made beside the target, and is gone.
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir / "server"), {}), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), {}), 3);

    // A dangling link gets the file it points to.
    fs::create_symlink("server/13.wld", Dir / "13.wld");
    ASSERT_TRUE(SaveLinesToFile(PathOf("13.wld"), {"made"}));
    EXPECT_TRUE(fs::is_symlink(Dir / "13.wld"));
    EXPECT_EQ(ReadBytes((Dir / "server" / "13.wld").string()), "made\r\n");
}

// In a workspace, a link (of the file or of a folder) leading out of it is
// refused, named, and its target kept; a link inside it is followed, and a
// file outside the workspace is saved as ever.
TEST_F(SafeSave, LinksOutOfTheWorkspaceAreRefused) {
    namespace fs = std::filesystem;
    const fs::path ws = Dir / "ws";
    const fs::path outside = Dir / "outside";
    WriteBytes(outside / "12.wld", "theirs\r\n");
    WriteBytes(ws / "WLD/real/13.wld", "old\r\n");
    fs::create_symlink(outside / "12.wld", ws / "WLD/12.wld");
    fs::create_symlink("real/13.wld", ws / "WLD/13.wld");
    fs::create_symlink(outside, ws / "OBJ");
    KeepSavesWithin(ws.string() + "/");

    const TWriteResult file = SaveLinesToFile((ws / "WLD/12.wld").string(), {"mine"});
    EXPECT_FALSE(file);
    EXPECT_EQ(WriteFailureReason((ws / "WLD/12.wld").string(), file),
              W("ссылка ведёт за пределы рабочей папки, в ") + (outside / "12.wld").string());
    EXPECT_FALSE(SaveLinesToFile((ws / "OBJ/12.obj").string(), {"mine"}));
    EXPECT_TRUE(SaveLinesToFile((ws / "WLD/13.wld").string(), {"new"}));
    EXPECT_TRUE(SaveLinesToFile((Dir / "elsewhere.txt").string(), {"free"}));
    KeepSavesWithin({});

    EXPECT_EQ(ReadBytes(outside / "12.wld"), "theirs\r\n");
    EXPECT_FALSE(fs::exists(outside / "12.obj"));
    EXPECT_EQ(ReadBytes(ws / "WLD/real/13.wld"), "new\r\n");
    EXPECT_EQ(ReadBytes(Dir / "elsewhere.txt"), "free\r\n");
}

TEST_F(SafeSave, FailureLeavesTheOldFileAndReports) {
    // No file can be opened under a descriptor limit of 0, even by root (who
    // writes into read-only folders), so the temporary file cannot be made.
    const auto path = Dir / "f.txt";
    WriteBytes(path, "old\r\n");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit none = saved;
    none.rlim_cur = 0;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &none), 0);
    const TWriteResult written = SaveLinesToFile(path.string(), {"new"});
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(written.Error, EMFILE);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    // A folder that is a file cannot hold the temporary file either, for root too.
    EXPECT_FALSE(SaveRecordFile((path / "x").string(), {"new"}, "Не могу сохранить комнаты"));
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{
                  SaveError("комнаты", (path / "x").string(), "часть пути не является папкой")}));
}

// Someone made the file write-protected on purpose: a save leaves it as it
// is, unless the user agreed to write over it (the new file keeps the mode).
TEST_F(SafeSave, WriteProtectedFileIsLeftAloneUnlessAllowed) {
    namespace fs = std::filesystem;
    const auto path = PathOf("12.wld");
    WriteBytes(path, "old\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    fs::create_symlink("12.wld", Dir / "link.wld");
    EXPECT_TRUE(IsWriteProtected(PathOf("link.wld")));

    EXPECT_FALSE(SaveRecordFile(path, {"new"}, "Не могу сохранить комнаты"));
    const TWriteResult throughLink = SaveLinesToFile(PathOf("link.wld"), {"new"});
    EXPECT_TRUE(throughLink.Protected);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{SaveError("комнаты", path, "защищён от записи")}));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), {}), 2); // no temporary made

    ReplaceWriteProtected = true;
    const TWriteResult allowed = SaveLinesToFile(PathOf("link.wld"), {"new"});
    ReplaceWriteProtected = false;
    EXPECT_TRUE(allowed);
    EXPECT_EQ(ReadBytes(path), "new\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(fs::is_symlink(Dir / "link.wld"));
}

TEST_F(SafeSave, TargetThatIsAFolderFailsAndStays) {
    std::filesystem::create_directories(Dir / "sub");
    EXPECT_FALSE(SaveRecordFile(PathOf("sub"), {"x"}, "Не могу сохранить зону"));
    EXPECT_TRUE(std::filesystem::is_directory(Dir / "sub"));
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{SaveError("зону", PathOf("sub"), "на этом месте папка")}));
}

TEST_F(SafeSave, FullDiskLeavesTheOldFileWhole) {
    // A file size limit makes writes fail the way a full disk does, even for root.
    const auto path = PathOf("12.wld");
    WriteBytes(path, "old\r\n");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok =
        SaveRecordFile(path, TStringList(100, std::string(50, 'x')), "Не могу сохранить комнаты");
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(Reporter.Messages,
              (std::vector<std::string>{SaveError("комнаты", path, "файл слишком велик")}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir), {}),
              1); // the temporary is gone
}
