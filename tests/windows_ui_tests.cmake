# The window tests built as Windows programs (run under Wine with QT_QPA_PLATFORM=offscreen).
file(GLOB ui_support CONFIGURE_DEPENDS support/ui/*.cpp support/ui/*.h)
add_library(vekuitestsupport STATIC ${ui_support})
target_link_libraries(vekuitestsupport PUBLIC vekstudiolib Qt6::Test)
target_include_directories(vekuitestsupport PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_precompile_headers(vekuitestsupport PRIVATE <QtWidgets/QtWidgets> <QtTest/QtTest>)
foreach(test_file IN ITEMS app/ui/every_window_screenshot_test.cpp
                           objects/ui/object_compiler_window_test.cpp
                           sprites/ui/sprite_editor_window_test.cpp
                           app/ui/main_window_test.cpp
                           win32/ui/dde_injection_test.cpp)
    get_filename_component(test_name ${test_file} NAME_WE)
    get_filename_component(test_folder ${test_file} DIRECTORY)
    get_filename_component(subsystem ${test_folder} DIRECTORY)
    set(target uitest_${subsystem}_${test_name})
    add_executable(${target} ${test_file})
    target_link_libraries(${target} PRIVATE vekuitestsupport)
    target_precompile_headers(${target} REUSE_FROM vekuitestsupport)
    add_dependencies(${target} vek vivarium-sim)
endforeach()
