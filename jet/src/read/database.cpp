#include "crypto/page_ciphers.h"
#include "file/errors.h"
#include "read/names.h"
#include "read/state.h"
#include "read/text_decoder.h"

#include <algorithm>

namespace jet {

using namespace detail;

namespace {

// Enough of the file's start for the header page of either version.
constexpr std::size_t kLargestPageSize = 4096;

std::uint16_t chooseCodePage(const Header& header, const OpenOptions& options) {
    if (options.jet3CodePage && codePageCharset(options.jet3CodePage))
        return options.jet3CodePage;
    if (codePageCharset(header.codePage))
        return header.codePage;
    if (std::uint16_t fromSort = codePageForSortOrder(header.sortOrder))
        return fromSort;
    return 1252;
}

// The stored password as text: Jet 4 UCS-2, Jet 3 code-page bytes; it ends at a zero character.
std::string storedPassword(const Header& header, const CodePageDecoder& decoder) {
    const std::vector<std::uint8_t>& bytes = header.password;
    std::string out;
    if (header.format->passwordIsUcs2) {
        std::size_t end = 0;
        while (end + 1 < bytes.size() && (bytes[end] | bytes[end + 1]))
            end += 2;
        appendUcs2(out, ByteSpan(bytes.data(), end));
    } else {
        const auto end = std::find(bytes.begin(), bytes.end(), 0);
        decoder.append(out, ByteSpan(bytes.data(), static_cast<std::size_t>(end - bytes.begin())));
    }
    return out;
}

// A changed key in an encoded file's header decodes every page to noise: say so, rather than
// fault the catalogue. Pages 1 and 2, usage maps and the catalogue, start with a type and 0x01.
void requirePagesDecode(const DatabaseState& state) {
    const PageStore& pages = state.pages;
    if (state.header.encodingKey != 0 && pages.contains(2) && pages.page(1)[1] != 0x01 &&
        pages.page(2)[1] != 0x01)
        throw Error(ErrorKind::Corrupt, state.path.string() +
                                            ": its pages do not decode with the key in its "
                                            "header, which must be damaged");
}

} // namespace

Database::Database(std::shared_ptr<DatabaseState> state) : state_(std::move(state)) {}

Database Database::open(const std::filesystem::path& path, std::string_view password) {
    return open(path, password, OpenOptions{});
}

Database Database::open(const std::filesystem::path& path, std::string_view password,
                        const OpenOptions& options) {
    std::shared_ptr<DatabaseState> state = openDatabaseFile(path, password, options);
    requirePagesDecode(*state);
    auto catalog = inFile(
        path, [&] { return readCatalog(state->pages, *state->format, *state->textDecoder); });
    for (auto& entry : catalog) {
        if (entry.isUserTable())
            state->userTables.push_back(entry);
        if (entry.type == kObjectTable)
            state->allTables.push_back(std::move(entry));
    }
    return Database(std::move(state));
}

Version Database::version() const {
    return state_->header.version;
}
std::uint32_t Database::pageSize() const {
    return state_->pages.pageSize();
}
std::uint32_t Database::pageCount() const {
    return state_->pages.pageCount();
}
bool Database::hasPassword() const {
    return state_->hasPassword;
}
bool Database::pageEncrypted() const {
    return state_->header.encodingKey != 0;
}
std::uint16_t Database::codePage() const {
    return state_->textDecoder->codePage();
}
const std::filesystem::path& Database::path() const {
    return state_->path;
}

std::vector<std::string> Database::tableNames() const {
    std::vector<std::string> names;
    names.reserve(state_->userTables.size());
    for (const auto& entry : state_->userTables)
        names.push_back(entry.name);
    return names;
}

bool Database::hasTable(std::string_view name) const {
    return std::any_of(state_->userTables.begin(), state_->userTables.end(),
                       [&](const CatalogEntry& e) { return equalsIgnoringCase(e.name, name); });
}

Table Database::table(std::string_view name) const {
    auto table = std::make_shared<TableState>();
    table->database = state_;
    table->def = readUserTableDef(*state_, userTable(*state_, name));
    return Table(std::move(table));
}

namespace detail {

std::shared_ptr<DatabaseState> openDatabaseFile(const std::filesystem::path& path,
                                                std::string_view password,
                                                const OpenOptions& options) {
    auto state = std::make_shared<DatabaseState>();
    state->path = path;
    const DatabaseFile file(path);
    state->identity = file.identity();
    const std::vector<std::uint8_t> headerPage = file.start(kLargestPageSize);
    state->header = readHeader(headerPage, path.string());
    state->format = state->header.format;
    state->textDecoder = std::make_unique<CodePageDecoder>(chooseCodePage(state->header, options));

    // An Office-encrypted file's cipher checks its password; the Jet password field is unused.
    const bool officeEncrypted = isOfficeEncrypted(state->header);
    const std::string stored =
        officeEncrypted ? std::string() : storedPassword(state->header, *state->textDecoder);
    state->hasPassword = officeEncrypted || !stored.empty();
    if (!stored.empty() && stored != password)
        throw Error(ErrorKind::BadPassword, kBadPasswordMessage);

    state->pages = file.pages(state->format->pageSize,
                              pageCipherFor(state->header, headerPage, password, path.string()));
    return state;
}

const CatalogEntry& userTable(const DatabaseState& db, std::string_view name) {
    for (const auto& entry : db.userTables)
        if (equalsIgnoringCase(entry.name, name))
            return entry;
    throw Error(ErrorKind::NotFound, "no " + named("table", name) + " in " + db.path.string());
}

TableDef readUserTableDef(const DatabaseState& db, const CatalogEntry& entry) {
    return inFile(db.path, [&] {
        return readTableDef(db.pages, *db.format, *db.textDecoder, entry.tableDefPage(),
                            entry.name);
    });
}

} // namespace detail

} // namespace jet
