# The integrity check: every invariant the writer keeps, checked page by page.
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/index_entries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_pages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_tree_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/integrity_check.cpp
)
