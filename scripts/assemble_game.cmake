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

# Every folder the data tree mounts: the base folders beside game/ and the eight folders of each
# expansion. Empty ones are mounted all the same, so the tree is the same on every machine.
set(tree_folders dungeon items skills sprites sfx tilesets ui)
foreach(folder ${tree_folders})
  file(MAKE_DIRECTORY ${GAME_ROOT}/${folder})
endforeach()
foreach(expansion expansion expansion2 expansion3)
  foreach(folder game ${tree_folders})
    file(MAKE_DIRECTORY ${GAME_ROOT}/${expansion}/${folder})
  endforeach()
endforeach()

# The core archive, searched before every loose file: the base game's databases (game/*.xml,
# which stay loose as well for the tools that read them from disk) and whatever data/zarnochcore/
# holds, at the archive's root.
set(core_stage ${GAME_ROOT}/../zarnochcore_stage)
file(REMOVE_RECURSE ${core_stage})
file(MAKE_DIRECTORY ${core_stage}/game)
file(GLOB core_databases ${SOURCE_DIR}/data/game/*.xml)
file(COPY ${core_databases} DESTINATION ${core_stage}/game)
if(IS_DIRECTORY ${SOURCE_DIR}/data/zarnochcore)
  file(GLOB core_extra ${SOURCE_DIR}/data/zarnochcore/*)
  file(COPY ${core_extra} DESTINATION ${core_stage})
endif()
file(GLOB_RECURSE core_entries RELATIVE ${core_stage} ${core_stage}/*)
list(SORT core_entries)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${GAME_ROOT}/zarnochcore.zip --format=zip ${core_entries}
                WORKING_DIRECTORY ${core_stage}
                RESULT_VARIABLE zip_result)
if(NOT zip_result EQUAL 0)
  message(FATAL_ERROR "could not build zarnochcore.zip")
endif()

configure_file(${GAME_EXE} ${GAME_ROOT}/vaultmere COPYONLY)
