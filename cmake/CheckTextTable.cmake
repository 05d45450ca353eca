# quorvel_check_text_table(PATH): stops with an error unless PATH is a readable XML property
# list whose root is a dictionary of texts. Usable from a project (include + call) and as a
# script: cmake -DQUORVEL_TEXT_TABLE=PATH -P CheckTextTable.cmake
function(quorvel_check_text_table path)
  if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
    message(FATAL_ERROR "The interface text table is missing: ${path}\n"
      "Every text of Quorvel comes from it; restore it (git checkout -- resources/QVL_EN.plist).")
  endif()
  file(READ "${path}" head LIMIT 4096)
  if(NOT head MATCHES "<plist[^>]*>[ \t\r\n]*<dict>")
    message(FATAL_ERROR "The interface text table is not an XML property list with a "
      "dictionary at its root: ${path}")
  endif()
  if(NOT head MATCHES "<key>[^<]+</key>[ \t\r\n]*<string>")
    message(FATAL_ERROR "The interface text table holds no texts: ${path}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  quorvel_check_text_table("${QUORVEL_TEXT_TABLE}")
  message(STATUS "Text table ok: ${QUORVEL_TEXT_TABLE}")
endif()
