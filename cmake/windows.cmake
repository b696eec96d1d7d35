# Windows builds: the program, its language module, and (64-bit) the tests
# that run under Wine.
enable_language(RC)

set(KVX_WIN_DEFINES WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0501 STRICT)
set(KVX_PROGRAM_FLAGS -Os -fno-exceptions -fno-rtti -fno-asynchronous-unwind-tables
    -ffunction-sections -Wall -Wextra)
set(KVX_STATIC_LINK -static -static-libgcc -static-libstdc++)

add_library(kvx_core STATIC ${PURE_SOURCES} ${WIN_SOURCES})
target_include_directories(kvx_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
target_compile_definitions(kvx_core PUBLIC ${KVX_WIN_DEFINES})
target_compile_options(kvx_core PRIVATE ${KVX_PROGRAM_FLAGS})
target_link_libraries(kvx_core PUBLIC ole32 shell32 uuid comctl32 advapi32 user32 gdi32 kernel32)

add_executable(uninstall WIN32 ${ENTRY_SOURCE} ${CMAKE_SOURCE_DIR}/resources/uninstall.rc)
set_target_properties(uninstall PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_compile_options(uninstall PRIVATE ${KVX_PROGRAM_FLAGS})
target_link_libraries(uninstall PRIVATE kvx_core)
target_link_options(uninstall PRIVATE ${KVX_STATIC_LINK} -s -Wl,--gc-sections
    -Wl,--file-alignment,512 -Wl,-Map,${CMAKE_BINARY_DIR}/uninstall.map)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/uninstall.rc APPEND PROPERTY
    OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/uninstall.manifest
    ${CMAKE_SOURCE_DIR}/resources/delicon.ico ${CMAKE_SOURCE_DIR}/resources/kvxicon.ico
    ${CMAKE_SOURCE_DIR}/resources/strings_zh.rc)

if(EXISTS ${CMAKE_SOURCE_DIR}/cmake/language-module.cmake)
  include(${CMAKE_SOURCE_DIR}/cmake/language-module.cmake)
endif()

option(KVX_WINE_TESTS "Build the tests that run under Wine" OFF)
if(KVX_WINE_TESTS)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # tests/<area>/*_wintest.cpp form <area>_wintests, run in the default (1252)
  # code page; *_cp936_wintest.cpp form <area>_cp936_wintests, run in code
  # page 936 (double-byte).
  foreach(area IN LISTS AREAS)
    file(GLOB all_wintests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/*_wintest.cpp)
    file(GLOB cp936_wintests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/*_cp936_wintest.cpp)
    set(plain_wintests ${all_wintests})
    if(cp936_wintests)
      list(REMOVE_ITEM plain_wintests ${cp936_wintests})
    endif()
    file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/common/*_win.cpp)
    foreach(kind plain cp936)
      if(kind STREQUAL "plain")
        set(sources ${plain_wintests})
        set(name ${area}_wintests)
        set(env "LANG=C.UTF-8;LC_ALL=C.UTF-8")
      else()
        set(sources ${cp936_wintests})
        set(name ${area}_cp936_wintests)
        set(env "LANG=zh_CN.UTF-8;LC_ALL=zh_CN.UTF-8")
      endif()
      if(NOT sources)
        continue()
      endif()
      add_executable(${name} ${sources} ${helpers})
      set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
      target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
      target_link_libraries(${name} PRIVATE kvx_core gtest gmock gtest_main)
      target_link_options(${name} PRIVATE ${KVX_STATIC_LINK})
      add_dependencies(${name} uninstall kvxlng kvxrtl)
      add_test(NAME ${name} COMMAND ${name})
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 900)
      # These change the shared registry of the prefix (HKCR extensions, the
      # settings key) and the shell's folders: never two at once.
      if(area MATCHES "^(registry|shell|uninstall|setup)$")
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK system_integration)
      endif()
    endforeach()
  endforeach()
endif()

if(KVX_WINE_TESTS)
  # Both program files, the shipped 32-bit one built beside this build.
  add_test(NAME program_file_64 COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-program
      ${CMAKE_BINARY_DIR}/uninstall.exe pe32+)
  add_test(NAME program_file_32 COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-program
      ${CMAKE_BINARY_DIR}/../win32/uninstall.exe pe32)
endif()
