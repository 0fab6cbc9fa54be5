# pelkar_add_test(NAME <name> SOURCES <files...> LIBS <libraries...>)
# One Qt Test executable per source folder (two where a folder has windows:
# tst_core and tst_core_ui). Several test classes may share one executable:
# the support main runs every class registered with PELKAR_TEST. An executable
# that links pelkar_ui gets a QApplication, any other a QGuiApplication.
function(pelkar_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    if(pelkar_ui IN_LIST T_LIBS)
        set(main pelkar_test_main_ui)
    else()
        set(main pelkar_test_main)
    endif()
    target_link_libraries(${T_NAME} PRIVATE ${main} pelkar_test_support ${T_LIBS} Qt6::Test)
    target_compile_definitions(${T_NAME} PRIVATE
        PELKAR_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;PELKAR_PROGRAM=$<TARGET_FILE:pelkar>"
        TIMEOUT 900)
endfunction()
