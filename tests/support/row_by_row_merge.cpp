#include "row_by_row_merge.h"

#include "store/modDB.h"
#include "update/dictionary_name.h"

#include <cstdint>
#include <filesystem>

namespace update_reference {

namespace {

// Runs one step; a step that fails is skipped.
template <class Step> void skipOnError(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

void appendRecord(Recordset& rs, const std::string& names, const std::string& key,
                  const std::string& link) {
    rs.AddNew();
    rs.SetField("names", modDB::LowerUtf8(names));
    rs.SetField("Key", key);
    rs.SetField("Link", link);
    rs.Update();
}

} // namespace

bool RowByRowMerge(const std::string& updateFilePath, const std::string& programFolder) {
    Connection updateConnection;
    Recordset update;
    skipOnError([&] {
        modDB::OpenConnection(updateConnection, updateFilePath);
        modDB::OpenRecordset(update, updateConnection, modDB::kQuery);
    });
    Connection catalogueConnection;
    Recordset catalogue;
    skipOnError([&] {
        modDB::OpenConnection(catalogueConnection, modDB::CataloguePath(programFolder));
        modDB::OpenRecordset(catalogue, catalogueConnection, modDB::kQuery);
    });
    if (!update.IsOpen() || update.RecordCount() == 0)
        return false;

    Connection dictionaryConnection;
    Recordset dictionary;
    const std::int64_t updateCount = update.RecordCount();
    update.MoveFirst();
    for (std::int64_t i = 0; i < updateCount; ++i) {
        std::string names, key, link;
        skipOnError([&] {
            names = update.Fields("names");
            key = update.Fields("Key");
            link = update.Fields("Link");
        });
        const std::string name = modDB::LowerUtf8(names);

        bool known = false;
        skipOnError([&] {
            catalogue.MoveFirst();
            for (std::int64_t c = 0; c < catalogue.RecordCount(); ++c) {
                if (modDB::LowerUtf8(catalogue.Fields("names")) == name) {
                    known = true;
                    break;
                }
                catalogue.MoveNext();
            }
        });

        if (known) {
            skipOnError([&] {
                modDB::OpenConnection(dictionaryConnection,
                                      modDB::DictionaryPath(programFolder, names));
                modDB::OpenRecordset(dictionary, dictionaryConnection, modDB::kQuery);
                bool duplicate = false;
                if (dictionary.RecordCount() > 0) {
                    dictionary.MoveFirst();
                    for (std::int64_t d = 0; d < dictionary.RecordCount(); ++d) {
                        if (dictionary.Fields("Link") == link) {
                            duplicate = true;
                            break;
                        }
                        dictionary.MoveNext();
                    }
                }
                if (!duplicate)
                    appendRecord(dictionary, names, key, link);
            });
        } else {
            skipOnError([&] {
                catalogue.AddNew();
                catalogue.SetField("names", update::DisplayName(names));
                catalogue.SetField("Database", name + ".dll");
                catalogue.Update();
            });
            skipOnError([&] {
                std::filesystem::copy_file(modDB::TemplatePath(programFolder),
                                           modDB::DictionaryPath(programFolder, names),
                                           std::filesystem::copy_options::overwrite_existing);
            });
            skipOnError([&] {
                modDB::OpenConnection(dictionaryConnection,
                                      modDB::DictionaryPath(programFolder, names));
                modDB::OpenRecordset(dictionary, dictionaryConnection, modDB::kQuery);
                appendRecord(dictionary, names, key, link);
            });
        }
        skipOnError([&] { update.MoveNext(); });
    }
    return true;
}

} // namespace update_reference
