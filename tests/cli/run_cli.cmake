# Runs weibflow-cli once and checks what it did. Variables (-D):
#   CLI           the program
#   ARGS          its arguments, separated by "|"
#   EXPECT_RC     expected exit code (default 0)
#   STDOUT_REGEX  "|"-separated regular expressions stdout must match
#   STDERR_REGEX  "|"-separated regular expressions stderr must match
#   NOT_REGEX     "|"-separated regular expressions neither stdout nor stderr may match
#   JSON_KEYS     "|"-separated members stdout's JSON object must hold; "a.b" looks inside
#   JSON_LENGTH   "|"-separated "member=length" pairs for arrays; "a.0" indexes an array
#   REPEAT_SAME   ON: run a second time and require identical stdout
#   SAME_AS       a|b|c: arguments of a second run whose stdout must equal the first's
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" args "${ARGS}")
if(NOT DEFINED EXPECT_RC)
  set(EXPECT_RC 0)
endif()

function(run_once out err rc)
  execute_process(COMMAND ${CLI} ${args} OUTPUT_VARIABLE o ERROR_VARIABLE e RESULT_VARIABLE r)
  set(${out} "${o}" PARENT_SCOPE)
  set(${err} "${e}" PARENT_SCOPE)
  set(${rc} "${r}" PARENT_SCOPE)
endfunction()

run_once(out err rc)
if(NOT rc EQUAL EXPECT_RC)
  message(FATAL_ERROR "exit code ${rc}, expected ${EXPECT_RC}\nstdout:\n${out}\nstderr:\n${err}")
endif()

# Each pattern must match its stream; a NOT_REGEX pattern must match neither.
set(both "${out}${err}")
foreach(pair "STDOUT_REGEX;out;match" "STDERR_REGEX;err;match" "NOT_REGEX;both;avoid")
  list(GET pair 0 var)
  list(GET pair 1 stream)
  list(GET pair 2 want)
  if(DEFINED ${var})
    string(REPLACE "|" ";" patterns "${${var}}")
    foreach(p IN LISTS patterns)
      if("${${stream}}" MATCHES "${p}")
        set(matched TRUE)
      else()
        set(matched FALSE)
      endif()
      if(want STREQUAL "match" AND NOT matched)
        message(FATAL_ERROR "${stream} does not match «${p}»:\n${${stream}}")
      elseif(want STREQUAL "avoid" AND matched)
        message(FATAL_ERROR "output matches «${p}»:\n${${stream}}")
      endif()
    endforeach()
  endif()
endforeach()

# A member path "a.b.0" as the argument list string(JSON) expects.
macro(json_path member)
  string(REPLACE "." ";" path "${member}")
endmacro()

if(DEFINED JSON_KEYS)
  string(REPLACE "|" ";" keys "${JSON_KEYS}")
  foreach(k IN LISTS keys)
    json_path("${k}")
    string(JSON type ERROR_VARIABLE jerr TYPE "${out}" ${path})
    if(jerr)
      message(FATAL_ERROR "JSON has no member ${k}: ${jerr}")
    endif()
  endforeach()
endif()

if(DEFINED JSON_LENGTH)
  string(REPLACE "|" ";" pairs "${JSON_LENGTH}")
  foreach(p IN LISTS pairs)
    string(REPLACE "=" ";" kv "${p}")
    list(GET kv 0 k)
    list(GET kv 1 want)
    json_path("${k}")
    string(JSON n ERROR_VARIABLE jerr LENGTH "${out}" ${path})
    if(jerr OR NOT n EQUAL want)
      message(FATAL_ERROR "JSON member ${k}: length ${n}, expected ${want} ${jerr}")
    endif()
  endforeach()
endif()

if(REPEAT_SAME)
  run_once(out2 err2 rc2)
  if(NOT out STREQUAL out2)
    message(FATAL_ERROR "second run differs:\n${out}\n---\n${out2}")
  endif()
endif()
if(DEFINED SAME_AS)
  string(REPLACE "|" ";" args "${SAME_AS}")
  run_once(out3 err3 rc3)
  if(NOT out STREQUAL out3)
    message(FATAL_ERROR "run with ${SAME_AS} differs:\n${out}\n---\n${out3}")
  endif()
endif()
