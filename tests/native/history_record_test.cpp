#include "output/history_record.h"

#include <gtest/gtest.h>

#include <string>

using namespace output::history;
using output::markup::Kind;
using output::markup::Mark;

namespace {

Record Sample() {
    Record r;
    r.source = Source::Region;
    r.time = Stamp{2026, 12, 8, 14, 3, 15};
    r.width = 1920;
    r.height = 1080;
    r.doc.crop = {10, 20, 1900, 1000};
    for (int k = 0; k <= int(Kind::Pixelate); ++k) {
        Mark m;
        m.kind = Kind(k);
        m.color = 0x00C0FF - k;
        m.width = 1 + k;
        m.points = {{-5, 7}, {300 + k, 400}};
        if (m.kind == Kind::Text) {
            m.text = L"Hi 你好 %;,\nsecond line";
            m.wrap = 240;
        }
        if (m.kind == Kind::Step) m.number = 12;
        r.doc.marks.push_back(m);
    }
    return r;
}

const std::string kValid =
    "fotolark-history 1\n"
    "picture 100 50\n"
    "crop 0 0 100 50\n"
    "mark rectangle ff0000 3 0 - 1,2 30,40\n";

}  // namespace

TEST(HistoryRecord, EveryMarkComesBackAsWritten) {
    const Record r = Sample();
    const auto back = ReadRecord(WriteRecord(r));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->source, Source::Region);
    EXPECT_EQ(back->time.minute, 3);
    EXPECT_EQ(back->width, 1920);
    EXPECT_TRUE(back->doc.crop == r.doc.crop);
    ASSERT_EQ(back->doc.marks.size(), r.doc.marks.size());
    for (size_t i = 0; i < r.doc.marks.size(); ++i) {
        const Mark &a = r.doc.marks[i], &b = back->doc.marks[i];
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_EQ(a.color, b.color) << i;
        EXPECT_EQ(a.width, b.width) << i;
        EXPECT_EQ(a.number, b.number) << i;
        EXPECT_EQ(a.text, b.text) << i;
        EXPECT_EQ(a.wrap, b.wrap) << i;
        EXPECT_TRUE(a.points == b.points) << i;
    }
    EXPECT_EQ(RecentItemText(*back, L"自由捕获"), L"14:03:15  自由捕获  1920x1080");
}

TEST(HistoryRecord, LinesOfALaterVersionAreSkippedAndTheRestRead) {
    const auto r = ReadRecord(
        "fotolark-history 7\r\n"
        "owner someone\r\n"
        "source hologram\r\n"
        "picture 100 50\r\n"
        "mark balloon ff0000 3 0 - 1,2\r\n"
        "mark line 00ff00 2 0 - 1,2 3,4\r\n");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->source, Source::Capture);
    ASSERT_EQ(r->doc.marks.size(), 1u);
    EXPECT_EQ(r->doc.marks[0].kind, Kind::Line);
    EXPECT_TRUE(r->doc.crop == (output::markup::Box{0, 0, 100, 50}));
}

// One value out of range anywhere and the file is not used at all.
TEST(HistoryRecord, AnyValueOutOfRangeIgnoresTheWholeFile) {
    ASSERT_TRUE(ReadRecord(kValid));
    const std::pair<std::string, std::string> damage[] = {
        {"fotolark-history 1", "fotolark-history 0"},
        {"fotolark-history 1", "photos 1"},
        {"picture 100 50", "picture 0 50"},
        {"picture 100 50", "picture 30001 50"},
        {"picture 100 50", "picture 30000 30000"},  // past the pixels a picture may have
        {"picture 100 50", "picture 100 5x"},
        {"picture 100 50\n", ""},
        {"crop 0 0 100 50", "crop 0 0 101 50"},
        {"crop 0 0 100 50", "crop 10 0 10 50"},
        {"crop 0 0 100 50", "crop -1 0 100 50"},
        {"ff0000 3", "ff00000 3"},
        {"ff0000 3", "-fffff 3"},
        {"ff0000 3", "ff0000 21"},
        {"ff0000 3", "ff0000 0"},
        {"3 0 -", "3 -1 -"},
        {"3 0 -", "3 0 0007"},  // a control character
        {"3 0 -", "3 0 004"},
        {"1,2 30,40", "1,2 30;40"},
        {"1,2 30,40", "1,2 60001,40"},
        {" 1,2 30,40", ""},
    };
    for (const auto& [from, to] : damage) {
        std::string bytes = kValid;
        bytes.replace(bytes.find(from), from.size(), to);
        EXPECT_FALSE(ReadRecord(bytes)) << bytes;
    }
    EXPECT_FALSE(ReadRecord(kValid + std::string(kMaxRecordBytes, ' ')));
}

// Names in a note become paths: nothing outside the folder is ever named.
TEST(HistoryRecord, ASessionNoteNamesOnlyEntriesAndReportsOfTheFolder) {
    const Session s{L"20261208-140315-001", true, L"crash-20261208-140320.dmp"};
    const auto back = ReadSession(WriteSession(s));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->current, s.current);
    EXPECT_TRUE(back->unsaved);
    EXPECT_EQ(back->dump, s.dump);
    for (const char* bad : {"current ..\\..\\x", "current C:\\x", "dump crash-1.dmp.exe",
                            "dump ..\\crash-1.dmp", "unsaved 2"})
        EXPECT_FALSE(ReadSession(std::string("fotolark-session 1\n") + bad + "\n")) << bad;
    EXPECT_FALSE(ReadSession("fotolark-history 1\n"));
}
