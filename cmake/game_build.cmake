# What the game's build and the fuzz build share: the language level, the warnings, the
# sanitizer flags, the libraries and the game library itself (every object linked whole).
# Set VAULTMERE_ROOT to the source folder before including this file.
set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

set(VAULTMERE_WARNINGS -Wall -Wextra)
set(VAULTMERE_SANITIZERS -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
set(VAULTMERE_SANITIZER_LINK -fsanitize=address,undefined)

find_package(PkgConfig REQUIRED)
find_package(SDL REQUIRED)
find_package(EXPAT REQUIRED)
find_package(ZLIB REQUIRED)
find_package(OpenAL REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SDLTTF REQUIRED IMPORTED_TARGET SDL_ttf)
pkg_check_modules(PHYSFS REQUIRED IMPORTED_TARGET physfs)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)

# vaultmere_game_library(NAME): an object library of every .cpp of the source folders but main().
# An object library, so that every object file is linked whole: saved classes register
# themselves from static objects that nothing else refers to, and a static archive would drop them.
function(vaultmere_game_library name)
  set(sources)
  foreach(dir core media levels creatures items_fixtures interface store_platform platform)
    file(GLOB_RECURSE dir_sources CONFIGURE_DEPENDS ${VAULTMERE_ROOT}/${dir}/*.cpp)
    list(APPEND sources ${dir_sources})
  endforeach()
  list(REMOVE_ITEM sources ${VAULTMERE_ROOT}/core/shell/main.cpp)
  add_library(${name} OBJECT ${sources})
  target_include_directories(${name} PUBLIC ${VAULTMERE_ROOT})
  target_compile_definitions(${name} PUBLIC PHYSFS_DEPRECATED=)
  target_link_libraries(${name} PUBLIC
    SDL::SDL PkgConfig::SDLTTF PkgConfig::PHYSFS PkgConfig::STB
    EXPAT::EXPAT ZLIB::ZLIB OpenAL::OpenAL Threads::Threads ${CMAKE_DL_LIBS})
endfunction()
