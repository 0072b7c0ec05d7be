# Run by CPack over the staged tree of the Debian package, before it is packed
# (CPACK_PRE_BUILD_SCRIPTS): takes the compiler's notes out of the stripped
# programs, gzips the manual pages, adds the copyright and the changelog, and
# gives every folder the mode Debian expects whatever the umask of the build.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return() # a source package, say: it gets the tree as it is
endif()
set(stage ${CPACK_TEMPORARY_DIRECTORY})
set(prefix ${stage}${CPACK_PACKAGING_INSTALL_PREFIX})
if(NOT EXISTS ${prefix}/bin/${CPACK_PACKAGE_NAME})
  message(FATAL_ERROR "no staged program under ${prefix}")
endif()

set(file_mode OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(folder_mode OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# CPACK_STRIP_FILES has stripped the symbols; the .comment and .note sections
# are of no use at run time either (Debian's own packaging drops them too).
file(GLOB programs ${prefix}/bin/* ${prefix}/libexec/${CPACK_PACKAGE_NAME}/*)
foreach(program IN LISTS programs)
  file(READ ${program} magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND ${CPACK_ZUVI_OBJCOPY} --remove-section=.comment --remove-section=.note ${program}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "objcopy failed on ${program}")
    endif()
  endif()
endforeach()

# gzip -9n: the best compression, and no name or time in the header, so that
# the same text always gives the same bytes.
function(gzip_into source target)
  execute_process(COMMAND ${CPACK_ZUVI_GZIP} -9nc ${source}
                  OUTPUT_FILE ${target} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${source}")
  endif()
  file(CHMOD ${target} PERMISSIONS ${file_mode})
endfunction()

file(GLOB_RECURSE manuals ${prefix}/share/man/*)
foreach(manual IN LISTS manuals)
  if(NOT manual MATCHES "\\.gz$")
    gzip_into(${manual} ${manual}.gz)
    file(REMOVE ${manual})
  endif()
endforeach()

set(doc ${prefix}/${CPACK_ZUVI_DOC_DIR})
file(MAKE_DIRECTORY ${doc})
file(COPY ${CPACK_ZUVI_DEBIAN_DIR}/copyright DESTINATION ${doc} FILE_PERMISSIONS ${file_mode})
gzip_into(${CPACK_ZUVI_DEBIAN_DIR}/changelog ${doc}/changelog.gz)

file(GLOB_RECURSE folders LIST_DIRECTORIES true ${stage}/*)
foreach(folder IN LISTS folders)
  if(IS_DIRECTORY ${folder} AND NOT IS_SYMLINK ${folder})
    file(CHMOD ${folder} PERMISSIONS ${folder_mode})
  endif()
endforeach()
