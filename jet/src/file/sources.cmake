# The file and its pages: byte helpers, format constants, the header, the page store over a
# guarded mapping of the file, RC4, errors, the atomic replacement of a whole file with
# its scratch files and the identity of the file it replaces, and the lock that lets one writer
# at a time into a folder.
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/atomic_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/errors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_identity.cpp
    ${CMAKE_CURRENT_LIST_DIR}/file_mapping.cpp
    ${CMAKE_CURRENT_LIST_DIR}/format.cpp
    ${CMAKE_CURRENT_LIST_DIR}/header.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_cipher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_source.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rc4.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scratch_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/write_lock.cpp
)
