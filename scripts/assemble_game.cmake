# Builds the game folder GAME_ROOT from SOURCE_DIR/data, the placeholder art maker,
# a Debian font and the core archive. Run by the "gamefolder" target.
file(MAKE_DIRECTORY ${GAME_ROOT})
file(GLOB data_entries RELATIVE ${SOURCE_DIR}/data ${SOURCE_DIR}/data/*)
foreach(entry ${data_entries})
  if(entry STREQUAL "zarnochcore" OR entry MATCHES "^art_manifest")
    continue()
  endif()
  if(IS_DIRECTORY ${SOURCE_DIR}/data/${entry})
    file(COPY ${SOURCE_DIR}/data/${entry} DESTINATION ${GAME_ROOT})
  endif()
endforeach()

# Generated placeholder art: every data/art_manifest*.txt.
file(GLOB art_manifests ${SOURCE_DIR}/data/art_manifest*.txt)
foreach(manifest ${art_manifests})
  execute_process(COMMAND ${ARTMAKER} ${manifest} ${GAME_ROOT} RESULT_VARIABLE art_result)
  if(NOT art_result EQUAL 0)
    message(FATAL_ERROR "artmaker failed on ${manifest} (${art_result})")
  endif()
endforeach()

# Generated sound effects: every data/sound_manifest*.txt.
file(GLOB sound_manifests ${SOURCE_DIR}/data/sound_manifest*.txt)
foreach(manifest ${sound_manifests})
  execute_process(COMMAND ${SOUNDMAKER} ${manifest} ${GAME_ROOT} RESULT_VARIABLE sound_result)
  if(NOT sound_result EQUAL 0)
    message(FATAL_ERROR "soundmaker failed on ${manifest} (${sound_result})")
  endif()
endforeach()

# The one TrueType font.
file(MAKE_DIRECTORY ${GAME_ROOT}/fonts)
set(font_src /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)
if(NOT EXISTS ${font_src})
  message(FATAL_ERROR "missing ${font_src}: install fonts-dejavu-core")
endif()
configure_file(${font_src} ${GAME_ROOT}/fonts/Austin.ttf COPYONLY)

# The core archive, searched before every loose file.
if(IS_DIRECTORY ${SOURCE_DIR}/data/zarnochcore)
  file(GLOB core_entries RELATIVE ${SOURCE_DIR}/data/zarnochcore ${SOURCE_DIR}/data/zarnochcore/*)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${GAME_ROOT}/zarnochcore.zip --format=zip ${core_entries}
                  WORKING_DIRECTORY ${SOURCE_DIR}/data/zarnochcore
                  RESULT_VARIABLE zip_result)
  if(NOT zip_result EQUAL 0)
    message(FATAL_ERROR "could not build zarnochcore.zip")
  endif()
endif()

configure_file(${GAME_EXE} ${GAME_ROOT}/vaultmere COPYONLY)
