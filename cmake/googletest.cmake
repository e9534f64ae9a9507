# GoogleTest from Debian's source package, built by the same compiler and
# with the same flags as the code under test.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# One test program, run by ctest as one entry (under Wine when cross-built).
function(quorvexa_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    # The Wine wrapper exits with 77 where the machine cannot run the program.
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
endfunction()

# The test program of one folder of tests/: every *_test.cpp in it, and on
# Windows also every *_win_test.cpp. Extra arguments are libraries to link.
function(quorvexa_folder_tests name)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    if(NOT WIN32)
        list(FILTER sources EXCLUDE REGEX "_win_test\\.cpp$")
    endif()
    if(sources)
        quorvexa_test(${name} ${sources})
        target_link_libraries(${name} PRIVATE ${ARGN})
        target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    endif()
endfunction()
