# Qt tests run without a display: each sets the offscreen platform itself
# (tests/support/offscreen_platform.cpp), whatever the environment says. They run with a home
# and runtime folder of the build's own, so no user's settings reach them.
function(augurlex_add_qt_test name)
    add_executable(${name} ${ARGN} ${CMAKE_SOURCE_DIR}/tests/support/offscreen_platform.cpp)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set(runtime_dir "${CMAKE_BINARY_DIR}/test-runtime")
    file(MAKE_DIRECTORY "${runtime_dir}")
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "XDG_RUNTIME_DIR=${runtime_dir};HOME=${CMAKE_BINARY_DIR}/test-home")
endfunction()
