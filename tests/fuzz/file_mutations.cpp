#include "file_mutations.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <random>

namespace fuzzing {

const char* pageKindName(PageKind kind) {
    switch (kind) {
    case PageKind::Header:
        return "header";
    case PageKind::Data:
        return "data";
    case PageKind::LongValue:
        return "long value";
    case PageKind::TableDefinition:
        return "table definition";
    case PageKind::Index:
        return "index";
    case PageKind::UsageMap:
        return "usage map";
    case PageKind::Other:
        return "other";
    }
    return "?";
}

PageLayout describePages(const FileBytes& file) {
    PageLayout layout;
    layout.pageSize = file.size() > 0x14 && file[0x14] == 0 ? 2048 : 4096;
    std::size_t pages = file.size() / layout.pageSize;
    std::size_t typed = 0;
    static const std::uint8_t kLongValueMark[] = {'L', 'V', 'A', 'L'};
    for (std::size_t p = 0; p < pages; ++p) {
        const std::uint8_t* page = file.data() + p * layout.pageSize;
        PageKind kind = PageKind::Other;
        bool known = page[1] == 0x01 || (page[0] == 0 && page[1] == 0);
        switch (known ? page[0] : 0xFF) {
        case 0x00:
            kind = p == 0 ? PageKind::Header : PageKind::Other;
            break;
        case 0x01:
            kind = std::search(page, page + layout.pageSize, std::begin(kLongValueMark),
                               std::end(kLongValueMark)) != page + layout.pageSize
                       ? PageKind::LongValue
                       : PageKind::Data;
            break;
        case 0x02:
            kind = PageKind::TableDefinition;
            break;
        case 0x03:
        case 0x04:
            kind = PageKind::Index;
            break;
        case 0x05:
            kind = PageKind::UsageMap;
            break;
        }
        typed += known ? 1 : 0;
        layout.kinds.push_back(kind);
    }
    // Page 1 holds the database's own usage maps; tables keep theirs in rows of data pages.
    if (pages > 1 && layout.kinds[1] == PageKind::Data)
        layout.kinds[1] = PageKind::UsageMap;
    layout.encrypted = pages > 1 && typed * 10 < pages * 8;
    if (layout.encrypted)
        std::fill(layout.kinds.begin() + 1, layout.kinds.end(), PageKind::Other);
    return layout;
}

namespace {

class Mutator {
public:
    Mutator(const FileBytes& file,
            const std::function<void(const std::string&, const FileBytes&)>& visit)
        : work_(file), visit_(visit) {}

    // Applies the bytes at offset, shows the file to the visitor, then undoes the change.
    void with(const std::string& what, std::size_t offset, const std::uint8_t* bytes,
              std::size_t count) {
        if (offset + count > work_.size())
            return;
        std::uint8_t saved[8];
        std::memcpy(saved, &work_[offset], count);
        std::memcpy(&work_[offset], bytes, count);
        visit_(what + " at byte " + std::to_string(offset), work_);
        std::memcpy(&work_[offset], saved, count);
    }
    void flip(const std::string& what, std::size_t offset, std::uint8_t mask = 0xFF) {
        if (offset >= work_.size())
            return;
        std::uint8_t value = work_[offset] ^ mask;
        with(what + " flipped", offset, &value, 1);
    }
    void set16(const std::string& what, std::size_t offset, std::uint16_t value) {
        std::uint8_t bytes[2] = {std::uint8_t(value), std::uint8_t(value >> 8)};
        with(what + " 16-bit " + std::to_string(value), offset, bytes, 2);
    }
    void set32(const std::string& what, std::size_t offset, std::uint32_t value) {
        std::uint8_t bytes[4] = {std::uint8_t(value), std::uint8_t(value >> 8),
                                 std::uint8_t(value >> 16), std::uint8_t(value >> 24)};
        with(what + " 32-bit " + std::to_string(value), offset, bytes, 4);
    }
    void truncate(std::size_t length) {
        if (length >= work_.size())
            return;
        FileBytes cut(work_.begin(), work_.begin() + static_cast<std::ptrdiff_t>(length));
        visit_("truncated to " + std::to_string(length) + " bytes", cut);
    }

private:
    FileBytes work_;
    const std::function<void(const std::string&, const FileBytes&)>& visit_;
};

void truncations(Mutator& m, std::size_t size, std::uint32_t pageSize) {
    for (std::size_t length : {0, 1, 16, 0x14, 0x15, 100, 0x100}) {
        m.truncate(length);
    }
    for (std::size_t page = 1; page <= 8; ++page) {
        m.truncate(page * pageSize - 1);
        m.truncate(page * pageSize);
        m.truncate(page * pageSize + pageSize / 2);
    }
    for (std::size_t step = 1; step < 16; ++step)
        m.truncate(size * step / 16);
    m.truncate(size - 1);
}

void damagePage(Mutator& m, std::size_t page, const PageLayout& layout, std::mt19937& random) {
    const std::size_t base = page * layout.pageSize;
    const std::uint32_t pageCount = static_cast<std::uint32_t>(layout.kinds.size());
    const std::string where =
        std::string(pageKindName(layout.kinds[page])) + " page " + std::to_string(page);
    for (std::size_t i = 0; i < 32; ++i)
        m.flip(where, base + i);
    for (std::size_t i = 0; i < 64; ++i) {
        m.set16(where, base + i, 0xFFFF);
        m.set16(where, base + i, 0x8000);
    }
    for (std::size_t i = 0; i < 64; i += 4) {
        m.set32(where, base + i, 0xFFFFFFFF);
        m.set32(where, base + i, 0x7FFFFFFF);
    }
    // Page pointers: a page that names itself, or a page past the end.
    for (std::size_t i : {4, 8, 12}) {
        m.set32(where, base + i, static_cast<std::uint32_t>(page));
        m.set32(where, base + i, pageCount);
        m.set32(where, base + i, pageCount + 1000);
    }
    std::uniform_int_distribution<std::size_t> anywhere(0, layout.pageSize - 4);
    for (int i = 0; i < 24; ++i) {
        std::size_t offset = base + anywhere(random);
        m.flip(where, offset, static_cast<std::uint8_t>(1u << (i % 8)));
        m.set16(where, offset, static_cast<std::uint16_t>(random()));
    }
}

} // namespace

void forEachMutation(const FileBytes& file, int perPageKind,
                     const std::function<void(const std::string&, const FileBytes&)>& visit) {
    PageLayout layout = describePages(file);
    Mutator m(file, visit);
    std::mt19937 random(20261206);
    truncations(m, file.size(), layout.pageSize);

    // The header: every byte of its plain part, and the version and page-size fields.
    for (std::size_t i = 0; i < 0x80; ++i)
        m.flip("header", i);
    for (std::uint8_t version : {0, 1, 2, 3, 5, 0xFF}) {
        std::uint8_t v = version;
        m.with("header version " + std::to_string(version), 0x14, &v, 1);
    }

    // Up to perPageKind pages of each kind, spread over the file.
    std::map<PageKind, std::vector<std::size_t>> pagesByKind;
    for (std::size_t p = 1; p < layout.kinds.size(); ++p)
        pagesByKind[layout.kinds[p]].push_back(p);
    for (const auto& [kind, pages] : pagesByKind) {
        std::size_t chosen = std::min<std::size_t>(pages.size(), perPageKind);
        for (std::size_t i = 0; i < chosen; ++i)
            damagePage(m, pages[i * pages.size() / chosen], layout, random);
    }
}

} // namespace fuzzing
