// Appending to a damaged file must end in a clean jet::Error or a good append, never undefined
// behaviour; and the integrity check must survive any damage too. Runs under the sanitizers.
#include "jet/check.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "support.h"

#include <gtest/gtest.h>
#include <random>

namespace jet {
namespace {

std::vector<std::uint8_t> dictionaryWithRows() {
    test::ScratchDir dir;
    auto path = dir.write("seed.mdb", {});
    createDatabase(
        path,
        {{"data",
          {{"names", ColumnType::Text}, {"Key", ColumnType::Text}, {"Link", ColumnType::Memo}}}},
        {"", 45000.0});
    WriteSession s = WriteSession::open(path);
    for (int i = 0; i < 400; ++i)
        s.appendRow("data", {{"Key", "key " + std::to_string(i)},
                             {"Link", std::string(i % 7 == 0 ? 5000 : 40, 'x')}});
    s.commit();
    return test::readBytes(path);
}

// Damage aimed at what appends read: page headers, slot tables, usage-map rows, the table
// definition's counts and pointers, long-value headers; plus random bytes anywhere.
void damage(std::vector<std::uint8_t>& file, std::mt19937& rng) {
    const std::size_t pages = file.size() / 4096;
    std::uniform_int_distribution<std::size_t> page(1, pages - 1);
    std::uniform_int_distribution<int> kind(0, 5);
    std::size_t base = page(rng) * 4096;
    static const std::uint32_t extremes[] = {0,          1,          0xff,  0xffff,
                                             0x7fffffff, 0xffffffff, 0x100, 0x200};
    auto extreme = [&] { return extremes[rng() % std::size(extremes)]; };
    switch (kind(rng)) {
    case 0: // a field of a page header
        test::putLe16(file, base + 2 * (rng() % 8), static_cast<std::uint16_t>(extreme()));
        break;
    case 1: // a slot of a data page
        test::putLe16(file, base + 14 + 2 * (rng() % 16), static_cast<std::uint16_t>(extreme()));
        break;
    case 2: // the table definitions (pages 2 to 6)
        test::putLe32(file, (2 + rng() % 5) * 4096 + 8 + rng() % 60, extreme());
        break;
    case 3: // the usage-map page
        file[8 * 4096 - 1 - rng() % 2000] = static_cast<std::uint8_t>(rng());
        break;
    case 4: // a row pointer-sized value near the end of a page, where rows live
        test::putLe32(file, base + 4096 - 4 - rng() % 600, extreme());
        break;
    default:
        for (int i = 0; i < 8; ++i)
            file[base + rng() % 4096] = static_cast<std::uint8_t>(rng());
    }
}

TEST(WriteMutation, DamagedFilesFailCleanly) {
    const std::vector<std::uint8_t> seed = dictionaryWithRows();
    std::mt19937 rng(77);
    test::ScratchDir dir;
    int refused = 0, appended = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> file = seed;
        for (int n = 1 + static_cast<int>(rng() % 3); n > 0; --n)
            damage(file, rng);
        auto path = dir.write("m" + std::to_string(round) + ".mdb", file);
        try {
            (void)checkDatabase(path);
            WriteSession s = WriteSession::open(path);
            for (int i = 0; i < 30; ++i)
                s.appendRow("data", {{"Key", std::string("new")},
                                     {"Link", std::string(i % 3 == 0 ? 6000 : 10, 'y')}});
            s.commit();
            (void)checkDatabase(path);
            ++appended;
        } catch (const Error&) {
            ++refused;
        }
        std::filesystem::remove(path);
    }
    // Both outcomes must occur, or the damage did not reach what appends read.
    EXPECT_GT(refused, 0);
    EXPECT_GT(appended, 0);
}

} // namespace
} // namespace jet
