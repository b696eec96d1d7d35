# The language module kvxlng.dll: resources only, no code, no entry point.
function(kvx_resource_module target rc_file output_dir output_name)
  add_library(${target} SHARED ${rc_file})
  set_target_properties(${target} PROPERTIES LINKER_LANGUAGE C PREFIX "" OUTPUT_NAME ${output_name}
      RUNTIME_OUTPUT_DIRECTORY ${output_dir})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry=0 -Wl,--file-alignment,512 -s)
endfunction()

kvx_resource_module(kvxlng ${CMAKE_SOURCE_DIR}/resources/kvxlng.rc ${CMAKE_BINARY_DIR} kvxlng)
if(KVX_WINE_TESTS)
  kvx_resource_module(kvxrtl ${CMAKE_SOURCE_DIR}/tests/lang/rtl_module.rc
      ${CMAKE_BINARY_DIR}/tests kvxrtl)
endif()
