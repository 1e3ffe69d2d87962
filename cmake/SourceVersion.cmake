# The source commit, for --version: taken when CMake configures, from the checkout this source
# folder is the top of (a tarball unpacked inside another checkout has none). CMake configures
# again when HEAD moves. Without git, or outside a checkout, the commit is empty.
set(KADREL_SOURCE_COMMIT "")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel --short=12 HEAD
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE git_answer
                  RESULT_VARIABLE git_failed ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REPLACE "\n" ";" git_answer "${git_answer}")
  list(LENGTH git_answer git_lines)
  if(NOT git_failed AND git_lines EQUAL 2)
    list(GET git_answer 0 git_top)
    list(GET git_answer 1 git_commit)
    file(REAL_PATH "${git_top}" git_top)
    file(REAL_PATH "${PROJECT_SOURCE_DIR}" source_top)
    if(git_top STREQUAL source_top)
      set(KADREL_SOURCE_COMMIT ${git_commit})
      execute_process(COMMAND ${GIT_EXECUTABLE} status --porcelain --untracked-files=no
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE git_changes ERROR_QUIET)
      if(git_changes)
        string(APPEND KADREL_SOURCE_COMMIT " with local changes")
      endif()
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path HEAD --symbolic-full-name HEAD
                      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE git_paths
                      ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
      string(REPLACE "\n" ";" git_paths "${git_paths}")
      list(GET git_paths 0 head_file)
      set(watched ${head_file})
      list(LENGTH git_paths git_lines)
      if(git_lines EQUAL 2)
        list(GET git_paths 1 branch)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path ${branch} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                        OUTPUT_VARIABLE branch_file ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
        list(APPEND watched ${branch_file})
      endif()
      foreach(file IN LISTS watched)
        if(NOT IS_ABSOLUTE "${file}")
          set(file ${PROJECT_SOURCE_DIR}/${file})
        endif()
        if(EXISTS "${file}")
          set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${file}")
        endif()
      endforeach()
    endif()
  endif()
endif()
# Rewritten only when the commit changes, so that only what shows it is compiled again.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/SourceCommit.h
     CONTENT "#pragma once\n// Empty when not built from a git checkout.\n#define KADREL_SOURCE_COMMIT \"@KADREL_SOURCE_COMMIT@\"\n")
