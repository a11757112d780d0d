// Enforced relationships on append: in both Access-made files, Table1.otherfk1 must name a row
// of Table2 and Table1.otherfk2 a row of Table3. A row whose related row is missing is refused
// naming the relationship and leaves the file as it was; a row whose related row exists, one
// with a null foreign key, and one whose related row was appended in the same session are
// taken, and the file checks clean.
#include "index_support.h"
#include "jet/check.h"
#include "jet/write_session.h"

#include <gtest/gtest.h>

namespace jet::test {
namespace {

class RelationshipFile : public ::testing::TestWithParam<std::string> {
protected:
    std::vector<std::uint8_t> bytes() const { return readBytes(path_); }

    ScratchDir dir_;
    const std::filesystem::path path_ = dir_.copy(GetParam());
};

RowValues childRow(std::int64_t id, Value toTable2, Value toTable3) {
    return {{"id", Value(id)},
            {"otherfk1", std::move(toTable2)},
            {"otherfk2", std::move(toTable3)},
            {"data", Value(std::string("new"))}};
}

TEST_P(RelationshipFile, AMissingRelatedRowIsRefusedByNameChangingNothing) {
    const auto before = bytes();
    WriteSession session = WriteSession::open(path_);
    const std::vector<std::pair<RowValues, std::string>> broken = {
        {childRow(20, Value(std::int64_t{7}), Value(std::int64_t{10})), "Table2Table1"},
        {childRow(21, Value(std::int64_t{0}), Value(std::int64_t{99})), "Table3Table1"},
    };
    for (const auto& [row, relationship] : broken) {
        const std::string message =
            errorOf(ErrorKind::Invalid, [&] { session.appendRow("Table1", row); });
        EXPECT_TRUE(mentions(message, "relationship \"" + relationship + "\"")) << message;
    }
    EXPECT_EQ(session.appendedRows(), 0u);
    session.commit();
    EXPECT_EQ(bytes(), before);
}

TEST_P(RelationshipFile, PresentAndNullKeysAreTakenAndTheFileChecksClean) {
    {
        WriteSession session = WriteSession::open(path_);
        session.appendRow("Table1", childRow(20, Value(std::int64_t{2}), Value(std::int64_t{12})));
        session.appendRow("Table1", childRow(21, Value(), Value(std::int64_t{13})));
        session.appendRow("Table1", childRow(22, Value(), Value()));
        // The "one" side takes rows freely, and a row appended to it is seen at once.
        session.appendRow("Table2", {{"id", Value(std::int64_t{5})}, {"data", Value()}});
        session.appendRow("Table1", childRow(23, Value(std::int64_t{5}), Value(std::int64_t{10})));
        session.commit();
    }
    EXPECT_EQ(checkDatabase(path_), std::vector<std::string>{});
    const Database db = Database::open(path_);
    EXPECT_EQ(db.table("Table1").storedRowCount(), 8u);
    EXPECT_EQ(db.table("Table2").storedRowCount(), 4u);
}

INSTANTIATE_TEST_SUITE_P(AccessMade, RelationshipFile,
                         ::testing::Values("jackcess__indexTestV2000.mdb",
                                           "jackcess__indexTestV1997.mdb"),
                         [](const auto& info) {
                             return info.param.find("1997") != std::string::npos ? "Jet3" : "Jet4";
                         });

} // namespace
} // namespace jet::test
