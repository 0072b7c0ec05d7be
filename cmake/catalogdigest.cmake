# The catalog's digest (core/catalog/catalogdigest.h): what the commands
# would derive from the page data at every start, derived once when the
# project builds. The catalogdigest tool is the core's own code, `code` (an
# object library of every core source but catalogdigest.cpp), with the page
# data and catalogdigest.cpp built without a digest; it writes the digest,
# which `target` compiles in with catalogdigest.cpp. A change to the core or
# to a page rebuilds the tool and so the digest.
function(zuvi_catalog_digest target code repo)
  file(GLOB pages CONFIGURE_DEPENDS ${repo}/catalog/*.page)
  add_executable(catalogdigest ${repo}/tools/catalogdigest.cpp ${repo}/core/catalog/catalogdigest.cpp)
  target_link_libraries(catalogdigest PRIVATE ${code})
  qt_add_resources(catalogdigest "catalogpages" PREFIX "/catalog" BASE ${repo}/catalog FILES ${pages})
  zuvi_warnings(catalogdigest)

  set(digest ${CMAKE_CURRENT_BINARY_DIR}/catalogdigest.inc)
  add_custom_command(
    OUTPUT ${digest}
    COMMAND catalogdigest ${digest}
    DEPENDS catalogdigest
    COMMENT "The catalog's digest from the page data"
    VERBATIM)
  target_sources(${target} PRIVATE ${repo}/core/catalog/catalogdigest.cpp ${digest})
  target_compile_definitions(${target} PRIVATE ZUVI_CATALOG_DIGEST)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
