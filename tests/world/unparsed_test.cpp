// Records a reader could not parse, for each of the five record kinds: kept
// as their text where they stood, written back and exported byte for byte,
// named by the checks with the line where the reading failed, and never
// taken for the record read with the same number.

#include "checks.h"
#include "publish.h"
#include "testsupport.h"
#include "unparsed.h"
#include "unparsedfiles.h"

namespace {

using unparsedfiles::TBrokenFile;
using unparsedfiles::TKind;

class Unparsed : public WorldTest, public ::testing::WithParamInterface<TKind> {
protected:
    // The broken file of the kind written into the test folder and read.
    TBrokenFile ReadBroken() {
        const TKind& kind = GetParam();
        TBrokenFile file = unparsedfiles::BreakFile(kind);
        WriteBytes(Path(), Crlf(file.Lines));
        EXPECT_FALSE(kind.Load(World, Path())); // not read whole
        return file;
    }
    std::string Path() const { return PathOf(std::string("12") + GetParam().Extension); }
    static std::string LineSuffix(size_t index) {
        return "(Ошибка в строке " + std::to_string(index + 1) + ")";
    }
};

TEST_P(Unparsed, KeptInPlaceWrittenBackAndNamedWithItsLine) {
    const TKind& kind = GetParam();
    const TBrokenFile file = ReadBroken();
    ASSERT_NE(file.MiddleBad, 0u);
    ASSERT_NE(file.EndBad, 0u);
    ASSERT_EQ(Reporter.Messages.size(), 2u);
    EXPECT_TRUE(Reporter.Messages[0].ends_with(LineSuffix(file.MiddleBad))) << Reporter.Messages[0];
    EXPECT_TRUE(Reporter.Messages[1].ends_with(LineSuffix(file.EndBad))) << Reporter.Messages[1];

    // The records around them are read; the copy of 1200 that failed leaves
    // the 1200 read before it as it was.
    const TWorldView world = World.View();
    EXPECT_FALSE(RecordExists(world, kind.Type, 1201));
    ASSERT_TRUE(RecordExists(world, kind.Type, 1200));
    ASSERT_TRUE(RecordExists(world, kind.Type, 1202));
    EXPECT_EQ(kind.Mark(World, 1200), unparsedfiles::MarkOf(kind, 1200));
    const auto& kept = UnparsedRecords(world, kind.Type, 12);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(UnparsedNumber(kept[0]), 1201);
    EXPECT_EQ(UnparsedNumber(kept[1]), 1200);
    EXPECT_EQ(kept[1].Lines, TStringList(file.Lines.begin() + static_cast<long>(file.EndStart),
                                         file.Lines.begin() + static_cast<long>(file.TailStart)));
    EXPECT_EQ(Cp1251ToUtf8(UnparsedReason(kept[0])), "ошибка в строке " +
                                                         std::to_string(file.MiddleBad + 1) +
                                                         ": «" + file.Lines[file.MiddleBad] + "»");
    EXPECT_EQ(Cp1251ToUtf8(UnparsedEntryText(kept[1])), "1200  (не прочитана)");

    // Composed, saved and exported, the file is what was read, byte for byte.
    EXPECT_EQ(kind.Compose(World, 12), file.Lines);
    const std::string bytes = Crlf(file.Lines);
    const std::string saved = PathOf("saved" + std::string(kind.Extension));
    ASSERT_TRUE(kind.Save(World, saved, 12));
    EXPECT_EQ(ReadBytes(saved), bytes);
    TZone zone;
    zone.ZoneNumber = 12;
    const std::string server = PathOf("server");
    WritePublishPlan(PlanPublish(World, {&zone}, {}, FindServerFolders(server),
                                 {{TServerCodePage::Cp1251, TServerLineEnd::CrLf}}));
    const std::string folder = std::string(kind.Extension).substr(1);
    EXPECT_EQ(ReadBytes(server + "/" + folder + "/12" + kind.Extension), bytes);
}

TEST_P(Unparsed, EachIsAnErrorOfTheChecksFoundByItsPlaceNotItsNumber) {
    const TKind& kind = GetParam();
    const TBrokenFile file = ReadBroken();
    const TWorldView world = World.View();
    const auto unparsed = [](const std::vector<TProblem>& problems) {
        std::vector<TProblem> out;
        std::copy_if(problems.begin(), problems.end(), std::back_inserter(out),
                     [](const TProblem& p) { return p.Kind == TProblemKind::UnparsedRecord; });
        return out;
    };
    const std::vector<TProblem> found = unparsed(CheckWorld(world, 12));
    ASSERT_EQ(found.size(), 2u);
    // By number: the copy of 1200 (the second kept) before 1201.
    EXPECT_EQ(std::make_pair(found[0].VNum, found[0].Unparsed), std::make_pair(1200, 1));
    EXPECT_EQ(std::make_pair(found[1].VNum, found[1].Unparsed), std::make_pair(1201, 0));
    const std::string caption = Cp1251ToUtf8(RecordTypeCaption(kind.Type));
    for (const TProblem& problem : found) {
        EXPECT_EQ(problem.Severity, TSeverity::Error);
        EXPECT_EQ(problem.Record, kind.Type);
        EXPECT_EQ(problem.Zone, 12);
        EXPECT_EQ(Cp1251ToUtf8(ProblemCaption(world, problem)),
                  caption + " " + std::to_string(problem.VNum) + " (не прочитана)");
    }
    EXPECT_EQ(Cp1251ToUtf8(found[1].Message),
              "Запись не прочитана (ошибка в строке " + std::to_string(file.MiddleBad + 1) + ": «" +
                  file.Lines[file.MiddleBad] + "»), её текст записывается как был");
    // The record read with the copy's number keeps its own caption.
    EXPECT_EQ(Cp1251ToUtf8(RecordCaption(world, kind.Type, 1200)).find("не прочитана"),
              std::string::npos);
    EXPECT_EQ(unparsed(CheckWorld(world)), found);
}

// A file that ends inside its last record (no "$" after it) keeps that
// record to its end.
TEST_P(Unparsed, AFileCutInsideItsLastRecordKeepsItsText) {
    const TKind& kind = GetParam();
    TBrokenFile file = unparsedfiles::BreakFile(kind);
    const TStringList cut(file.Lines.begin(),
                          file.Lines.begin() + static_cast<long>(file.MiddleBad) + 1);
    WriteBytes(Path(), Crlf(cut));
    EXPECT_FALSE(kind.Load(World, Path()));
    const auto& kept = UnparsedRecords(World.View(), kind.Type, 12);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].Lines,
              TStringList(cut.begin() + static_cast<long>(file.MiddleStart), cut.end()));
    EXPECT_EQ(kind.Compose(World, 12), cut);
}

INSTANTIATE_TEST_SUITE_P(Kinds, Unparsed, ::testing::ValuesIn(unparsedfiles::Kinds()),
                         [](const auto& p) { return std::string(p.param.Name); });

// A number a record not read holds is no free number for a new record: the
// file would hold it twice.
TEST_F(WorldTest, TheNumberOfARecordNotReadIsNotFree) {
    const TBrokenFile file = unparsedfiles::BreakFile(unparsedfiles::Kinds()[0]);
    WriteBytes(Dir / "12.wld", Crlf(file.Lines));
    EXPECT_FALSE(World.Rooms.LoadFromFile(PathOf("12.wld")));
    EXPECT_TRUE(World.Rooms.IsFreeVNum(1201));
    EXPECT_FALSE(IsFreeBesideUnparsed(World.Rooms, 1201));
    EXPECT_TRUE(IsFreeBesideUnparsed(World.Rooms, 1203));
    EXPECT_EQ(FirstFreeSlotBesideUnparsed(World.Rooms, 12), 3);
}

// A header without a number names the record by the header itself.
TEST_F(WorldTest, ARecordWithoutANumberIsNamedByItsHeader) {
    const std::vector<std::string> lines = {"#12x", "Hall~", "~", "12 0 1", "S", "$"};
    WriteBytes(Dir / "12.wld", Crlf(lines));
    EXPECT_FALSE(World.Rooms.LoadFromFile(PathOf("12.wld")));
    const TWorldView world = World.View();
    const std::vector<TProblem> problems = CheckWorld(world, 12);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].Kind, TProblemKind::UnparsedRecord);
    EXPECT_EQ(problems[0].Zone, 12);
    EXPECT_EQ(ProblemRecordName(world, problems[0]), "#12x");
    EXPECT_EQ(Cp1251ToUtf8(UnparsedReason(UnparsedRecords(world, TRecordType::Room, 12)[0])),
              "ошибка в строке 1: «#12x»");
    EXPECT_EQ(ZoneFileLines(World.Rooms, 12), lines);
}

// A record whose reading failed past its lines says so instead of quoting.
TEST_F(WorldTest, AFailurePastTheRecordsLinesIsSaid) {
    const std::vector<std::string> lines = {"#1201", "Hall~", "~"};
    WriteBytes(Dir / "12.wld", Crlf(lines));
    EXPECT_FALSE(World.Rooms.LoadFromFile(PathOf("12.wld")));
    const auto& kept = UnparsedRecords(World.View(), TRecordType::Room, 12);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(Cp1251ToUtf8(UnparsedReason(kept[0])),
              "ошибка в строке 4: после последней строки записи");
    EXPECT_EQ(ZoneFileLines(World.Rooms, 12), lines);
}

} // namespace
