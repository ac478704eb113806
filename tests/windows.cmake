# Windows only: kelvaro-cli.exe on names outside the ANSI code page, the
# read-only attribute, file times before 1970 and after 2038, hard links and
# NUL as standard input. `./dev.sh windows` runs it under Wine.
if(NOT WIN32)
    return()
endif()

kelvaro_add_test(tst_windows SOURCES tst_windows.cpp LIBS kelvaro_worker)
target_compile_definitions(tst_windows PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
add_dependencies(tst_windows kelvaro-cli)
set_tests_properties(tst_windows PROPERTIES LABELS windows)
