# The built-in PostScript prolog: prolog.ps becomes a C++ string literal,
# build/generated/postscript/prolog_ps.inc, which ps_encode.cpp includes.
# Included by the top-level CMakeLists.txt after the libraries are made;
# run as a script (cmake -DIN=... -DOUT=... -P prolog.cmake) it writes the
# literal.
if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${IN}" text)
  string(FIND "${text}" ")tgd_prolog\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${IN} contains the end of its string literal")
  endif()
  file(WRITE "${OUT}" "// Generated from prolog.ps by prolog.cmake.\nR\"tgd_prolog(${text})tgd_prolog\"\n")
  return()
endif()

set(TGD_PROLOG_SOURCE ${CMAKE_CURRENT_LIST_DIR}/prolog.ps)
set(TGD_PROLOG_INC ${CMAKE_BINARY_DIR}/generated/postscript/prolog_ps.inc)
add_custom_command(OUTPUT ${TGD_PROLOG_INC}
  COMMAND ${CMAKE_COMMAND} -DIN=${TGD_PROLOG_SOURCE} -DOUT=${TGD_PROLOG_INC} -P ${CMAKE_CURRENT_LIST_FILE}
  DEPENDS ${TGD_PROLOG_SOURCE} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Embedding the PostScript prolog")
target_sources(tgd_postscript PRIVATE ${TGD_PROLOG_INC})
target_include_directories(tgd_postscript PRIVATE ${CMAKE_BINARY_DIR}/generated)
