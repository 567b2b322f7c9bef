// What the game server makes of the room files we write: a reader that
// follows the server's rules (stricter than ours, which forgives much) over
// our normalized form of a real server's world.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FileLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool IsInteger(const std::string& word) {
    size_t digits = word.starts_with('-') ? 1 : 0;
    return digits < word.size() &&
           word.find_first_not_of("0123456789", digits) == std::string::npos;
}

// A line of `count` numbers or more (the server reads the first ones).
bool Numbers(const std::string& line, size_t count) {
    const auto words = Words(line);
    if (words.size() < count)
        return false;
    for (size_t i = 0; i < count; ++i)
        if (!IsInteger(words[i]))
            return false;
    return true;
}

// The room files of a world as the server reads them, file after file in the
// order of its index: each room "#N", its name and its description (each up
// to the first line holding "~"), one line of zone, flags and sector, then
// only exit ("D"), extra description ("E") and end ("S") blocks; after "S" the
// trigger ("T") and the server's "I" lines. At most 99 rooms a file, numbers
// ascending through the whole index. Lines of "*" and empty lines between
// records are skipped, "$" ends a file. Each problem is one line of `Faults`.
class TServerRoomReader {
public:
    void ReadFile(const fs::path& path) {
        file_ = path.filename().string();
        lines_ = FileLines(path);
        at_ = 0;
        int rooms = 0;
        for (;;) {
            const std::optional<std::string> line = RecordLine();
            if (!line)
                return Fault("no \"$\" at the end");
            if (line->starts_with('$'))
                break;
            if (!line->starts_with('#') || !IsInteger(line->substr(1)))
                return Fault("not a room header: " + *line);
            const int number = std::stoi(line->substr(1));
            if (number <= last_)
                Fault("room #" + std::to_string(number) + " after #" + std::to_string(last_));
            last_ = number;
            ++rooms;
            if (!ReadRoom(number))
                return;
        }
        if (rooms > 99)
            Fault(std::to_string(rooms) + " rooms");
    }

    std::vector<std::string> Faults;
    int Rooms = 0;

private:
    void Fault(const std::string& what) { Faults.push_back(file_ + ": " + what); }

    // The next line that is no comment and not empty (the server's get_line).
    std::optional<std::string> RecordLine() {
        while (at_ < lines_.size() && (lines_[at_].empty() || lines_[at_].starts_with('*')))
            ++at_;
        if (at_ == lines_.size())
            return std::nullopt;
        return lines_[at_++];
    }

    // A "~" text: up to and with the first line holding "~".
    bool Text() {
        while (at_ < lines_.size())
            if (lines_[at_++].find('~') != std::string::npos)
                return true;
        return false;
    }

    bool ReadRoom(int number) {
        const std::string room = "room #" + std::to_string(number) + ": ";
        ++Rooms;
        if (!Text() || !Text()) {
            Fault(room + "text without \"~\"");
            return false;
        }
        const auto header = RecordLine();
        if (!header || !Numbers(*header, 1) || Words(*header).size() < 3 ||
            !IsInteger(Words(*header)[2])) {
            Fault(room + "header " + header.value_or("missing"));
            return false;
        }
        for (;;) {
            const auto line = RecordLine();
            if (!line) {
                Fault(room + "no \"S\"");
                return false;
            }
            if (line->starts_with('S'))
                break;
            if (line->starts_with('D')) {
                const bool texts = Text() && Text();
                const auto exit = RecordLine();
                if (!texts || !exit || !Numbers(*exit, 3)) {
                    Fault(room + "exit " + *line);
                    return false;
                }
            } else if (line->starts_with('E')) {
                if (!Text() || !Text()) {
                    Fault(room + "extra description");
                    return false;
                }
            } else {
                Fault(room + "expecting D, E or S, found: " + *line);
                return false;
            }
        }
        while (at_ < lines_.size() &&
               (lines_[at_].starts_with('T') || lines_[at_].starts_with('I')))
            ++at_;
        return true;
    }

    std::string file_;
    std::vector<std::string> lines_;
    size_t at_ = 0;
    int last_ = -1;
};

// Reads the room files an index lists, from `folder`.
TServerRoomReader ReadListedRooms(const fs::path& index, const fs::path& folder) {
    TServerRoomReader reader;
    for (const std::string& name : FileLines(index)) {
        if (name.starts_with('$'))
            break;
        reader.ReadFile(folder / name);
    }
    return reader;
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

TEST(ServerRules, TheNormalizedRealWorldIsReadByTheServersRules) {
    const fs::path real = fs::path(VELMORA_REALWORLD) / "world";
    if (!fs::is_directory(real / "wld"))
        GTEST_SKIP() << "the real sample is not at " << real;
    const fs::path index = real / "wld" / "index";
    // The reader itself takes the server's own files as the server does.
    const TServerRoomReader original = ReadListedRooms(index, real / "wld");
    EXPECT_EQ(original.Faults, std::vector<std::string>{});
    ASSERT_GT(original.Rooms, 10000);

    const fs::path work =
        fs::temp_directory_path() / ("velmora-serverrules-" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string tool = Quoted(VELMORA_WORLDTOOL);
    ASSERT_EQ(
        std::system(
            (tool + " import " + Quoted(real) + " " + Quoted(work / "ws") + " >/dev/null").c_str()),
        0);
    ASSERT_EQ(std::system((tool + " resave " + Quoted(work / "ws") + " " + Quoted(work / "out") +
                           " --normalize >/dev/null")
                              .c_str()),
              0);
    const TServerRoomReader ours = ReadListedRooms(index, work / "out" / "WLD");
    std::vector<std::string> faults = ours.Faults;
    if (faults.size() > 20)
        faults.resize(20);
    EXPECT_EQ(faults, std::vector<std::string>{}) << ours.Faults.size() << " faults";
    EXPECT_EQ(ours.Rooms, original.Rooms);
    fs::remove_all(work);
}

// The reader refuses what stops the server: a second header line, and a
// file of more than 99 rooms.
TEST(ServerRules, TheReaderStopsWhereTheServerStops) {
    const fs::path dir =
        fs::temp_directory_path() / ("velmora-serverreader-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const auto read = [&dir](const std::string& text) {
        std::ofstream(dir / "1.wld", std::ios::binary) << text;
        TServerRoomReader reader;
        reader.ReadFile(dir / "1.wld");
        return reader.Faults;
    };
    EXPECT_EQ(read("#100\nA~\n~\n1 0 1\nD0\n~\n~\n0 -1 101\nS\nT 5\n$\n"),
              std::vector<std::string>{});
    EXPECT_EQ(read("#100\nA~\n~\n1 d1  0\n0 0 0\nS\n$\n"),
              std::vector<std::string>{"1.wld: room #100: expecting D, E or S, found: 0 0 0"});
    std::string full;
    for (int room = 100; room < 200; ++room)
        full += "#" + std::to_string(room) + "\nA~\n~\n1 0 1\nS\n";
    EXPECT_EQ(read(full + "$\n"), std::vector<std::string>{"1.wld: 100 rooms"});
    fs::remove_all(dir);
}

} // namespace
