# Qt tests run without a display (offscreen), and Qt WebEngine runs as root in CI only with its
# sandbox off and without a GPU; these settings are for tests only, never the shipped program.
function(augurlex_add_qt_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set(runtime_dir "${CMAKE_BINARY_DIR}/test-runtime")
    file(MAKE_DIRECTORY "${runtime_dir}")
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu;XDG_RUNTIME_DIR=${runtime_dir};HOME=${CMAKE_BINARY_DIR}/test-home")
endfunction()
