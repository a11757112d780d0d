# Index keys: the bytes an index entry sorts by, for every column type, with text in the
# "General" sort orders (weights in the .inc tables).
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/column_key.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sort_weights.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_key.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_key97.cpp
)
