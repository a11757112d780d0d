#include "augurlex-dict/dictionary_tables.h"

#include "store/program_files.h"

namespace dict {

jet::TableSpec dictionaryTableSpec() {
    return {store::kDataTable,
            {{"names", jet::ColumnType::Text, 255, false},
             {"Key", jet::ColumnType::Text, 255, false},
             {"Link", jet::ColumnType::Memo, 255, false}}};
}

jet::TableSpec catalogueTableSpec() {
    return {store::kDataTable,
            {{"names", jet::ColumnType::Text, 255, false},
             {"Database", jet::ColumnType::Text, 255, false}}};
}

} // namespace dict
