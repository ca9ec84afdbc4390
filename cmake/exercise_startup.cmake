# The exercises, the key log and the replay wired around the panel: the program and its window
# tests share it.
add_library(tarvel_exercise_startup STATIC app/exercise_startup.cpp app/exercise_startup.h)
target_link_libraries(tarvel_exercise_startup PUBLIC tarvel_platform tarvel_startup)
target_compile_definitions(tarvel_exercise_startup PRIVATE TARVEL_VERSION="${PROJECT_VERSION}")
target_compile_options(tarvel_exercise_startup PRIVATE ${TARVEL_WARNINGS})
target_link_libraries(tarvel PRIVATE tarvel_exercise_startup)
if(TARGET tarvel_ui_tests)
    target_link_libraries(tarvel_ui_tests PRIVATE tarvel_exercise_startup)
endif()
