# Native Linux build of the byte-level code, for unit tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, fuzzing and benchmarks.
find_package(GTest REQUIRED)

set(KVX_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(kvx_bytes STATIC ${PURE_SOURCES})
target_include_directories(kvx_bytes PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR})
target_compile_options(kvx_bytes PUBLIC ${KVX_SANITIZE} -Wall -Wextra)
target_link_options(kvx_bytes PUBLIC ${KVX_SANITIZE})

set(NATIVE_TESTS)
foreach(area IN LISTS AREAS)
  file(GLOB area_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${area}/*_test.cpp)
  list(APPEND NATIVE_TESTS ${area_tests})
endforeach()
add_executable(native_tests ${NATIVE_TESTS})
target_include_directories(native_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(native_tests PRIVATE kvx_bytes GTest::gtest GTest::gmock GTest::gtest_main)
add_test(NAME native_tests COMMAND native_tests)
set_tests_properties(native_tests PROPERTIES
    ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1")

if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
