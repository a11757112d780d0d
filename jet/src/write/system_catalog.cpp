#include "write/system_catalog.h"

#include "read/catalog.h"

namespace jet::detail {
namespace {

// Column flags Jet gives system columns: fixed, variable, binary and autonumber.
constexpr std::uint8_t kSysFixed = 0x13;
constexpr std::uint8_t kSysVariable = 0x12;
constexpr std::uint8_t kSysBinary = 0x32;
constexpr std::uint8_t kSysAutoNumber = 0x17;
// The template tables' columns: fixed or variable, without the system bit.
constexpr std::uint8_t kTemplateFixed = 0x03;
constexpr std::uint8_t kTemplateVariable = 0x02;

// The flags of the system tables' indexes.
constexpr std::uint8_t kUniqueIndex = kIndexFlagsSet | kIndexFlagUnique;
constexpr std::uint8_t kRequiredIndex = kIndexFlagsSet | kIndexFlagRequired;
constexpr std::uint8_t kIgnoreNullsIndex = kIndexFlagsSet | kIndexFlagIgnoreNulls;

// Object types in MSysObjects.
constexpr std::int64_t kTypeDatabase = 2;
constexpr std::int64_t kTypeContainer = 3;
constexpr std::int64_t kSystemObjectFlag = static_cast<std::int32_t>(0x80000000u);
// The catalogue flags of the ACE template tables: system, and two more Access sets on them.
constexpr std::int64_t kTemplateTableFlags = static_cast<std::int32_t>(0x80030000u);

// Security ids of the default workgroup: the engine, the Admin user, and the Admins and Users
// groups.
const Bytes kEngineSid{0xa7, 0x31};
const Bytes kAdminSid{0xa6, 0x33};
const Bytes kAdminsSid{0xa7, 0x33};
const Bytes kUsersSid{0xa7, 0x36};

// Access rights masks as Jet stores them.
constexpr std::int64_t kFullAccess = 1048575;

ColumnDefinition col(std::string name, ColumnType type, std::uint8_t flags,
                     std::uint16_t maxChars = 255) {
    return ColumnDefinition{ColumnSpec{std::move(name), type, maxChars, false}, flags};
}

} // namespace

std::vector<TableDefinition> systemTableDefinitions() {
    using T = ColumnType;
    std::vector<TableDefinition> tables;
    tables.push_back(
        {"MSysObjects",
         true,
         {col("Id", T::Long, kSysFixed), col("ParentId", T::Long, kSysFixed),
          col("Name", T::Text, kSysVariable), col("Type", T::Integer, kSysFixed),
          col("DateCreate", T::DateTime, kSysFixed), col("DateUpdate", T::DateTime, kSysFixed),
          col("Owner", T::Binary, kSysBinary), col("Flags", T::Long, kSysFixed),
          col("Database", T::Memo, kSysVariable), col("Connect", T::Memo, kSysVariable),
          col("ForeignName", T::Text, kSysVariable), col("RmtInfoShort", T::Binary, kSysVariable),
          col("RmtInfoLong", T::Ole, kSysVariable), col("Lv", T::Ole, kSysVariable),
          col("LvProp", T::Ole, kSysVariable), col("LvModule", T::Ole, kSysVariable),
          col("LvExtra", T::Ole, kSysVariable)},
         {{"Id", {0}, kUniqueIndex, true}, {"ParentIdName", {1, 2}, kUniqueIndex}}});
    tables.push_back({"MSysACEs",
                      true,
                      {col("ObjectId", T::Long, kSysFixed), col("SID", T::Binary, kSysBinary),
                       col("ACM", T::Long, kSysFixed), col("FInheritable", T::Boolean, kSysFixed)},
                      {{"ObjectId", {0}, kRequiredIndex}}});
    tables.push_back(
        {"MSysQueries",
         true,
         {col("ObjectId", T::Long, kSysFixed), col("Attribute", T::Byte, kSysFixed),
          col("Order", T::Binary, kSysVariable), col("Name1", T::Text, kSysVariable),
          col("Name2", T::Text, kSysVariable), col("Expression", T::Memo, kSysVariable),
          col("Flag", T::Integer, kSysFixed), col("LvExtra", T::Long, kSysFixed)},
         {{"ObjectIdAttribute", {0, 1, 2}, kUniqueIndex, true}}});
    tables.push_back(
        {"MSysRelationships",
         true,
         {col("szRelationship", T::Text, kSysVariable), col("grbit", T::Long, kSysFixed),
          col("ccolumn", T::Long, kSysFixed), col("icolumn", T::Long, kSysFixed),
          col("szObject", T::Text, kSysVariable), col("szColumn", T::Text, kSysVariable),
          col("szReferencedObject", T::Text, kSysVariable),
          col("szReferencedColumn", T::Text, kSysVariable)},
         {{"szObject", {4}, kIgnoreNullsIndex},
          {"szReferencedObject", {6}, kIgnoreNullsIndex},
          {"szRelationship", {0}, kIgnoreNullsIndex}}});
    return tables;
}

std::vector<TableDefinition> aceSystemTableDefinitions() {
    using T = ColumnType;
    std::vector<TableDefinition> tables;
    tables.push_back(
        {"MSysComplexColumns",
         false,
         {col("ColumnName", T::Text, kSysVariable), col("ComplexTypeObjectID", T::Long, kSysFixed),
          col("FlatTableID", T::Long, kSysFixed), col("ConceptualTableID", T::Long, kSysFixed),
          col("ComplexID", T::Long, kSysAutoNumber)},
         {{"IdxConceptualTableID", {3}, kIndexFlagsSet},
          {"IdxFlatTableID", {2}, kIndexFlagsSet},
          {"IdxID", {4}, kUniqueIndex | kIndexFlagRequired, true}}});
    const std::pair<const char*, T> valueTemplates[] = {
        {"UnsignedByte", T::Byte}, {"Short", T::Integer},     {"Long", T::Long},
        {"IEEESingle", T::Single}, {"IEEEDouble", T::Double}, {"GUID", T::Guid},
        {"Decimal", T::Numeric},   {"Text", T::Text}};
    for (const auto& [name, type] : valueTemplates) {
        const bool variable = type == T::Text || type == T::Numeric;
        tables.push_back({std::string("MSysComplexType_") + name,
                          false,
                          {col("Value", type, variable ? kTemplateVariable : kTemplateFixed)},
                          {}});
    }
    tables.push_back(
        {"MSysComplexType_Attachment",
         false,
         {col("FileURL", T::Memo, kTemplateVariable), col("FileName", T::Text, kTemplateVariable),
          col("FileType", T::Text, kTemplateVariable), col("FileData", T::Ole, kTemplateVariable),
          col("FileTimeStamp", T::DateTime, kTemplateFixed),
          col("FileFlags", T::Long, kTemplateFixed)},
         {}});
    return tables;
}

std::vector<std::vector<Value>> catalogueRows(const std::vector<UserTableEntry>& aceTables,
                                              const std::vector<UserTableEntry>& userTables,
                                              double now) {
    auto row = [&](std::int32_t id, std::int32_t parent, const char* name, std::int64_t type,
                   const Bytes& owner, std::int64_t flags) {
        std::vector<Value> r(17);
        r[0] = std::int64_t{id};
        r[1] = std::int64_t{parent};
        r[2] = std::string(name);
        r[3] = type;
        r[4] = DateTime{now};
        r[5] = DateTime{now};
        if (!owner.empty())
            r[6] = owner;
        r[7] = flags;
        return r;
    };
    std::vector<std::vector<Value>> rows{
        row(kTablesContainerId, kRootContainerId, "Tables", kTypeContainer, kEngineSid,
            kSystemObjectFlag),
        row(kDatabasesContainerId, kRootContainerId, "Databases", kTypeContainer, kEngineSid,
            kSystemObjectFlag),
        row(kRelationshipsContainerId, kRootContainerId, "Relationships", kTypeContainer,
            kEngineSid, kSystemObjectFlag),
        row(kDatabaseObjectId, kDatabasesContainerId, "MSysDb", kTypeDatabase, kAdminSid,
            kSystemObjectFlag),
        row(2, kTablesContainerId, "MSysObjects", kObjectTable, kEngineSid, kSystemObjectFlag),
        row(3, kTablesContainerId, "MSysACEs", kObjectTable, kEngineSid, kSystemObjectFlag),
        row(4, kTablesContainerId, "MSysQueries", kObjectTable, kEngineSid, kSystemObjectFlag),
        row(5, kTablesContainerId, "MSysRelationships", kObjectTable, kEngineSid,
            kSystemObjectFlag),
    };
    // Access leaves the ACE system tables without an owner.
    for (const auto& t : aceTables)
        rows.push_back(
            row(t.id, kTablesContainerId, t.name.c_str(), kObjectTable, {},
                t.name == "MSysComplexColumns" ? kSystemObjectFlag : kTemplateTableFlags));
    for (const auto& t : userTables)
        rows.push_back(row(t.id, kTablesContainerId, t.name.c_str(), kObjectTable, kAdminSid, 0));
    return rows;
}

std::vector<std::vector<Value>> permissionRows(const std::vector<UserTableEntry>& aceTables,
                                               const std::vector<UserTableEntry>& userTables) {
    auto ace = [](std::int32_t object, const Bytes& sid, std::int64_t rights, bool inheritable) {
        return std::vector<Value>{std::int64_t{object}, sid, rights, inheritable};
    };
    std::vector<std::vector<Value>> rows{
        ace(2, kAdminSid, 393216, false),
        ace(3, kAdminSid, 393216, false),
        ace(4, kAdminSid, 393216, false),
        ace(5, kAdminSid, 917504, false),
        ace(kTablesContainerId, kUsersSid, 983294, true),
        ace(kTablesContainerId, kAdminSid, 393217, false),
        ace(kRelationshipsContainerId, kUsersSid, 983294, true),
        ace(kRelationshipsContainerId, kAdminSid, 393217, false),
        ace(kDatabasesContainerId, kAdminSid, 393216, false),
        ace(kDatabaseObjectId, kAdminSid, 393230, false),
        ace(kDatabaseObjectId, kAdminsSid, 14, false),
        ace(4, kAdminsSid, 20, false),
        ace(5, kAdminsSid, 20, false),
        ace(2, kAdminsSid, 20, false),
        ace(kTablesContainerId, kAdminsSid, 1048319, true),
        ace(kRelationshipsContainerId, kAdminsSid, kFullAccess, true),
    };
    // The ACE system tables as Access grants them, like MSysObjects.
    for (const auto& t : aceTables) {
        rows.push_back(ace(t.id, kAdminSid, 393216, false));
        rows.push_back(ace(t.id, kAdminsSid, 20, false));
    }
    // A new table grants full rights to those who hold rights on the Tables container.
    for (const auto& t : userTables)
        for (const Bytes* sid : {&kUsersSid, &kAdminSid, &kAdminsSid})
            rows.push_back(ace(t.id, *sid, kFullAccess, false));
    return rows;
}

} // namespace jet::detail
