# The integrity check: every invariant the writer keeps, checked page by page; and each page
# described for a look inside a damaged file.
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/index_entries.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_pages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/index_tree_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/integrity_check.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_owners.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_report.cpp
    ${CMAKE_CURRENT_LIST_DIR}/table_def_check.cpp
)
