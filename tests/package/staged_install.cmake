# Installs the build into STAGE with DESTDIR and checks the result. Variables (-D):
#   BUILD_DIR, STAGE, BINDIR, DATADIR, MANDIR (GNUInstallDirs, relative), PROGRAMS, VERSION
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${STAGE})
set(root ${STAGE}/root)
set(prefix ${root}/usr)
# Whatever the staged programs keep for the user goes here, not into the real home.
set(home ${STAGE}/home)
file(MAKE_DIRECTORY ${root} ${home} ${STAGE}/elsewhere)

execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}\n${err}")
endif()

# Exactly the programs go into bin: no test, benchmark or fuzz target.
file(GLOB installed RELATIVE ${prefix}/${BINDIR} ${prefix}/${BINDIR}/*)
list(SORT installed)
set(want ${PROGRAMS})
list(SORT want)
if(NOT installed STREQUAL want)
  message(FATAL_ERROR "${BINDIR} holds «${installed}», expected «${want}»")
endif()

set(data ${prefix}/${DATADIR}/weibflow/data)
set(files ${data}/sample_fleet.txt ${data}/gar_sample.txt ${data}/ball_bearings.txt
          ${data}/README.md ${prefix}/${MANDIR}/man1/weibflow-cli.1.gz)
set(desktop ${prefix}/${DATADIR}/applications/weibflow.desktop)
if("weibflow" IN_LIST PROGRAMS)
  list(APPEND files ${desktop} ${prefix}/${DATADIR}/icons/hicolor/scalable/apps/weibflow.svg)
endif()
foreach(f IN LISTS files)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

function(run_staged out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env HOME=${home} XDG_CONFIG_HOME=${home}/.config
                          ${prefix}/${BINDIR}/weibflow-cli ${ARGN}
                  WORKING_DIRECTORY ${STAGE}/elsewhere
                  RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "weibflow-cli ${ARGN}: exit ${rc}\n${o}\n${e}")
  endif()
  set(${out} "${o}" PARENT_SCOPE)
endfunction()

run_staged(out load ${data}/sample_fleet.txt)
foreach(p "Парк изделий серии 7" "Среднее время гарантии" "Источник отказа")
  if(NOT out MATCHES "${p}")
    message(FATAL_ERROR "load output lacks «${p}»:\n${out}")
  endif()
endforeach()
run_staged(out --version)
if(NOT out MATCHES "^weibflow-cli ${VERSION}\n$")
  message(FATAL_ERROR "--version printed «${out}», expected weibflow-cli ${VERSION}")
endif()

# The external optimizer is found next to the installed program.
run_staged(out fit ${data}/sample_fleet.txt --models external --json)
string(JSON a ERROR_VARIABLE jerr GET "${out}" models ModExt A)
if(jerr)
  message(FATAL_ERROR "no external model: ${jerr}\n${out}")
endif()

if("weibflow" IN_LIST PROGRAMS)
  find_program(validate desktop-file-validate REQUIRED)
  execute_process(COMMAND ${validate} ${desktop} RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 0 OR NOT "${o}${e}" STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate ${desktop}:\n${o}${e}")
  endif()
endif()
