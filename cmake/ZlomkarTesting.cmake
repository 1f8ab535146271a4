# One test executable per module. Tests of Qt code get moc; GUI tests run on the offscreen platform
# so they need no display.
function(zlomkar_add_test name)
    cmake_parse_arguments(ARG "QT;GUI" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    if(ARG_QT OR ARG_GUI)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        # Qt Test's headers take most of each test file's compile time.
        target_precompile_headers(${name} PRIVATE <QTest>)
    endif()
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_GUI)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
