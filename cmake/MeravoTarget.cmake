# Warnings as errors apply to our own targets only, never to third-party sources built beside them.
function(meravo_avvisi target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
    endif()
endfunction()

# One GoogleTest executable per subsystem. Natively each case becomes its own ctest entry;
# under an emulator (Wine) the executable runs as one entry, since listing cases through the
# emulator at build time would cost a Wine start per executable.
function(meravo_test_core nome)
    add_executable(${nome} ${ARGN})
    meravo_avvisi(${nome})
    target_link_libraries(${nome} PRIVATE meravo_core meravo_doppi GTest::gtest GTest::gmock GTest::gtest_main)
    if(CMAKE_CROSSCOMPILING)
        add_test(NAME ${nome} COMMAND ${nome})
    else()
        include(GoogleTest)
        gtest_discover_tests(${nome} DISCOVERY_TIMEOUT 60)
    endif()
endfunction()
