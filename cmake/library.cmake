# One library per subsystem folder. Files named *_win.cpp call Windows and
# build only for Windows; every other .cpp is plain C++ and builds everywhere,
# so the portable half also runs natively under the sanitizers.
function(quorvexa_library name)
    cmake_parse_arguments(arg "" "" "USES;WINDOWS_LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT WIN32)
        list(FILTER sources EXCLUDE REGEX "_win\\.cpp$")
    endif()
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${arg_USES})
    if(WIN32)
        target_link_libraries(${name} PUBLIC ${arg_WINDOWS_LIBS})
    endif()
endfunction()

# The program, built for one site host; a test build can point it at a
# local site under another target name. The host is compiled into a small
# generated source of the target's own.
function(quorvexa_program name host)
    set(host_source ${CMAKE_CURRENT_BINARY_DIR}/${name}_site_host.cpp)
    file(CONFIGURE OUTPUT ${host_source} CONTENT
         "#include \"checkin/site.h\"\nconst char site_host[] = \"${host}\";\n")
    add_executable(${name} WIN32 ${PROJECT_SOURCE_DIR}/app/program/main.cpp ${host_source}
                                 ${PROJECT_SOURCE_DIR}/app/program/program.rc)
    target_link_libraries(${name} PRIVATE app checkin)
endfunction()
