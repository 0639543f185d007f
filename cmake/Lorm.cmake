# lorm_library(<target> [DEPS <targets>...] [PUBLIC_LIBS <libs>...])
# One static library per folder; its sources are every .cpp of the folder.
function(lorm_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;PUBLIC_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS} ${ARG_PUBLIC_LIBS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS} ${ARG_PUBLIC_LIBS})
  endif()
endfunction()

# lorm_test(<name> DEPS <targets>...)
# One GoogleTest binary per test folder; its sources are every .cpp of the folder.
function(lorm_test name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  # In an optimised build the libraries are compiled as the program is; the tests' own
  # sources, long runs of assertion macros, are optimised lightly: much cheaper to compile,
  # and the code under test is the same.
  if(NOT LORM_SANITIZE AND CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    target_compile_options(${name} PRIVATE -O1)
  endif()
  target_compile_definitions(${name} PRIVATE LORM_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
                                             LORM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(properties ENVIRONMENT "LORM_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  if(ARG_LABELS)
    list(APPEND properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${LORM_TEST_PREFIX}" PROPERTIES ${properties})
endfunction()

# lorm_fuzz(<name> <source> DEPS <targets>...)
# One libFuzzer binary (clang, -DLORM_FUZZ=ON); the libraries it tests are instrumented
# for coverage by the caller with -fsanitize=fuzzer-no-link.
function(lorm_fuzz name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
