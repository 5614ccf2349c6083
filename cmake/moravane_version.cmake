# Writes moravane_version.h from what git says of the source tree, touching it only when that changes, so that a
# build with the same description recompiles nothing. Run as a script: cmake -DSOURCE_DIR=... -DOUTPUT=... -P.
# A tag vMAJOR.MINOR.PATCH names the version; commits since the tag are the fourth part of Windows' file version.
# Without a tag the history counts from an imagined v0.0.0; without git the version is 0.0.0-unknown.

# The build reads its own repository, whoever owns its files (a container's checkout belongs to another user).
set(git git -c "safe.directory=${SOURCE_DIR}" -C "${SOURCE_DIR}")
execute_process(COMMAND ${git} describe --tags --match "v[0-9]*" --dirty OUTPUT_VARIABLE described
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE no_tag ERROR_QUIET)
if(no_tag)
  execute_process(COMMAND ${git} rev-list --count HEAD OUTPUT_VARIABLE commits OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE no_git ERROR_QUIET)
  execute_process(COMMAND ${git} describe --always --dirty OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                  ERROR_QUIET)
  if(no_git)
    set(described v0.0.0-unknown)
  else()
    set(described v0.0.0-${commits}-g${commit})
  endif()
endif()

string(REGEX MATCH "^v([0-9]+)(\\.([0-9]+))?(\\.([0-9]+))?" numbers "${described}")
set(major ${CMAKE_MATCH_1})
set(minor 0${CMAKE_MATCH_3})
set(patch 0${CMAKE_MATCH_5})
set(commits 0)
if(described MATCHES "-([0-9]+)-g[0-9a-f]+(-dirty)?$")
  set(commits ${CMAKE_MATCH_1})
endif()
foreach(part major minor patch commits)
  math(EXPR ${part} "${${part}}")
  if(${part} GREATER 65535)
    message(FATAL_ERROR "The version ${described} does not fit Windows' version resource: its ${part} part is above 65535")
  endif()
endforeach()
string(SUBSTRING "${described}" 1 -1 version)

file(WRITE "${OUTPUT}.new" "// Generated from `git describe` by cmake/moravane_version.cmake.
#pragma once
#define MORAVANE_VERSION \"${version}\"
#define MORAVANE_VERSION_MAJOR ${major}
#define MORAVANE_VERSION_MINOR ${minor}
#define MORAVANE_VERSION_PATCH ${patch}
#define MORAVANE_VERSION_COMMITS ${commits}
#define MORAVANE_FILE_VERSION \"${major}.${minor}.${patch}.${commits}\"
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
