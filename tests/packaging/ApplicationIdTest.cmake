# Rows of a web domain and the application id made of it.
include(${APPLICATION_ID_SCRIPT})

function(expect_id domain expected)
    zlomkar_application_id(id "${domain}")
    if(NOT id STREQUAL expected)
        message(SEND_ERROR "domain '${domain}': got '${id}', expected '${expected}'")
    endif()
endfunction()

expect_id(zlomkar.example example.zlomkar.Zlomkar)
expect_id(zlomkar.cz cz.zlomkar.Zlomkar)
expect_id(Zlomkar.CZ cz.zlomkar.Zlomkar)
expect_id(programy.zlomkar.co.uk uk.co.zlomkar.programy.Zlomkar)
expect_id(moje-programy.cz cz.moje_programy.Zlomkar)
expect_id(a-b-c.cz cz.a_b_c.Zlomkar)
expect_id(7zlomkar.cz cz._7zlomkar.Zlomkar)
expect_id(123.cz cz._123.Zlomkar)
