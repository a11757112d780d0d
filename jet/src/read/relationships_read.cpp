#include "read/relationships_read.h"

#include "file/bytes.h"
#include "file/errors.h"

namespace jet::detail {
namespace {

// Within a logical index block, after its lead bytes.
constexpr std::size_t kNumberField = 0;
constexpr std::size_t kPhysicalField = 4;
constexpr std::size_t kSideField = 8;
constexpr std::size_t kRelatedIndexField = 9;
constexpr std::size_t kRelatedTableField = 13;
constexpr std::size_t kCascadeUpdatesField = 17;
constexpr std::size_t kCascadeDeletesField = 18;
constexpr std::size_t kTypeField = 19;

// A foreign-key index that no relationship backs names no related index.
constexpr std::uint32_t kNoRelatedIndex = 0xffffffffu;
constexpr std::uint8_t kPrimarySide = 1;
constexpr std::uint8_t kCascadeFlag = 0x01;
constexpr std::uint8_t kCascadeNullFlag = 0x02;

} // namespace

std::size_t physicalIndexListOffset(const std::vector<std::uint8_t>& bytes, const JetFormat& format,
                                    const TableDef& def) {
    std::size_t at = format.tdefRealIndexStart +
                     std::size_t{def.realIndexCount} * format.tdefRealIndexEntrySize +
                     def.columns.size() * format.columnEntrySize;
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        if (at + format.nameLengthSize > bytes.size())
            throwCorrupt("the column names of " + named("table", def.name) + " are cut short");
        at += format.nameLengthSize +
              (format.nameLengthSize == 1 ? bytes[at] : le16(bytes.data() + at));
    }
    return at;
}

std::vector<LogicalIndexFacts> readLogicalIndexes(const PageStore& pages, const JetFormat& format,
                                                  const TableDef& def) {
    const std::vector<std::uint8_t> bytes = readTableDefBytes(pages, def.page, def.name);
    std::size_t at = physicalIndexListOffset(bytes, format, def) +
                     std::size_t{def.realIndexCount} * format.realIndexSize;
    std::vector<LogicalIndexFacts> out(def.indexes.size());
    for (std::size_t i = 0; i < out.size(); ++i, at += format.logicalIndexSize) {
        if (at + format.logicalIndexSize > bytes.size())
            throwCorrupt("the index list of " + named("table", def.name) + " is cut short");
        const std::uint8_t* p = bytes.data() + at + format.logicalIndexLead;
        LogicalIndexFacts& index = out[i];
        index.name = def.indexes[i].name;
        index.number = le32(p + kNumberField);
        index.physical = le32(p + kPhysicalField);
        index.type = p[kTypeField];
        const std::uint32_t relatedIndex = le32(p + kRelatedIndexField);
        if (index.type != kLogicalIndexForeignKey || relatedIndex == kNoRelatedIndex)
            continue;
        index.related = true;
        index.primarySide = p[kSideField] == kPrimarySide;
        index.relatedIndex = relatedIndex;
        index.relatedTablePage = le32(p + kRelatedTableField);
        index.cascadeUpdates = p[kCascadeUpdatesField] & kCascadeFlag;
        index.cascadeDeletes = p[kCascadeDeletesField] & kCascadeFlag;
        index.cascadeNull = p[kCascadeDeletesField] & kCascadeNullFlag;
    }
    return out;
}

} // namespace jet::detail
