# cmake -DTOOL=... -DMAP=... -DOUT=... -DEXPECTED=... -P texture_tool_check.cmake
# Runs the texture tool twice into a scratch folder and checks that it writes
# exactly the committed bytes (so the textures and the true picture's lunar
# map are reproducible from the raw map).
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
foreach(scale 1 2 map)
  execute_process(COMMAND "${TOOL}" "${MAP}" "${OUT}" ${scale} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "texture tool failed at scale ${scale}: ${rc}")
  endif()
endforeach()
foreach(name moon-lit-131.bmp moon-dark-130.bmp moon-lit-131@2x.bmp moon-dark-130@2x.bmp
             moon-map.bmp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}" "${EXPECTED}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from the committed texture")
  endif()
endforeach()
file(REMOVE_RECURSE "${OUT}")
