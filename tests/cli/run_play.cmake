# Runs kvtool through its command line and checks the exit status, what it printed and
# whether it wrote its output figure. Called by ctest as
#   cmake -DKVTOOL=... -DARGS=play|SCRIPT|OUT -DWORKDIR=... [-DINPUT=FILE]
#         [-DEXPECT_EXIT=N] [-DEXPECT_STDOUT_FILE=FILE] [-DEXPECT_STDERR=REGEX]
#         [-DOUTPUT=FILE -DEXPECT_WRITTEN=YES|NO] -P run_play.cmake
string(REPLACE "|" ";" args "${ARGS}")
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
set(input_args)
if(INPUT)
  set(input_args INPUT_FILE "${INPUT}")
endif()
execute_process(COMMAND "${KVTOOL}" ${args}
  WORKING_DIRECTORY "${WORKDIR}"
  ${input_args}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE printed
  ERROR_VARIABLE errors)
if(NOT DEFINED EXPECT_EXIT)
  set(EXPECT_EXIT 0)
endif()
if(NOT status STREQUAL "${EXPECT_EXIT}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_EXIT}\nstdout:\n${printed}\nstderr:\n${errors}")
endif()
if(DEFINED EXPECT_STDOUT_FILE)
  file(READ "${EXPECT_STDOUT_FILE}" expected)
  if(NOT printed STREQUAL expected)
    message(FATAL_ERROR "stdout was:\n${printed}\nexpected:\n${expected}")
  endif()
endif()
if(DEFINED EXPECT_STDERR AND NOT errors MATCHES "${EXPECT_STDERR}")
  message(FATAL_ERROR "stderr was:\n${errors}\nexpected to match: ${EXPECT_STDERR}")
endif()
if(DEFINED OUTPUT)
  if(EXISTS "${WORKDIR}/${OUTPUT}")
    set(written YES)
  else()
    set(written NO)
  endif()
  if(NOT written STREQUAL EXPECT_WRITTEN)
    message(FATAL_ERROR "output ${OUTPUT} written: ${written}, expected ${EXPECT_WRITTEN}")
  endif()
endif()
