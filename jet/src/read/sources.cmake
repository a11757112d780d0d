# Reading: the catalogue, table definitions, usage maps, the row walk, rows and their fields,
# long values, text decoding, index pages, values, and the public Database, Table and Cursor.
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/catalog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/code_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/complex_values.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cursor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/database.cpp
    ${CMAKE_CURRENT_LIST_DIR}/field_decode.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_pages_read.cpp
    ${CMAKE_CURRENT_LIST_DIR}/long_value.cpp
    ${CMAKE_CURRENT_LIST_DIR}/names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/row.cpp
    ${CMAKE_CURRENT_LIST_DIR}/slot_table.cpp
    ${CMAKE_CURRENT_LIST_DIR}/table_def.cpp
    ${CMAKE_CURRENT_LIST_DIR}/table_scan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_decoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/usage_map.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value.cpp
)
