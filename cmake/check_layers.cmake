# Fails the build when a source file includes a folder of a layer above its
# own, or of a layer beside it. The layers, bottom up: base, platform, core,
# settings, then capture, history, paste and search side by side, share,
# ui, app. Inside
# platform/, the interfaces (the files at its top) come first and include no
# folder of it; components/ is built on them; the implementations (fake/,
# std/, win32/) sit beside the components: only app/ may include win32/, and
# only the implementations themselves (and app/, tests, tools) include fake/
# or std/.
# Run as: cmake -DSRC=<source folder> -P check_layers.cmake
# Each folder's rank; folders of one rank stand side by side.
set(rank_base 0)
set(rank_platform 1)
set(rank_core 2)
set(rank_settings 3)
set(rank_capture 4)
set(rank_history 4)
set(rank_paste 4)
set(rank_search 4)
set(rank_share 5)
set(rank_ui 6)
set(rank_app 7)
file(GLOB_RECURSE sources RELATIVE "${SRC}" "${SRC}/*.h" "${SRC}/*.cpp")
set(faults "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${source}")
  if(NOT DEFINED rank_${layer})
    continue()
  endif()
  set(rank ${rank_${layer}})
  string(REGEX MATCH "^platform/(fake|std|win32)/" implementation "${source}")
  string(REGEX MATCH "^platform/[^/]+$" interface "${source}")
  file(STRINGS "${SRC}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" included "${line}")
    string(REGEX MATCH "^[^/]+" target "${included}")
    if(NOT DEFINED rank_${target})
      continue()
    endif()
    set(target_rank ${rank_${target}})
    if(target_rank GREATER rank)
      string(APPEND faults "  ${source} includes ${included}: ${target}/ is above ${layer}/\n")
    elseif(target_rank EQUAL rank AND NOT target STREQUAL layer)
      string(APPEND faults "  ${source} includes ${included}: ${target}/ stands beside ${layer}/\n")
    endif()
    if(interface AND included MATCHES "^platform/[^/]+/")
      string(APPEND faults "  ${source} includes ${included}: an interface includes no folder of platform/\n")
    endif()
    if(included MATCHES "^platform/win32/" AND NOT layer STREQUAL "app" AND NOT implementation MATCHES "win32")
      string(APPEND faults "  ${source} includes ${included}: only app/ and platform/win32/ may\n")
    endif()
    if(included MATCHES "^platform/(fake|std)/" AND NOT layer STREQUAL "app" AND implementation STREQUAL "")
      string(APPEND faults "  ${source} includes ${included}: the logic must not know a platform implementation\n")
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes that reach a layer above their own or one beside it:\n${faults}")
endif()
