# A test program answers --help with its usage on the standard output and status 0, and
# writes nothing (run in a fresh folder that must stay empty).
#   cmake -DPROGRAM=exe -DNAME=usage-name -DWORK=dir -P CheckHelp.cmake
string(RANDOM LENGTH 10 tag)
set(dir ${WORK}/help-${tag})
file(MAKE_DIRECTORY ${dir})
execute_process(COMMAND ${PROGRAM} --help WORKING_DIRECTORY ${dir}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB left ${dir}/*)
file(REMOVE_RECURSE ${dir})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${NAME} --help ended with ${rc}: ${err}")
endif()
if(NOT out MATCHES "^usage: [^\n]*${NAME}")
  message(FATAL_ERROR "${NAME} --help printed no usage: '${out}'")
endif()
if(left)
  message(FATAL_ERROR "${NAME} --help wrote ${left}")
endif()
