# The command line and the start-up messages: a small library the program and its tests share.
add_library(tarvel_startup STATIC app/command_line.cpp app/data_folder_message.cpp)
target_link_libraries(tarvel_startup PUBLIC tarvel_core)
target_compile_definitions(tarvel_startup PRIVATE TARVEL_VERSION="${PROJECT_VERSION}")
target_compile_options(tarvel_startup PRIVATE ${TARVEL_WARNINGS})
target_link_libraries(tarvel PRIVATE tarvel_startup)

# The untouched defaults also go to share/tarvel in the build folder: a copy run from there
# fills a new data folder (--data-dir) from them, as an installed copy does from
# <prefix>/share/tarvel. The files beside the executable are the trainee's own.
add_custom_command(TARGET tarvel POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_CURRENT_SOURCE_DIR}/data
            $<TARGET_FILE_DIR:tarvel>/share/tarvel
    VERBATIM)

if(TARVEL_BUILD_TESTS)
    find_package(GTest REQUIRED)
    include(GoogleTest)
    add_executable(tarvel_startup_tests tests/app/command_line_test.cpp)
    target_link_libraries(tarvel_startup_tests PRIVATE tarvel_startup tarvel_test_support
                                                       GTest::gtest_main)
    target_compile_definitions(tarvel_startup_tests PRIVATE TARVEL_VERSION="${PROJECT_VERSION}"
                               TARVEL_EXECUTABLE="$<TARGET_FILE:tarvel>")
    target_compile_options(tarvel_startup_tests PRIVATE ${TARVEL_WARNINGS})
    add_dependencies(tarvel_startup_tests tarvel)
    gtest_discover_tests(tarvel_startup_tests DISCOVERY_TIMEOUT 60)
endif()
