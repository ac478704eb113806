# Interrupted, failed and undone passes of the built kelvaro-cli, with faults
# put in its file calls by a preloaded shim (Linux: LD_PRELOAD, /proc/self/fd).
if(UNIX AND NOT APPLE)
    add_library(kelvaro_faultshim MODULE faultshim.c)
    target_link_libraries(kelvaro_faultshim PRIVATE ${CMAKE_DL_LIBS})
    set_target_properties(kelvaro_faultshim PROPERTIES PREFIX "")

    kelvaro_add_test(tst_interrupt SOURCES tst_interrupt.cpp)
    target_compile_definitions(tst_interrupt PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>"
                                                     KELVARO_FAULT_SHIM="$<TARGET_FILE:kelvaro_faultshim>")
    add_dependencies(tst_interrupt kelvaro-cli kelvaro_faultshim)
    set_tests_properties(tst_interrupt PROPERTIES TIMEOUT 600)

    kelvaro_add_test(tst_cutwrites SOURCES tst_cutwrites.cpp LIBS kelvaro_formats)
    target_compile_definitions(tst_cutwrites PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>"
                                                     KELVARO_FAULT_SHIM="$<TARGET_FILE:kelvaro_faultshim>")
    add_dependencies(tst_cutwrites kelvaro-cli kelvaro_faultshim)
endif()
