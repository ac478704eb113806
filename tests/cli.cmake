kelvaro_add_test(tst_clioptions SOURCES tst_clioptions.cpp LIBS kelvaro_cli)

# Runs the built kelvaro-cli on generated trees.
kelvaro_add_test(tst_cli SOURCES tst_cli.cpp LIBS kelvaro_worker)
target_compile_definitions(tst_cli PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
add_dependencies(tst_cli kelvaro-cli)

# Undo and resume from journals damaged every way a byte, a line or a cut can
# damage them, checked for what they leave behind and what they report. Some
# thousands of runs of the program: natively only (the journal's code is the
# same on Windows, where tst_cli covers it).
if(NOT WIN32)
    kelvaro_add_test(tst_journaldamage SOURCES tst_journaldamage.cpp LIBS kelvaro_worker)
    target_compile_definitions(tst_journaldamage PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
    add_dependencies(tst_journaldamage kelvaro-cli)
    set_tests_properties(tst_journaldamage PROPERTIES TIMEOUT 600)
endif()

# Every kind of file in one tree through kelvaro-cli, its times compared with
# an outside reader's (exiftool, where it is installed: not on Windows).
if(NOT WIN32)
    kelvaro_add_test(tst_everykind SOURCES tst_everykind.cpp LIBS kelvaro_worker)
    target_compile_definitions(tst_everykind PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
    add_dependencies(tst_everykind kelvaro-cli)
endif()
