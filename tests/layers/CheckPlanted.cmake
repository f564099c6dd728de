# The layer check over tests/layers/planted: it fails, names each planted include and no
# other file. Run: cmake -DCHECK=<CheckLayers.cmake> -DTREE=<planted dir> -P CheckPlanted.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${TREE} -P ${CHECK}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REGEX REPLACE "[ \t\r\n]+" " " said "${out} ${err}")
set(failures "")
if(result EQUAL 0)
  list(APPEND failures "the check passed")
endif()
foreach(expected
    "base/Types.h: includes images/Image.h, but base does not use images"
    "chips/OwnForm.h: core file includes the Qt library chips/ui/Form.h"
    "chips/OtherForm.h: core file includes the Qt library images/ui/View.h"
    "chips/QtText.h: core file includes Qt (QString)")
  string(FIND "${said}" "${expected}" at)
  if(at LESS 0)
    list(APPEND failures "not reported: ${expected}")
  endif()
endforeach()
foreach(allowed chips/Chip.h images/Image.h images/ui/View.h chips/ui/Form.h)
  string(FIND "${said}" "${allowed}:" at)
  if(at GREATER_EQUAL 0)
    list(APPEND failures "reported although allowed: ${allowed}")
  endif()
endforeach()
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "${text}\nThe check said:\n${err}")
endif()
