# libFuzzer targets for the game's own readers of outside bytes: the level
# file, the results file (also the saved game), the settings values with the
# placement text and the settings file itself, and the solutions file of
# aquendo-levels. Included from fuzz/CMakeLists.txt, which makes sure the
# compiler is clang; the libraries they link carry the coverage already.
aquendo_fuzzer(level_file_fuzz LevelFileFuzz.cpp aquendo_game)
aquendo_fuzzer(progress_file_fuzz ProgressFileFuzz.cpp aquendo_game)
aquendo_fuzzer(settings_fuzz SettingsFuzz.cpp aquendo_settings Qt6::Core)
aquendo_fuzzer(solutions_file_fuzz SolutionsFileFuzz.cpp aquendo_levels_tool)
# Checking all 500 records or entries, the two would spend most of a run
# reporting their own comparisons to libFuzzer, which learns nothing from them.
set_source_files_properties(LevelFileFuzz.cpp ProgressFileFuzz.cpp PROPERTIES
  COMPILE_OPTIONS -fno-sanitize-coverage=trace-cmp)

# Runs one fuzzer for AQUENDO_FUZZ_SECONDS, nice'd, from its kept inputs
# (tests/fuzz-regressions/<name>/, which the regression test replays) into a
# corpus in the build tree; a crash input lands in <build>/fuzz-findings/.
#   cmake --build build-fuzz --target run_level_file_fuzz
set(AQUENDO_FUZZ_SECONDS 600 CACHE STRING "Seconds each run_<fuzzer> target runs its fuzzer")
foreach(_fuzzer level_file_fuzz progress_file_fuzz settings_fuzz solutions_file_fuzz)
  string(REPLACE "_fuzz" "" _inputs ${_fuzzer})
  string(REPLACE "_" "-" _inputs ${_inputs})
  set(_corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${_fuzzer})
  set(_findings ${CMAKE_BINARY_DIR}/fuzz-findings)
  # The level file reaches its 500 records and a fragment after them.
  set(_max_len 20000)
  if(_fuzzer STREQUAL "settings_fuzz")
    # Settings files are a few hundred bytes; the value limit is reached by a
    # smaller limit, and short inputs leave time for many more of them.
    set(_max_len 1024)
  endif()
  set(_seeds ${CMAKE_SOURCE_DIR}/tests/fuzz-regressions/${_inputs})
  if(_fuzzer STREQUAL "level_file_fuzz")
    set(_max_len 82000)
    list(APPEND _seeds ${CMAKE_SOURCE_DIR}/levels)
  endif()
  add_custom_target(run_${_fuzzer}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_corpus} ${_findings}
    COMMAND nice -n 10 $<TARGET_FILE:${_fuzzer}> -max_total_time=${AQUENDO_FUZZ_SECONDS} -max_len=${_max_len} -rss_limit_mb=4096
            -print_final_stats=1 -artifact_prefix=${_findings}/${_fuzzer}- ${_corpus} ${_seeds}
    DEPENDS ${_fuzzer}
    USES_TERMINAL
    COMMENT "Fuzzing ${_fuzzer} for ${AQUENDO_FUZZ_SECONDS} s")
endforeach()
