# What makes SolvaneClips.exe a program a Windows user can trust and
# install: its resources (icon, manifest, version) and the zip that
# `cmake --build <dir> --target package` makes. Included from the top
# CMakeLists.txt once the SolvaneClips target exists.

enable_language(RC)

set(solvane_res ${CMAKE_BINARY_DIR}/resources)
set(SOLVANE_VERSION_4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(SOLVANE_ICON_FILE ${solvane_res}/SolvaneClips.ico)
set(SOLVANE_MANIFEST_FILE ${solvane_res}/SolvaneClips.manifest)
configure_file(${PROJECT_SOURCE_DIR}/packaging/SolvaneClips.manifest.in ${SOLVANE_MANIFEST_FILE} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/SolvaneClips.rc.in ${solvane_res}/SolvaneClips.rc @ONLY)

# The icon file is written from the picture the tray paints, by a small
# tool that runs on the build machine. Cross-compiling, the target's
# compiler makes programs this machine cannot run, so the tool is built
# with the build machine's own compiler.
set(icon_tool_sources ${PROJECT_SOURCE_DIR}/tools/make_icon.cpp
    ${PROJECT_SOURCE_DIR}/src/platform/components/clipboard_picture.h)
if(CMAKE_CROSSCOMPILING)
  find_program(SOLVANE_HOST_CXX NAMES c++ g++ clang++
               DOC "The build machine's C++ compiler, for the icon tool")
  if(NOT SOLVANE_HOST_CXX)
    message(FATAL_ERROR "No C++ compiler for the build machine (c++, g++ or clang++) to build the icon tool")
  endif()
  set(icon_tool ${solvane_res}/make_icon)
  add_custom_command(OUTPUT ${icon_tool}
    COMMAND ${SOLVANE_HOST_CXX} -std=c++17 -O1 -I${PROJECT_SOURCE_DIR}/src
            ${PROJECT_SOURCE_DIR}/tools/make_icon.cpp -o ${icon_tool}
    DEPENDS ${icon_tool_sources}
    COMMENT "Building the icon tool for the build machine"
    VERBATIM)
else()
  add_executable(solvane_make_icon ${icon_tool_sources})
  target_include_directories(solvane_make_icon PRIVATE ${PROJECT_SOURCE_DIR}/src)
  set(icon_tool solvane_make_icon)
endif()
add_custom_command(OUTPUT ${SOLVANE_ICON_FILE}
  COMMAND ${icon_tool} ${SOLVANE_ICON_FILE}
  DEPENDS ${icon_tool}
  COMMENT "Writing SolvaneClips.ico"
  VERBATIM)

# The icon and manifest are listed as sources so that they are made, and
# remade when they change, before the resource script is compiled.
target_sources(SolvaneClips PRIVATE ${solvane_res}/SolvaneClips.rc ${SOLVANE_ICON_FILE})
set_source_files_properties(${solvane_res}/SolvaneClips.rc PROPERTIES
  OBJECT_DEPENDS "${SOLVANE_ICON_FILE};${SOLVANE_MANIFEST_FILE}")
if(MSVC)
  # The manifest comes from the resource script; the linker's own would clash.
  target_link_options(SolvaneClips PRIVATE /MANIFEST:NO)
endif()

# ---- the zip ----

# The files of a first start, the read-me and the licence, made fresh at
# each configure in a folder of their own: the ones beside the built exe
# may have been used by a run since.
set(solvane_pkg ${CMAKE_BINARY_DIR}/package-files)
file(REMOVE_RECURSE ${solvane_pkg})
execute_process(
  COMMAND ${CMAKE_COMMAND} -DDIR=${solvane_pkg} -P ${PROJECT_SOURCE_DIR}/cmake/first_start_files.cmake
  RESULT_VARIABLE first_start_result)
if(NOT first_start_result EQUAL 0)
  message(FATAL_ERROR "Could not write the first start files into ${solvane_pkg}")
endif()
# Windows users read these in Notepad: CR LF line ends.
configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt.in ${solvane_pkg}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${solvane_pkg}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

# Everything at the zip's top: Explorer's "Extract All" makes the folder.
install(TARGETS SolvaneClips RUNTIME DESTINATION .)
install(FILES ${solvane_pkg}/Lb1.qlx ${solvane_pkg}/Cb1.qlx ${solvane_pkg}/prefs.qlx
              ${solvane_pkg}/README.txt ${solvane_pkg}/LICENSE.txt
        DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(solvane_arch win64)
else()
  set(solvane_arch win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME SolvaneClips)
set(CPACK_PACKAGE_VENDOR "Vardell Solvane Software")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Solvane Clips, a clipboard history for Windows")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME SolvaneClips-${PROJECT_VERSION}-${solvane_arch})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# The build keeps its debug information; the download does without.
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
