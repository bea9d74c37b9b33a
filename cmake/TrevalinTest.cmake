# trevalin_add_test(<name> SOURCES ... [LIBS ...] [DEFINES ...] [QTEST] [OWN_MAIN])
#
# One test program. GoogleTest programs (the default) get gtest and gmock,
# GoogleTest's main unless OWN_MAIN is given, and their tests registered one
# by one with CTest. QTEST programs are Qt Test programs, moc'd and run as one
# CTest test. Every test runs on Qt's offscreen platform and sees the source
# folder as TREVALIN_SOURCE_DIR; the test helpers are included as
# "support/..." and "gui/support/...".
function(trevalin_add_test name)
  cmake_parse_arguments(T "QTEST;OWN_MAIN" "" "SOURCES;LIBS;DEFINES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # Exports in tests load the module just built (see UseBuiltExportModule):
  # its object is linked directly, so that it is part of every program.
  target_link_libraries(${name} PRIVATE ${T_LIBS} trevalin_test_support trevalin_test_module_dir)
  target_compile_definitions(${name} PRIVATE TREVALIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ${T_DEFINES})
  add_dependencies(${name} trevalin_export_module trevalin_faces_module)
  if(T_QTEST)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gmock)
    if(NOT T_OWN_MAIN)
      target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
