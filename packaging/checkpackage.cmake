# Builds the Debian package into a scratch folder of the build, holds it to
# lintian (no error, no warning), reads its control fields, unpacks it into a
# throw-away root and runs the program found there: a package that would not
# install cleanly, or not run once installed, fails here.
set(work ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${work})

function(run)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "OUT" "COMMAND")
  execute_process(COMMAND ${arg_COMMAND} RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 240)
  if(NOT result EQUAL 0)
    list(JOIN arg_COMMAND " " shown)
    message(FATAL_ERROR "${shown}: ${result}\n${out}${err}")
  endif()
  if(arg_OUT)
    string(STRIP "${out}" out)
    set(${arg_OUT} "${out}" PARENT_SCOPE)
  endif()
endfunction()

run(COMMAND ${CPACK} -G DEB -B ${work} --config ${BUILD_DIR}/CPackConfig.cmake)
run(COMMAND dpkg --print-architecture OUT arch)
set(deb ${work}/zuvi-taggen_${VERSION}_${arch}.deb)
if(NOT EXISTS ${deb})
  file(GLOB written ${work}/*.deb)
  message(FATAL_ERROR "expected ${deb}, cpack wrote: ${written}")
endif()

# lintian: its exit status counts errors and warnings, and so does its output,
# which goes into the test log either way.
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message(FATAL_ERROR "lintian is not installed (scripts/setup.sh installs it)")
endif()
execute_process(COMMAND ${LINTIAN} --fail-on error,warning --display-info ${deb}
                RESULT_VARIABLE result OUTPUT_VARIABLE report ERROR_VARIABLE complaints)
message("lintian ${deb}:\n${report}")
if(NOT result EQUAL 0 OR report MATCHES "(^|\n)[EW]: ")
  message(FATAL_ERROR "lintian (${result}) finds errors or warnings\n${complaints}")
endif()

# The control fields.
foreach(field Package Version Architecture Depends)
  run(COMMAND dpkg-deb --field ${deb} ${field} OUT value)
  set(control_${field} "${value}")
endforeach()
set(expected_Package zuvi-taggen)
set(expected_Version ${VERSION})
set(expected_Architecture ${arch})
foreach(field Package Version Architecture)
  if(NOT control_${field} STREQUAL expected_${field})
    message(FATAL_ERROR "${field}: '${control_${field}}', expected '${expected_${field}}'")
  endif()
endforeach()
foreach(dependency libqt6widgets6 fonts-arphic-uming)
  if(NOT control_Depends MATCHES "(^|, )${dependency}( |,|$)")
    message(FATAL_ERROR "Depends lacks ${dependency}: ${control_Depends}")
  endif()
endforeach()

# Unpacked as dpkg would install it.
set(root ${work}/root)
run(COMMAND dpkg -x ${deb} ${root})
set(expected
  usr/bin/zuvi-taggen
  usr/libexec/zuvi-taggen/zuvi-taggen-windows
  usr/libexec/zuvi-taggen/zuvi-taggen-commands
  usr/share/applications/com.zuvicms.TagGenerator.desktop
  usr/share/metainfo/com.zuvicms.TagGenerator.metainfo.xml
  usr/share/man/man1/zuvi-taggen.1.gz
  usr/share/doc/zuvi-taggen/copyright
  usr/share/doc/zuvi-taggen/changelog.gz)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/zuvi-taggen.png)
endforeach()
foreach(path IN LISTS expected)
  if(NOT EXISTS ${root}/${path})
    message(FATAL_ERROR "not in the package: /${path}")
  endif()
endforeach()

# The manual is the one of the sources, and the changelog's latest entry is
# this version's.
run(COMMAND gzip -dc ${root}/usr/share/man/man1/zuvi-taggen.1.gz OUT manual)
file(READ ${SOURCE_DIR}/docs/man/zuvi-taggen.1 source_manual)
string(STRIP "${source_manual}" source_manual)
if(NOT manual STREQUAL source_manual)
  message(FATAL_ERROR "the packaged manual differs from docs/man/zuvi-taggen.1")
endif()
run(COMMAND gzip -dc ${root}/usr/share/doc/zuvi-taggen/changelog.gz OUT changelog)
file(WRITE ${work}/changelog "${changelog}\n")
run(COMMAND dpkg-parsechangelog -l ${work}/changelog -S Version OUT logged)
if(NOT logged STREQUAL VERSION)
  message(FATAL_ERROR "the changelog's latest entry is ${logged}, the project is ${VERSION}: packaging/changelog needs an entry")
endif()

# The installed program runs against the system's libraries, and finds the
# program it hands the command to where the package put it.
run(COMMAND ${root}/usr/bin/zuvi-taggen --version OUT shown)
if(NOT shown STREQUAL "zuvi-taggen ${VERSION}")
  message(FATAL_ERROR "the packaged program says '${shown}', expected 'zuvi-taggen ${VERSION}'")
endif()

file(REMOVE_RECURSE ${work})
