# vorn_use_libmspack(TARGET): links libmspack (an independent SZDD expander, Debian
# package libmspack-dev) into TARGET and defines VORN_HAVE_LIBMSPACK, when found.
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(MSPACK QUIET IMPORTED_TARGET libmspack)
endif()

function(vorn_use_libmspack target)
  if(MSPACK_FOUND)
    target_link_libraries(${target} PRIVATE PkgConfig::MSPACK)
    target_compile_definitions(${target} PRIVATE VORN_HAVE_LIBMSPACK=1)
  endif()
endfunction()
