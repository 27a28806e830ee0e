# The packages: on Linux the Debian package, `cpack -G DEB` in the build folder
# (scripts/package.sh builds, packs and checks it), holding what the folders' install() rules
# put under /usr and the package's own documents below; on Windows a zip of the two programs
# and a short read-me (scripts/windows_zips.sh).

set(CPACK_PACKAGE_NAME quarnel)
set(CPACK_PACKAGE_VENDOR "Quarnel maintainers")
set(CPACK_PACKAGE_CONTACT "Quarnel maintainers <maintainers@users.noreply.c-seed-8f0e512e.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "writes MTV header files for MPEG recordings")
# CPack indents these lines and marks the empty one as Debian's paragraph break.
set(CPACK_PACKAGE_DESCRIPTION "Quarnel writes the 568-byte MTV header file that capture-card
software needs beside an MPEG file: file name, size, creation time, video
system, picture size, rate control, bit rates, aspect ratio, sampling frequency
and AC-3 mark. The values come from its own MPEG analyser, which reads MPEG-1
system streams, MPEG-2 program and transport streams, video elementary streams
and numbered split-file sequences.

The package holds the dialog program quarnel, in English and Japanese, and the
command-line program quarnel-cli.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME windows-x64)
    set(QUARNEL_WINDOWS_KIND "64-bit Windows (x64)")
  else()
    set(CPACK_SYSTEM_NAME windows-x86)
    set(QUARNEL_WINDOWS_KIND "32-bit Windows (x86); it also runs on 64-bit Windows")
  endif()
  # Text files in a Windows zip carry Windows line ends.
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
    ${PROJECT_BINARY_DIR}/packaging/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright
    ${PROJECT_BINARY_DIR}/packaging/COPYRIGHT.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/README.txt
    ${PROJECT_BINARY_DIR}/packaging/COPYRIGHT.txt DESTINATION .)
else()
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # quarnel_VERSION_ARCH.deb
  set(CPACK_DEBIAN_PACKAGE_SECTION video)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt loads its platform plugins at run time, out of sight of the library dependencies.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)

  # Debian's documents of every package: the copyright and, for a package built from its own
  # sources, a changelog naming the version. SOURCE_DATE_EPOCH, when set, fixes its date.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
  string(TIMESTAMP QUARNEL_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
    ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
  quarnel_install_compressed(${PROJECT_BINARY_DIR}/packaging/changelog ${CMAKE_INSTALL_DOCDIR})
endif()

include(CPack)
