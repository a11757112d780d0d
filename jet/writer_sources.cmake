# Creating databases and writing rows.
target_sources(jet PRIVATE
    src/atomic_file.cpp
    src/create.cpp
    src/data_page.cpp
    src/header_encoder.cpp
    src/index_key.cpp
    src/index_leaf.cpp
    src/integrity_check.cpp
    src/long_value_writer.cpp
    src/row_encoder.cpp
    src/system_catalog.cpp
    src/table_layout.cpp
    src/tdef_encoder.cpp
    src/text_encoder.cpp
    src/usage_map_editor.cpp
    src/usage_map_encoder.cpp
    src/write_session.cpp
)
