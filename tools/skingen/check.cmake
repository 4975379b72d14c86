# Runs the generator into OUT and compares every file with the skins in REF
# and the shared pictures in IMAGES: what the program carries must be
# exactly what the generator draws.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${GEN} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "skingen failed: ${rc}")
endif()
foreach(skin Linen Slate)
  foreach(file Options.dat Master.bmp)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/${skin}/${file} ${REF}/${skin}/${file}
                    RESULT_VARIABLE diff)
    if(NOT diff EQUAL 0)
      message(FATAL_ERROR "${skin}/${file} differs from what skingen draws: run skingen and skinpack again")
    endif()
  endforeach()
endforeach()
foreach(file SF SR SD SE SC acSHDA acSHDI ACHINT)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/images/${file}.png ${IMAGES}/${file}.png
                  RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "images/${file}.png differs from what skingen draws: run skingen and copy OUT/images")
  endif()
endforeach()
