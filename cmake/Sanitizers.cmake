# The sanitizer build: everything compiled with AddressSanitizer and UndefinedBehaviorSanitizer.
# scripts/test.sh runs its tests with the sanitizer options they need.
option(ZLOMKAR_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZLOMKAR_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
