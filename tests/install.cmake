# The installed tree and the Debian package, both made from this build. They
# need the whole build done first (ctest after `cmake --build`).
if(NOT KELVARO_APP_ID)
    return()   # no install rules on this platform
endif()

set(install_test_definitions
    KELVARO_APP_ID="${KELVARO_APP_ID}"
    KELVARO_VERSION="${PROJECT_VERSION}"
    KELVARO_BUILD_DIR="${PROJECT_BINARY_DIR}"
    KELVARO_CMAKE="${CMAKE_COMMAND}"
    KELVARO_CPACK="${CMAKE_CPACK_COMMAND}")
if(TARGET kelvaro-cli)
    list(APPEND install_test_definitions KELVARO_HAS_CLI)
endif()

if(UNIX AND NOT APPLE)
    kelvaro_add_test(tst_install SOURCES tst_install.cpp LIBS Qt6::Gui)
    target_compile_definitions(tst_install PRIVATE ${install_test_definitions})
    set_tests_properties(tst_install PROPERTIES TIMEOUT 300)

    kelvaro_add_test(tst_debpackage SOURCES tst_debpackage.cpp LIBS Qt6::Core)
    target_compile_definitions(tst_debpackage PRIVATE ${install_test_definitions})
    set_tests_properties(tst_debpackage PROPERTIES TIMEOUT 600)
endif()
