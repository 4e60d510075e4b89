# libFuzzer targets for the game's own readers of outside bytes: the level
# file, the results file (also the saved game), the settings values with the
# placement text and the settings file itself, and the solutions file of
# aquendo-levels. Included from
# fuzz/CMakeLists.txt, which makes sure the compiler is clang.
#
# The code under test is compiled into each target, so that libFuzzer sees
# its branches and the sanitizers watch it; asserts stay on.
set(_aquendo_fuzz_flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)

set(_aquendo_fuzz_core
  ${CMAKE_SOURCE_DIR}/core/Board.cpp
  ${CMAKE_SOURCE_DIR}/core/LevelFile.cpp
  ${CMAKE_SOURCE_DIR}/core/LevelRecord.cpp
  ${CMAKE_SOURCE_DIR}/core/Piece.cpp)
set(_aquendo_fuzz_store
  ${CMAKE_SOURCE_DIR}/store/IniText.cpp
  ${CMAKE_SOURCE_DIR}/store/ProgressFile.cpp
  ${CMAKE_SOURCE_DIR}/store/ProgressTable.cpp
  ${CMAKE_SOURCE_DIR}/store/SafeFile.cpp
  ${CMAKE_SOURCE_DIR}/store/SavedGameName.cpp
  ${CMAKE_SOURCE_DIR}/store/SettingsStore.cpp
  ${CMAKE_SOURCE_DIR}/store/StoreTexts.cpp
  ${CMAKE_SOURCE_DIR}/store/WindowPlacement.cpp)
set(_aquendo_fuzz_game
  ${CMAKE_SOURCE_DIR}/game/Game.cpp
  ${CMAKE_SOURCE_DIR}/game/MessageTexts.cpp
  ${CMAKE_SOURCE_DIR}/game/UiTexts.cpp)

function(aquendo_game_fuzzer name)
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${_aquendo_fuzz_flags} -UNDEBUG)
  target_link_options(${name} PRIVATE ${_aquendo_fuzz_flags})
endfunction()

aquendo_game_fuzzer(level_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/LevelFileFuzz.cpp
  ${_aquendo_fuzz_core} ${_aquendo_fuzz_store} ${_aquendo_fuzz_game})
aquendo_game_fuzzer(progress_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/ProgressFileFuzz.cpp
  ${_aquendo_fuzz_core} ${_aquendo_fuzz_store} ${_aquendo_fuzz_game})
aquendo_game_fuzzer(settings_fuzz ${CMAKE_CURRENT_LIST_DIR}/SettingsFuzz.cpp
  ${_aquendo_fuzz_store} ${CMAKE_SOURCE_DIR}/store/IniSettings.cpp)
target_link_libraries(settings_fuzz PRIVATE Qt6::Core)
aquendo_game_fuzzer(solutions_file_fuzz ${CMAKE_CURRENT_LIST_DIR}/SolutionsFileFuzz.cpp
  ${CMAKE_SOURCE_DIR}/tools/levels/Moves.cpp ${CMAKE_SOURCE_DIR}/tools/levels/SolutionsFile.cpp
  ${_aquendo_fuzz_core} ${_aquendo_fuzz_store} ${_aquendo_fuzz_game})

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
