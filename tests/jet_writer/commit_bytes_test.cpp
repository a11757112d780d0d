// A commit writes the same bytes for the same appends, whatever way the session holds its pages:
// the figures below were taken from the files this writer produced when it held the whole file in
// memory. Rows are chosen to add data pages, long-value pages and usage-map pages.
#include "jet/write_session.h"
#include "support.h"

#include <gtest/gtest.h>

namespace jet {
namespace {

// FNV-1a: enough to tell two files apart, small enough to keep in the test.
std::uint64_t fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

// The size and fingerprint of a file.
using Written = std::pair<std::size_t, std::uint64_t>;

Written writtenAt(const std::filesystem::path& path) {
    const std::vector<std::uint8_t> bytes = test::readBytes(path);
    return {bytes.size(), fingerprint(bytes)};
}

void appendKeys(WriteSession& s, const std::string& table, int from, int to) {
    for (int i = from; i < to; ++i)
        s.appendRow(table, {{"Key", "k" + std::to_string(i)},
                            {"Link", std::string(i % 50 ? 40 + i % 300 : 7000 + i, 'a' + i % 26)}});
}

// Two sessions: a commit in place, then more rows and a commit to another file.
std::pair<Written, Written> commitTwice(const std::filesystem::path& path,
                                        const std::string& password) {
    WriteSession first = WriteSession::open(path, password);
    appendKeys(first, "data", 0, 2500);
    first.commit();
    appendKeys(first, "data", 2500, 2600);
    first.commit();
    WriteSession second = WriteSession::open(path, password);
    appendKeys(second, "data", 2600, 4000);
    const auto copy = path.parent_path() / ("copy of " + path.filename().string());
    second.commitAs(copy);
    return {writtenAt(path), writtenAt(copy)};
}

// Plain, then page-encoded with a password.
TEST(CommitBytes, PlainAndPageEncodedFilesAsBefore) {
    test::ScratchDir dir;
    const auto plain = dir.write("d.mdb", buildDatabase(test::kDictionary, {"", 45000.0}));
    EXPECT_EQ(commitTwice(plain, ""), std::make_pair(Written{1732608, 0xe50149b8d038361dull},
                                                     Written{2760704, 0x551175ae1cfa6b09ull}));
    const auto encoded = dir.write(
        "e.mdb", test::encodePages(buildDatabase(test::kDictionary, {"pw", 45000.0}), 0x5eed1234));
    EXPECT_EQ(commitTwice(encoded, "pw"), std::make_pair(Written{1732608, 0x5c9bdf581a226b57ull},
                                                         Written{2760704, 0x409d0a3684e553cdull}));
}

} // namespace
} // namespace jet
