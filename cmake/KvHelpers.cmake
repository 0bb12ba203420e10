# Small helpers shared by every folder's CMakeLists.txt.

# kv_library(NAME SOURCES a.cpp b.cpp ... LIBS dep1 dep2 ...)
# A static library whose public include root is the repository top, so that
# code includes "foundation/string.h", "engine/kv_engine.h" and so on.
function(kv_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# kv_test(NAME SOURCES a_test.cpp ... LIBS kv_x ...)
# One GoogleTest executable registered with CTest. Every test runs headless
# (SDL's offscreen driver) and leak checking is on under the sanitizers.
function(kv_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()

# kv_test_on_x(NAME): runs the test program NAME (made by kv_test) a second time, on an X server
# of its own through SDL's X11 driver (tests/run_on_x_server.py), for suites whose behaviour
# depends on what a real window system's buffers keep.
function(kv_test_on_x name)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_test(NAME ${name}_on_x
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/run_on_x_server.py
            $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${name}_on_x PROPERTIES
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    ENVIRONMENT "SDL_AUDIODRIVER=dummy;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()

# kv_bench(NAME SOURCES a_bench.cpp ... LIBS kv_x ...)
function(kv_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# kv_fuzz(NAME SOURCES a_fuzz.cpp ... LIBS kv_x ...): a libFuzzer target.
function(kv_fuzz name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
