# The file and its pages: byte helpers, format constants, the header, the page store, RC4,
# errors, UTF-8 and the atomic replacement of a whole file.
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/header.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rc4.cpp
    ${CMAKE_CURRENT_LIST_DIR}/utf8.cpp
)
