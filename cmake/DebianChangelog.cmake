# Writes CHANGELOG.md in the form of a Debian changelog, which a native package must carry as
# /usr/share/doc/PACKAGE/changelog.gz: one entry per "## VERSION (DATE)" heading, its "- " items as
# "  * " items.
# cmake -DINPUT=CHANGELOG.md -DOUTPUT=changelog -DPACKAGE=kadrel -DMAINTAINER="Name <mail>" -P DebianChangelog.cmake
file(STRINGS ${INPUT} lines)
set(text "")
set(trailer "")
foreach(line IN LISTS lines)
  if(line MATCHES "^## ([^ ]+) \\(([0-9-]+)\\)$")
    set(version ${CMAKE_MATCH_1})
    execute_process(COMMAND date -u -R -d "${CMAKE_MATCH_2} 12:00" OUTPUT_VARIABLE when
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND text "${trailer}${PACKAGE} (${version}) unstable; urgency=medium\n\n")
    set(trailer "\n -- ${MAINTAINER}  ${when}\n\n")
  elseif(trailer AND line MATCHES "^- (.*)")
    string(APPEND text "  * ${CMAKE_MATCH_1}\n")
  elseif(trailer AND line MATCHES "^  (.*)")
    string(APPEND text "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
if(NOT trailer)
  message(FATAL_ERROR "${INPUT} holds no \"## VERSION (DATE)\" heading")
endif()
file(WRITE ${OUTPUT} "${text}${trailer}")
