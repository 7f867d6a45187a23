# Compiler settings shared by every target of ours (not by GoogleTest's).

if(TESS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Two builds of one commit give the same tessivane.exe wherever the clone and the build folder
  # lie: the compilers write paths relative to them (__FILE__, debug information), and the linker
  # puts no time stamp into the PE header. The build folder's map comes last, so it wins for a
  # build folder inside the source tree. windres writes no paths.
  add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")
  add_link_options(-Wl,--no-insert-timestamp)

  # Hardening, asked for rather than left to binutils' defaults: address-space layout
  # randomisation with the full 64-bit range, no execution of data pages, no per-session
  # compatibility shims on Terminal Server, and a canary in every function with a local array or
  # a local whose address is taken. -fstack-protector-strong also goes to the link, where it
  # brings in libssp statically (the toolchain's -static). tools/check_exe.sh checks the result.
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>")
  add_link_options(-fstack-protector-strong
                   -Wl,--dynamicbase,--high-entropy-va,--nxcompat,--tsaware)

  # Small programs: every function and object in a section of its own, so that the linker can
  # leave out what nothing calls, the C++ library's included.
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections>"
                      "$<$<COMPILE_LANGUAGE:C,CXX>:-fdata-sections>")
  add_link_options(-Wl,--gc-sections)
endif()

function(tess_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(WIN32)
    # ANSI calls everywhere: strings hold bytes in the system's ANSI code page.
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  endif()
endfunction()

# One test executable of ours. Natively each test case is its own ctest test; under Wine each
# executable is one ctest test (its cases are listed in its own output), which keeps Wine start-ups
# and ctest's discovery runs through the emulator out of the picture.
function(tess_add_test target)
  add_executable(${target} ${ARGN})
  tess_target_options(${target})
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  if(WIN32)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=0)
    set_tests_properties(${target} PROPERTIES TIMEOUT 300)
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# One folder of the source tree as one static library: every .cpp directly in the folder but those
# named after EXCLUDE (built in a library of their own), linked with the libraries named before it.
# A folder may only link the folders below it (platform < core < game < ui).
function(tess_folder_library target)
  cmake_parse_arguments(PARSE_ARGV 1 folder "" "" "EXCLUDE")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(excluded ${folder_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${target} STATIC ${sources})
  tess_target_options(${target})
  if(folder_UNPARSED_ARGUMENTS)
    target_link_libraries(${target} PUBLIC ${folder_UNPARSED_ARGUMENTS})
  endif()
endfunction()

# Every tests/<folder>/test_*.cpp becomes its own test executable linked with the given libraries.
function(tess_test_folder)
  file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(source ${tests})
    get_filename_component(name ${source} NAME_WE)
    tess_add_test(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARGN})
  endforeach()
endfunction()
