# vorn_add_installer_image(NAME HEAD <executable target> PACKAGE <dir> OUTPUT <file>)
#
# An installer image as part of the default build: a stripped copy of the head
# (symbol names could hold the signature), the package's files appended by
# vorn-mkimage, which also checks the result before it writes it.
function(vorn_add_installer_image name)
  cmake_parse_arguments(arg "" "HEAD;PACKAGE;OUTPUT" "" ${ARGN})
  file(GLOB package_files CONFIGURE_DEPENDS ${arg_PACKAGE}/*)
  set(stripped ${CMAKE_CURRENT_BINARY_DIR}/${name}.head)
  add_custom_command(
    OUTPUT ${arg_OUTPUT}
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${arg_HEAD}> ${stripped}
    COMMAND vorn-mkimage build --head ${stripped} --package ${arg_PACKAGE} -o ${arg_OUTPUT}
    DEPENDS ${arg_HEAD} vorn-mkimage ${package_files}
    BYPRODUCTS ${stripped}
    COMMENT "Building the installer image ${arg_OUTPUT}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${arg_OUTPUT})
endfunction()
