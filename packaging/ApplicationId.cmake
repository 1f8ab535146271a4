# The application id names the desktop file, the metainfo and the icons, and is the Wayland app id:
# the web domain reversed, then the program's name. Each part must be a valid D-Bus name element,
# so a hyphen becomes an underscore and a part that starts with a digit gets a leading underscore.
function(zlomkar_application_id out_var domain)
    string(TOLOWER "${domain}" domain)
    string(REPLACE "-" "_" domain "${domain}")
    string(REPLACE "." ";" labels "${domain}")
    list(REVERSE labels)
    set(parts "")
    foreach(label IN LISTS labels)
        # A test, not REGEX REPLACE "^[0-9]": that would match "^" again after every digit replaced.
        if(label MATCHES "^[0-9]")
            string(PREPEND label "_")
        endif()
        list(APPEND parts ${label})
    endforeach()
    list(APPEND parts Zlomkar)
    list(JOIN parts "." id)
    set(${out_var} "${id}" PARENT_SCOPE)
endfunction()
