# The Moon's two surface textures (bitmaps 131 lit and 130 dark, each also at
# twice the size), compiled into the program as generated sources.

set(NORVALE_TEXTURE_DIR ${CMAKE_CURRENT_LIST_DIR}/textures)
set(NORVALE_TEXTURE_INPUTS
  "MoonLitBmp131=${NORVALE_TEXTURE_DIR}/moon-lit-131.bmp"
  "MoonDarkBmp130=${NORVALE_TEXTURE_DIR}/moon-dark-130.bmp"
  "MoonLitBmp131x2=${NORVALE_TEXTURE_DIR}/moon-lit-131@2x.bmp"
  "MoonDarkBmp130x2=${NORVALE_TEXTURE_DIR}/moon-dark-130@2x.bmp")
set(NORVALE_TEXTURE_FILES
  ${NORVALE_TEXTURE_DIR}/moon-lit-131.bmp
  ${NORVALE_TEXTURE_DIR}/moon-dark-130.bmp
  ${NORVALE_TEXTURE_DIR}/moon-lit-131@2x.bmp
  ${NORVALE_TEXTURE_DIR}/moon-dark-130@2x.bmp)
set(NORVALE_TEXTURE_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/TextureData.cpp)

add_custom_command(
  OUTPUT ${NORVALE_TEXTURE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUTPUT=${NORVALE_TEXTURE_SOURCE}
          "-DINPUTS=${NORVALE_TEXTURE_INPUTS}" -P ${NORVALE_TEXTURE_DIR}/embed.cmake
  DEPENDS ${NORVALE_TEXTURE_FILES} ${NORVALE_TEXTURE_DIR}/embed.cmake
  COMMENT "Embedding the Moon surface textures"
  VERBATIM)

add_library(norvale_textures STATIC ${NORVALE_TEXTURE_SOURCE}
            ${NORVALE_TEXTURE_DIR}/TextureData.h)
target_include_directories(norvale_textures PUBLIC ${PROJECT_SOURCE_DIR})

# The whole lunar map for the true picture (moon-map.bmp, made by the texture
# tool), in a library of its own so that only the programs that draw the true
# picture carry its half megabyte.
set(NORVALE_LUNAR_MAP_FILE ${NORVALE_TEXTURE_DIR}/moon-map.bmp)
add_library(norvale_lunarmap STATIC ${NORVALE_TEXTURE_DIR}/LunarMapData.cpp
            ${NORVALE_TEXTURE_DIR}/LunarMapData.h)
target_include_directories(norvale_lunarmap PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(norvale_lunarmap PRIVATE
                           NORVALE_LUNAR_MAP_FILE="${NORVALE_LUNAR_MAP_FILE}")
set_source_files_properties(${NORVALE_TEXTURE_DIR}/LunarMapData.cpp
                            PROPERTIES OBJECT_DEPENDS ${NORVALE_LUNAR_MAP_FILE})
