# The main window's form and the program's icons.
kelvaro_add_test(tst_mainwindow GUI
    SOURCES tst_mainwindow.cpp
    LIBS kelvaro_ui kelvaro_i18n kelvaro_resources Qt6::Widgets)
# The translations as the build compiles them.
target_compile_definitions(tst_mainwindow PRIVATE KELVARO_QM_DIR="${KELVARO_QM_DIR}")
add_dependencies(tst_mainwindow kelvaro_lrelease)

kelvaro_add_test(tst_icons
    SOURCES tst_icons.cpp
    LIBS kelvaro_resources Qt6::Gui)
target_compile_definitions(tst_icons PRIVATE
    KELVARO_ICO_FILE="${PROJECT_SOURCE_DIR}/app/kelvaro.ico")

# The window driven through whole passes.
kelvaro_add_test(tst_controller GUI
    SOURCES tst_controller.cpp
    LIBS kelvaro_ui kelvaro_resources Qt6::Widgets)
target_compile_definitions(tst_controller PRIVATE KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
add_dependencies(tst_controller kelvaro-cli)

# What the window tells while and after it writes, on a tree whose every
# picture write is slowed by the preloaded shim (Linux: LD_PRELOAD).
if(UNIX AND NOT APPLE)
    kelvaro_add_test(tst_windowcounts GUI
        SOURCES tst_windowcounts.cpp
        LIBS kelvaro_ui kelvaro_i18n kelvaro_resources Qt6::Widgets)
    target_compile_definitions(tst_windowcounts PRIVATE KELVARO_QM_DIR="${KELVARO_QM_DIR}"
                                                        KELVARO_CLI="$<TARGET_FILE:kelvaro-cli>")
    add_dependencies(tst_windowcounts kelvaro_lrelease kelvaro-cli kelvaro_faultshim)
    set_tests_properties(tst_windowcounts PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;KELVARO_FAULT_SLOW=100;LD_PRELOAD=$<TARGET_FILE:kelvaro_faultshim>"
        TIMEOUT 300)
endif()

# The window under dark and high-contrast desktop styles, and what a screen
# reader finds in it.
kelvaro_add_test(tst_windowlook GUI
    SOURCES tst_windowlook.cpp
    LIBS kelvaro_ui kelvaro_resources Qt6::Widgets)
target_compile_definitions(tst_windowlook PRIVATE KELVARO_QM_DIR="${KELVARO_QM_DIR}")
add_dependencies(tst_windowlook kelvaro_lrelease)

# The README's screenshots of the window (dist/screenshots.sh): built on
# request only, never run as a test.
add_executable(kelvaro-shots EXCLUDE_FROM_ALL windowshots.cpp)
target_link_libraries(kelvaro-shots PRIVATE kelvaro_testsupport kelvaro_ui kelvaro_i18n kelvaro_resources
    Qt6::Widgets)
target_compile_definitions(kelvaro-shots PRIVATE KELVARO_QM_DIR="${KELVARO_QM_DIR}")
add_dependencies(kelvaro-shots kelvaro_lrelease)
