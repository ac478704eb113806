kelvaro_add_test(tst_clioptions SOURCES tst_clioptions.cpp LIBS kelvaro_cli)

# Runs the built kelvaro-cli on generated trees.
kelvaro_add_test(tst_cli SOURCES tst_cli.cpp LIBS kelvaro_worker)
target_compile_definitions(tst_cli PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
add_dependencies(tst_cli kelvaro-cli)
