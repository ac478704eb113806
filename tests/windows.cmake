# Windows only: kelvaro-cli.exe on names outside the ANSI code page, the
# read-only attribute, file times before 1970 and after 2038, hard links and
# NUL as standard input. `./dev.sh windows` runs it under Wine.
if(NOT WIN32)
    # The Windows build's own step on Linux: the deb-src entries it derives
    # from APT's sources.
    if(UNIX AND NOT APPLE)
        kelvaro_add_test(tst_debsources SOURCES tst_debsources.cpp LIBS Qt6::Core)
        target_compile_definitions(tst_debsources PRIVATE
            KELVARO_DEB_SRC_ENTRIES="${PROJECT_SOURCE_DIR}/dist/windows/deb-src-entries.sh")
    endif()
    return()
endif()

kelvaro_add_test(tst_windows SOURCES tst_windows.cpp LIBS kelvaro_worker)
target_compile_definitions(tst_windows PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
add_dependencies(tst_windows kelvaro-cli)
set_tests_properties(tst_windows PROPERTIES LABELS windows)
# Local time in a system zone east of UTC, whatever TZ says: Wine takes the
# system's zone from the Unix TZ it is started with, and passes the variable
# on to the Windows programs, where it must not count. (The other cases keep
# the machine's zone; this one skips where the zone is not Central European.)
add_test(NAME tst_windows_zone COMMAND tst_windows localTimeIsTheSystemZone)
set_tests_properties(tst_windows_zone PROPERTIES LABELS windows RESOURCE_LOCK kelvaro_journal
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=Europe/Berlin")
