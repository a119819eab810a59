# What is installed beside the programs, and the packages cpack builds from it:
#   on Linux  tarvex_VERSION_ARCH.deb  (cpack -G DEB), for /usr, with the manual pages and Debian's papers;
#   on Windows tarvex-VERSION-win32.zip or -win64.zip (cpack), the two programs and the README as text.
# The programs are found by target name, wherever their folders define them.
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VENDOR "Lumor")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tree view, packer and checker for Visual Basic 6 projects")
set(TARVEX_MAINTAINER "Tarvex developers <tarvex@lumor.example>"
    CACHE STRING "The package's maintainer, as Debian writes one: Name <address>")
set(CPACK_PACKAGE_CONTACT ${TARVEX_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # One folder, tarvex-VERSION-win32, holding the programs and README.txt; `cmake --install` keeps bin/.
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(windows_bits win64)
  else()
    set(windows_bits win32)
  endif()
  set(readme ${CMAKE_BINARY_DIR}/README.txt)
  file(READ ${CMAKE_SOURCE_DIR}/README.md text)
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${readme} "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/README.md)
  foreach(program tarvex tarvex-cli)
    if(TARGET ${program})
      install(TARGETS ${program} RUNTIME DESTINATION . COMPONENT windows-archive EXCLUDE_FROM_ALL)
    endif()
  endforeach()
  install(FILES ${readme} DESTINATION . COMPONENT windows-archive EXCLUDE_FROM_ALL)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME tarvex-${PROJECT_VERSION}-${windows_bits})
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};Tarvex;windows-archive;/")
  include(CPack)
  return()
endif()

# The manual pages, compressed as Debian keeps them (-n: no name or time inside, the same bytes each build).
find_program(TARVEX_GZIP gzip)
set(man_dir ${CMAKE_BINARY_DIR}/man)
foreach(page tarvex tarvex-cli)
  set(source ${CMAKE_SOURCE_DIR}/docs/man/${page}.1)
  if(TARVEX_GZIP)
    add_custom_command(
      OUTPUT ${man_dir}/${page}.1.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${man_dir}/${page}.1
      COMMAND ${TARVEX_GZIP} -9nf ${man_dir}/${page}.1
      DEPENDS ${source}
      COMMENT "Compressing the manual page ${page}(1)")
    list(APPEND man_pages ${man_dir}/${page}.1.gz)
  else()
    list(APPEND man_pages ${source})
  endif()
endforeach()
add_custom_target(tarvex_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION share/man/man1)

# Debian's papers: the copyright file, and the changelog a native package carries.
set(changelog ${CMAKE_BINARY_DIR}/packaging/changelog)
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${changelog} @ONLY)
if(TARVEX_GZIP)
  add_custom_command(
    OUTPUT ${changelog}.gz
    COMMAND ${TARVEX_GZIP} -9nkf ${changelog}
    DEPENDS ${changelog}
    COMMENT "Compressing the changelog")
  add_custom_target(tarvex_changelog ALL DEPENDS ${changelog}.gz)
  set(changelog ${changelog}.gz)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${changelog} DESTINATION share/doc/tarvex)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tarvex shows a Visual Basic 6 project (.vbp) as a tree of its components,
packs it into one folder with every component file and its companions,
and checks what would break it on another machine or in a case-sensitive
checkout. tarvex-cli offers the same from the command line; tarvex is the
desktop window.")
if(TARGET tarvex_qt)
  # The window needs a Qt platform plugin, which no library it links names.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
include(CPack)
