# Writing: new databases (header, system catalogue, table layout and definitions, index pages)
# and appended rows (write session, row encoding, data pages, long values, usage maps, text
# encoding, index maintenance).
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/create.cpp
    ${CMAKE_CURRENT_LIST_DIR}/data_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/header_encoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_maintenance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_page_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_tree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/long_value_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/relationship_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/row_encoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_catalog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/table_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tdef_encoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_encoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/usage_map_editor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/usage_map_encoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/write_session.cpp
)
