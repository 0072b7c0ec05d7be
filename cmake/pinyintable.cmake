# The pinyin of every Han character of the page data and the core's own
# texts, written by the hanpinyin tool (ICU's Han-Latin) when the project
# builds, and compiled into `target` with core/catalog/pinyin.cpp. The core
# and the libFuzzer build both take it from here.
function(zuvi_pinyin_table target tool repo)
  file(GLOB sources CONFIGURE_DEPENDS ${repo}/catalog/*.page ${repo}/core/*.cpp ${repo}/core/*/*.cpp)
  list(REMOVE_ITEM sources ${repo}/core/catalog/pinyin.cpp)
  set(table ${CMAKE_CURRENT_BINARY_DIR}/pinyintable.inc)
  add_custom_command(
    OUTPUT ${table}
    COMMAND ${tool} ${table} ${sources}
    DEPENDS ${tool} ${sources}
    COMMENT "Pinyin of the page texts from ICU"
    VERBATIM)
  target_sources(${target} PRIVATE ${table})
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
