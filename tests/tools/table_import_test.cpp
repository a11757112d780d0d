// Appending a CSV's rows to a table: damage the engine meets part-way through is the file's, and
// keeps its kind (so `import` exits as for a file found damaged when opened); a refused row is
// the CSV's, named by its line.
#include "augurlex-dict/table_import.h"
#include "jet/create.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace dict {
namespace {

TEST(TableImport, DamageMetPartWayKeepsItsKindWhereARefusedRowIsTheCsvs) {
    const auto path =
        std::filesystem::temp_directory_path() / ("import-" + std::to_string(::getpid()) + ".mdb");
    jet::createDatabase(path, {{"data", {{"names"}, {"Key", jet::ColumnType::Text, 4}}}});
    jet::WriteSession session = jet::WriteSession::open(path);
    EXPECT_THROW(importCsv(session, "data", "names,Key\nomens,too long\n"), ImportError);

    // Under the open session, every page but the header and the table definitions is wiped (as
    // by a failing disk): the definitions still read, the rows and maps do not.
    const int fd = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    std::vector<char> page(4096);
    for (off_t at = 4096; ::pread(fd, page.data(), page.size(), at) == 4096; at += 4096) {
        if (page[0] == 0x02)
            continue;
        std::fill(page.begin(), page.end(), 0);
        ASSERT_EQ(::pwrite(fd, page.data(), page.size(), at), 4096);
    }
    ::close(fd);
    try {
        importCsv(session, "data", "names,Key\nomens,owl\n");
        ADD_FAILURE() << "the damage went unnoticed";
    } catch (const jet::Error& error) {
        EXPECT_EQ(error.kind(), jet::ErrorKind::Corrupt) << error.what();
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace dict
