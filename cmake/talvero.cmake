# talvero_test(<name> LABEL <folder> SOURCES <files...> [LIBS <libs...>] [QT])
# One test program per call, registered with CTest under the folder's label.
# QT: the program brings its own main (a QApplication); otherwise gtest_main.
function(talvero_test name)
  cmake_parse_arguments(T "QT" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    message(FATAL_ERROR "talvero_test(${name}): LABEL is required")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  if(T_QT)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    LABELS "${T_LABEL}"
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TALVERO_BIN=${CMAKE_BINARY_DIR}/bin"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# talvero_bench(<what> SOURCES <files...> [LIBS <libs...>]): target bench_<what>.
function(talvero_bench what)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${what} ${B_SOURCES})
  target_link_libraries(bench_${what} PRIVATE ${B_LIBS})
endfunction()
