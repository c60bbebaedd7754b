# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the generator into a fresh folder and checks that every picture it draws is the committed one
# in assets/data, and that assets/data holds nothing the generator does not draw (apart from the
# sample photograph, which is converted once from its PNG). The pictures the rendering reads (the
# pencil tone strip, the ink tiles, the paper textures, the frames) are our own arithmetic and must be
# the same bytes; the interface pictures drawn with Qt's painter (buttons, icons, banner, splash ...)
# differ by a level or two on some edge pixels from one processor to another, and are compared by the
# generator's --compare with the tolerance it states.
#   cmake -DGENERATOR=... -DDATA_DIR=... -DWORK_DIR=... -P compare_outputs.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
execute_process(COMMAND "${GENERATOR}" "${WORK_DIR}" RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed (${rc}): ${err}")
endif()

file(GLOB made RELATIVE "${WORK_DIR}" "${WORK_DIR}/*")
list(LENGTH made count)
if(count EQUAL 0)
  message(FATAL_ERROR "the generator wrote nothing into ${WORK_DIR}")
endif()

set(problems "")
foreach(name IN LISTS made)
  if(NOT EXISTS "${DATA_DIR}/${name}")
    list(APPEND problems "${name}: not committed")
  else()
    if(name MATCHES "^(pencil_tone_strip|ink_tile_[0-9]+|paper_[0-9]+|frame_[0-9]+)\\.")
      execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/${name}" "${DATA_DIR}/${name}"
                      RESULT_VARIABLE same)
      if(NOT same EQUAL 0)
        list(APPEND problems "${name}: differs from the committed file")
      endif()
    else()
      execute_process(COMMAND "${GENERATOR}" --compare "${DATA_DIR}/${name}" "${WORK_DIR}/${name}"
                      RESULT_VARIABLE alike OUTPUT_VARIABLE said)
      if(said)
        message(STATUS "${said}")
      endif()
      if(NOT alike EQUAL 0)
        list(APPEND problems "${name}: differs from the committed file beyond the painter's tolerance")
      endif()
    endif()
  endif()
endforeach()

file(GLOB committed RELATIVE "${DATA_DIR}" "${DATA_DIR}/*")
foreach(name IN LISTS committed)
  list(FIND made "${name}" found)
  if(found EQUAL -1 AND NOT name MATCHES "^sample_(photo|drawing)\\.jpg$")
    list(APPEND problems "${name}: committed but not drawn by the generator")
  endif()
endforeach()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "assets/data is not what the generator draws (run `make assets`):\n  ${text}")
endif()
message(STATUS "${count} pictures reproduced (the rendering's byte for byte, the painter's within its tolerance)")
