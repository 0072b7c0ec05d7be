# Installs the build into a scratch prefix and checks that every file the
# desktop needs is where a desktop looks for it, and the manual where man
# finds it.
set(prefix ${BUILD_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(expected
  bin/zuvi-taggen
  libexec/zuvi-taggen/zuvi-taggen-windows
  libexec/zuvi-taggen/zuvi-taggen-commands
  share/man/man1/zuvi-taggen.1
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/zuvi-taggen.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${prefix}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
file(REMOVE_RECURSE ${prefix})
