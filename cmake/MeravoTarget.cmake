# Warnings as errors apply to our own targets only, never to third-party sources built beside them.
function(meravo_avvisi target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /WX)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
        # GCC 12 reports overlaps inside std::string's own inlined copies that cannot happen
        # (GCC bug 105329); with warnings as errors it would stop correct code from building.
        if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
            target_compile_options(${target} PRIVATE -Wno-restrict)
        endif()
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

# One QtTest executable per widget area, one ctest entry each, run on the offscreen platform so
# that the tests need no display.
function(meravo_test_gui nome)
    add_executable(${nome} ${ARGN})
    meravo_avvisi(${nome})
    set_target_properties(${nome} PROPERTIES AUTOMOC ON)
    target_link_libraries(${nome} PRIVATE meravo_gui meravo_doppi Qt6::Test)
    add_test(NAME ${nome} COMMAND ${nome})
    set_tests_properties(${nome} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

# A Windows executable's version (the project's one number), icon and manifest: per-monitor DPI
# aware, common controls 6, run with the rights of whoever starts it.
function(meravo_risorse_windows target descrizione)
    set(MERAVO_DESCRIZIONE "${descrizione}")
    set(MERAVO_NOME_INTERNO ${target})
    set(MERAVO_VERSIONE_QUATTRO "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
    set(MERAVO_ICONA ${PROJECT_SOURCE_DIR}/app/meravo.ico)
    set(MERAVO_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/app/meravo.manifest ${MERAVO_MANIFEST} @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/app/meravo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
