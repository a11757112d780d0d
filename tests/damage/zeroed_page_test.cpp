// Every page of every test file zeroed in turn: the check must report each page that held live
// data. Which pages those are comes from the undamaged file, through the engine's own walk of
// its structures (catalogue, table definitions, maps, data pages, index trees, long values).
#include "check/integrity_check.h"
#include "jet/check.h"
#include "read/state.h"
#include "support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <set>
#include <unistd.h>

namespace jet::test {
namespace {

// Access-made files whose undamaged state the check already faults: one corrupted on purpose,
// one whose system tables Access left inconsistent, one with column types no one defines.
const std::set<std::string> kFaultedAsMade = {"ucanaccess__corrupted.accdb",
                                              "mdbreader__V2016_withdeletedcol.accdb",
                                              "jackcess__unsupportedFieldsTestV2007.accdb"};

bool reported(const std::filesystem::path& path, const std::string& password) {
    try {
        return !checkDatabase(path, password).empty();
    } catch (const Error&) {
        return true; // too damaged to open is a finding too
    }
}

void writeAt(int fd, const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)),
              static_cast<ssize_t>(bytes.size()));
}

TEST(ZeroedPage, EveryPageThatHeldLiveDataIsReported) {
    ScratchDir dir;
    const std::vector<ListedFile> files = listedFiles();
    ASSERT_GT(files.size(), 70u);
    for (const auto& [name, password, ace] : files) {
        if (kFaultedAsMade.count(name))
            continue;
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> original = readBytes(testFile(name));
        const auto path = dir.write("swept.mdb", original);
        const Database db = Database::open(path, password);
        const detail::CheckReport sound =
            detail::checkLoadedDatabase(*detail::DatabaseAccess::state(db));
        ASSERT_EQ(sound.faults, std::vector<std::string>{});

        const int fd = ::open(path.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        const std::size_t pageSize = db.pageSize();
        const std::vector<std::uint8_t> zeros(pageSize, 0);
        for (std::uint32_t page = 0; page < db.pageCount(); ++page) {
            const std::size_t offset = std::size_t{page} * pageSize;
            writeAt(fd, zeros, offset);
            const bool found = reported(path, password);
            writeAt(fd,
                    {original.begin() + static_cast<std::ptrdiff_t>(offset),
                     original.begin() + static_cast<std::ptrdiff_t>(offset + pageSize)},
                    offset);
            EXPECT_TRUE(!sound.inUse[page] || found)
                << "page " << page << " held live data; zeroed, it went unreported";
        }
        ::close(fd);
    }
}

} // namespace
} // namespace jet::test
