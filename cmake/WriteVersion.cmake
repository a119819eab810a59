# Run at build time (cmake -P): writes OUTPUT with TARVEX_VERSION_LINE, "Tarvex VERSION", followed by
# "(commit ABCDEF123456)" when SOURCE_DIR is a git checkout, and ", modified" inside the brackets when
# tracked files differ from that commit.
cmake_minimum_required(VERSION 3.25)
set(line "Tarvex ${VERSION}")
find_program(git_program git)
if(git_program AND EXISTS ${SOURCE_DIR}/.git)
  execute_process(
    COMMAND ${git_program} -C ${SOURCE_DIR} rev-parse --short=12 HEAD
    OUTPUT_VARIABLE commit
    RESULT_VARIABLE failed
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT failed AND commit)
    execute_process(COMMAND ${git_program} -C ${SOURCE_DIR} diff --quiet HEAD -- RESULT_VARIABLE changed
                    OUTPUT_QUIET ERROR_QUIET)
    if(changed EQUAL 1)
      set(line "${line} (commit ${commit}, modified)")
    else()
      set(line "${line} (commit ${commit})")
    endif()
  endif()
endif()
set(content "// Written at build time by cmake/WriteVersion.cmake.\n#pragma once\n")
string(APPEND content "#define TARVEX_VERSION_LINE \"${line}\"\n")
file(CONFIGURE OUTPUT ${OUTPUT} CONTENT "${content}")
