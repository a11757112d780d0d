// Dump makes a large table's text on several threads: parts still go out in order, an error in
// one part still leaves the rows before it written, and the output is the same byte for byte
// however the walk is cut.
#include "augurlex-dict/parts_in_order.h"
#include "augurlex-dict/row_formats.h"
#include "jet/create.h"
#include "jet/write_session.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace dict {
namespace {

// Later parts finish first, so the order of finishing is not the order of the output. Every third
// part goes out in two pieces, the first as soon as the parts before it have.
void slowerEarlier(std::size_t i, PartText& part) {
    std::this_thread::sleep_for(std::chrono::microseconds(200 * (7 - i % 7)));
    part.text = std::to_string(i);
    part.rows = 1;
    if (i % 3 == 0)
        part.passOn();
    part.text += ";";
}

TEST(PartsInOrder, GoOutInOrderWhateverOrderTheyAreMadeIn) {
    for (std::size_t threads : {1, 2, 4}) {
        std::string out;
        std::uint64_t rows = 0;
        makePartsInOrder(50, threads, slowerEarlier, [&](std::size_t, PartText& part) {
            out += part.text;
            rows += part.rows;
        });
        std::string expected;
        for (int i = 0; i < 50; ++i)
            expected += std::to_string(i) + ";";
        EXPECT_EQ(out, expected) << threads << " threads";
        EXPECT_EQ(rows, 50u);
    }
}

TEST(PartsInOrder, AFailedPartEndsTheOutputAfterWhatItMade) {
    for (std::size_t threads : {1, 3}) {
        std::vector<std::string> taken;
        auto make = [](std::size_t i, PartText& part) {
            part.text = "part " + std::to_string(i);
            if (i == 5)
                throw std::runtime_error("damaged");
        };
        try {
            makePartsInOrder(40, threads, make,
                             [&](std::size_t, PartText& part) { taken.push_back(part.text); });
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "damaged");
        }
        ASSERT_EQ(taken.size(), 6u) << threads << " threads";
        EXPECT_EQ(taken.back(), "part 5");
    }
}

// A dictionary file of many pages whose texts need quotes, hold nulls and empty strings.
std::filesystem::path largeDictionary(const std::filesystem::path& dir) {
    const std::vector<jet::TableSpec> tables{{"data",
                                              {{"names", jet::ColumnType::Text},
                                               {"Key", jet::ColumnType::Text},
                                               {"Link", jet::ColumnType::Memo},
                                               {"Weight", jet::ColumnType::Long}}}};
    const auto path = dir / "large.mdb";
    jet::createDatabase(path, tables);
    jet::WriteSession session = jet::WriteSession::open(path);
    const char* keys[] = {"plain", "a,b", "say \"hi\"", "two\r\nlines", "", "Ärger ☽"};
    for (int i = 0; i < 6000; ++i) {
        jet::RowValues row{{"Key", std::string(keys[i % 6]) + std::to_string(i)},
                           {"Weight", std::int64_t{i}}};
        if (i % 5)
            row.push_back({"Link", i % 7 ? "https://example.org/" + std::to_string(i)
                                         : std::string(3000, 'x')});
        if (i % 11 == 0)
            row.push_back({"names", std::string()});
        session.appendRow("data", row);
    }
    session.commit();
    return path;
}

TEST(RowWalk, TheOutputIsTheSameHoweverTheWalkIsCut) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("augurlex-rowwalk-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto path = largeDictionary(dir);
    const jet::Database db = jet::Database::open(path);
    const jet::Table table = db.table("data");
    for (RowFormat format : {RowFormat::Csv, RowFormat::JsonLines}) {
        auto dump = [&](RowWalk walk) {
            std::string text;
            OutputWriter out(text);
            EXPECT_EQ(writeRows(table, format, out, walk), 6000u);
            return text;
        };
        const std::string whole = dump(RowWalk{1000000, 1});
        EXPECT_EQ(dump(RowWalk{1, 3}), whole);
        EXPECT_EQ(dump(RowWalk{5, 2}), whole);
        const std::string quoted =
            format == RowFormat::Csv ? R"("say ""hi""2")" : R"("say \"hi\"2")";
        EXPECT_NE(whole.find(quoted), std::string::npos);
    }
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace dict
