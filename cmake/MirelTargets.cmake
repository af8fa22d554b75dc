# Helpers shared by every CMakeLists of the tree.

# mirel_add_test(NAME [SERIAL] SOURCES... LIBS lib...)
# One GoogleTest executable, registered test by test with CTest and run
# headless on the offscreen platform. SERIAL tests run alone (a real X
# server and window under input from outside).
include(GoogleTest)
function(mirel_add_test name)
  cmake_parse_arguments(T "SERIAL" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    MIREL_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    MIREL_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    MIREL_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config"
               RUN_SERIAL ${T_SERIAL}
    DISCOVERY_TIMEOUT 60)
endfunction()

# mirel_library(NAME) — a static library whose sources are added by the
# folders that make it up (target_sources). A generated anchor file keeps
# the target valid while a layer has no sources of its own yet.
function(mirel_library name)
  set(anchor ${CMAKE_CURRENT_BINARY_DIR}/${name}_anchor.cpp)
  if(NOT EXISTS ${anchor})
    file(WRITE ${anchor} "// Generated: keeps the ${name} target valid.\n")
  endif()
  add_library(${name} STATIC ${anchor})
endfunction()
