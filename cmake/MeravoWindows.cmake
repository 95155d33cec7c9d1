# What the Windows installer carries, as `cmake --install` lays it out: the executables at the
# root, Qt's DLLs beside them with only the plugins the module loads, the MinGW runtime, the
# sample tables, the Sogei folder with its note, and the licences of what is redistributed.
# Qt stays in DLLs so that a practice may replace them, as the LGPL allows.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
install(TARGETS meravo meravo-tabella RUNTIME DESTINATION .)

install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
              $<TARGET_FILE:Qt6::PrintSupport>
        DESTINATION .)
# The platform (windows, printing included) and the native Windows style; Qt looks for
# plugins in folders named after their kind beside the executable.
# Without its platform plugin Qt shows no window at all; printing on Windows needs no plugin
# of its own (Qt's print support talks to the system directly).
set(MERAVO_QT_PLUGIN $<TARGET_FILE_DIR:Qt6::Core>/../plugins)
install(FILES ${MERAVO_QT_PLUGIN}/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${MERAVO_QT_PLUGIN}/styles/qwindowsvistastyle.dll DESTINATION styles)

# Qt's own dialogs in Italian: the module loads "translations/qtbase_it.qm" beside itself first.
# A .qm file is the same on every platform, so Debian's (qt6-translations-l10n) serves.
set(MERAVO_QT_ITALIANO /usr/share/qt6/translations/qtbase_it.qm)
if(NOT EXISTS ${MERAVO_QT_ITALIANO})
    message(FATAL_ERROR "${MERAVO_QT_ITALIANO} not found: install qt6-translations-l10n")
endif()
install(FILES ${MERAVO_QT_ITALIANO} DESTINATION translations)

# The runtime of the compiler that built Qt and the module, one copy for both.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE percorso OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${percorso}" OR NOT EXISTS "${percorso}")
        message(FATAL_ERROR "MinGW runtime ${dll} not found")
    endif()
    install(FILES ${percorso} DESTINATION .)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/icdIX_completo.tda
              ${PROJECT_SOURCE_DIR}/data/icdIX_secondario_completo.tda
              ${PROJECT_SOURCE_DIR}/data/comuni.tda ${PROJECT_SOURCE_DIR}/data/StatiEsteri_siss.txt
        DESTINATION tabelle)
install(FILES ${PROJECT_SOURCE_DIR}/installer/Sogei-LEGGIMI.txt DESTINATION Sogei
        RENAME LEGGIMI.txt)
install(FILES /usr/share/common-licenses/LGPL-3 DESTINATION licenze RENAME Qt-LGPL-3.txt)
install(FILES /usr/share/common-licenses/GPL-3 DESTINATION licenze RENAME GPL-3.txt)

# The installer's script, with the version of this build.
set(MERAVO_ICONA ${PROJECT_SOURCE_DIR}/app/meravo.ico)
configure_file(${PROJECT_SOURCE_DIR}/installer/meravo.nsi.in ${CMAKE_BINARY_DIR}/meravo.nsi @ONLY)
