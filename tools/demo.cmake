# The demonstration: runs examples/demo.tgd through tgd-host in an output
# folder, renders the terminal stream and the LaserJet file with tgd-view
# and the PostScript document with Ghostscript when it is there, and says
# where each file is.
#
#   cmake -DTGD=... -DTGD_HOST=... -DTGD_VIEW=... -DSCRIPT=... -DOUT=... -P demo.cmake
#
# Until tgd has a prolog of its own, Ghostscript cannot render the
# document: that is reported and the rest goes on.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${OUT} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}")
  endif()
endfunction()

run(${TGD_HOST} --tgd ${TGD} --terminal terminal.log ${SCRIPT})
# The terminal's pictures at two pixels a raster, as PNG and SVG; the
# LaserJet page at its 75 dots per inch.
run(${TGD_VIEW} --scale 2 terminal.log)
run(${TGD_VIEW} --svg terminal.log)
run(${TGD_VIEW} demo.lj)
file(GLOB pictures ${OUT}/frame-*.png ${OUT}/frame-*.svg ${OUT}/page-*.png)
find_program(GS gs)
if(GS)
  execute_process(COMMAND ${GS} -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r60 -sOutputFile=demo-ps.png demo.ps
                  WORKING_DIRECTORY ${OUT} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    list(APPEND pictures ${OUT}/demo-ps.png)
  else()
    message(WARNING "Ghostscript could not render demo.ps (status ${status})")
    file(REMOVE ${OUT}/demo-ps.png)
  endif()
else()
  message(STATUS "Ghostscript (gs) is not installed: demo.ps is not rendered")
endif()

message("")
message("The demonstration's files, in ${OUT}:")
message("  session script        ${SCRIPT}")
message("  terminal stream       ${OUT}/terminal.log")
message("  PostScript document   ${OUT}/demo.ps")
message("  LaserJet PCL file     ${OUT}/demo.lj")
message("  deferred graphics     ${OUT}/demo.dgf")
foreach(p IN LISTS pictures)
  message("  picture               ${p}")
endforeach()
