# Shared helpers: the warning flags of our own targets and test registration.

# Every target of ours links this; the flags are not set globally, so
# third-party code compiled in the tree keeps its own.
add_library(quell_warnings INTERFACE)
target_compile_options(quell_warnings INTERFACE -Wall -Wextra $<$<BOOL:${QUELL_WERROR}>:-Werror>)

# The external corpora live beside the project in a developer checkout only;
# tests that need them skip when this folder is absent.
set(QUELL_CORPORA_DIR "${PROJECT_SOURCE_DIR}/../shared/corpora" CACHE PATH "External test corpora")
set(QUELL_TEST_DATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")

# quell_add_gtest(<name> SOURCES <files...> [LIBS <libs...>])
# One GoogleTest executable, discovered case by case by ctest.
function(quell_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quell_core quell_warnings GTest::gtest GTest::gtest_main ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
    QUELL_CORPORA_DIR="${QUELL_CORPORA_DIR}"
    QUELL_TEST_DATA_DIR="${QUELL_TEST_DATA_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core)
endfunction()

# quell_add_qtest(<name> SOURCES <files...> [LIBS <libs...>])
# One Qt Test executable, run offscreen.
function(quell_add_qtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quell_ui quell_warnings Qt6::Test ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
    QUELL_CORPORA_DIR="${QUELL_CORPORA_DIR}"
    QUELL_TEST_DATA_DIR="${QUELL_TEST_DATA_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS ui
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu;QTWEBENGINE_DISABLE_SANDBOX=1;QUELLCORE_REGISTRY=/nonexistent/registry.reg;HOME=${CMAKE_BINARY_DIR}/test-home")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/test-home)
endfunction()
