# Every test process runs with a home, XDG folders and a runtime folder of its own, made afresh
# and removed afterwards, so no test reads or changes the user's files; the test server on
# 127.0.0.1 is reached directly, whatever proxy the environment names.
set(ZLOMKAR_TEST_LAUNCHER sh -c [[
home=$(mktemp -d) || exit 1
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
export XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" no_proxy=127.0.0.1,localhost
export NO_PROXY=$no_proxy
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$@"
status=$?
rm -rf "$home"
exit $status]] zlomkar-test)

# One Qt Test executable per module. GUI tests run on the offscreen platform, so they need no
# display.
function(zlomkar_add_test name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    # Qt Test's headers take most of each test file's compile time.
    target_precompile_headers(${name} PRIVATE <QTest>)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    add_test(NAME ${name} COMMAND ${ZLOMKAR_TEST_LAUNCHER} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES TIMEOUT 120)
    if(ARG_GUI)
        # The program is Czech whatever the system's language: one build runs its tests in each.
        set(language C)
        if(ZLOMKAR_SANITIZE)
            set(language cs_CZ.UTF-8)
        endif()
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=${language}")
    endif()
endfunction()
