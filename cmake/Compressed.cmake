# Installs a text file (a manual page, the package changelog) compressed the way Debian wants
# it: gzip -9 with neither name nor time stored, so that the same text gives the same bytes.
# It is compressed when CMake configures, and again whenever the text changes, so that the
# package needs no build target for it.
function(quarnel_install_compressed file destination)
  get_filename_component(source ${file} ABSOLUTE)
  get_filename_component(name ${file} NAME)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/compressed/${name})
  configure_file(${source} ${copy} COPYONLY)
  execute_process(COMMAND gzip -9nf ${copy} COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()
