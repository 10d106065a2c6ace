include(GoogleTest)

# brellox_test_folder(NAME LIBS lib...)
# Builds every *.cpp of the calling tests/ folder into one test program and
# registers its cases with CTest. Tests run headless in the runtime data tree.
function(brellox_test_folder name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(test_${name} PRIVATE
    BRELLOX_TEST_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
    BRELLOX_GAME_DIR="${BRELLOX_GAME_DIR}")
  gtest_discover_tests(test_${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    # Discovery keeps only the first variable of this list; `make test` runs
    # ctest with all three set, and the tests inherit them from it.
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;EGL_PLATFORM=surfaceless"
    DISCOVERY_TIMEOUT 60)
endfunction()
