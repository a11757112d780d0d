# Office encryption of Access 2007 and later files: the schemes, their password checks and page
# ciphers, over the system's libcrypto, which only primitives.cpp includes.
find_package(OpenSSL REQUIRED COMPONENTS Crypto)
target_sources(jet PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/agile_scheme.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cryptoapi_scheme.cpp
    ${CMAKE_CURRENT_LIST_DIR}/page_ciphers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/primitives.cpp
)
target_link_libraries(jet PRIVATE OpenSSL::Crypto)
