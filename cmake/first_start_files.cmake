# Lays the files a first start expects beside the exe, never overwriting
# a history that is already there.
foreach(name Lb1.qlx Cb1.qlx)
  if(NOT EXISTS "${DIR}/${name}")
    file(WRITE "${DIR}/${name}" "")
  endif()
endforeach()
if(NOT EXISTS "${DIR}/prefs.qlx")
  file(WRITE "${DIR}/prefs.qlx" "0000000000\r\n")
endif()
