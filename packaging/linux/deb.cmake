# The Linux program's installation: the program, its desktop entry, icon,
# AppStream metadata, manual page, READMEs, copyright and changelog; and
# the Debian package of it.
include(GNUInstallDirs)
set(TAV_ICONS ${PROJECT_SOURCE_DIR}/src/platform/qt/main/icons)
set(TAV_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tavrelon)

install(TARGETS tavrelon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES linux/tavrelon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES linux/org.tavrelon.Tavrelon.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 256)
  install(FILES ${TAV_ICONS}/tavrelon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tavrelon.png)
endforeach()
install(FILES ${TAV_ICONS}/tavrelon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page and the changelog, compressed as Debian keeps them: gzip
# at its best, without the file's name and time (which would make two
# builds differ).
set(TAV_BUILT ${CMAKE_CURRENT_BINARY_DIR})
configure_file(linux/tavrelon.1.in ${TAV_BUILT}/tavrelon.1 @ONLY)
configure_file(linux/changelog ${TAV_BUILT}/changelog COPYONLY)
foreach(compressed tavrelon.1 changelog)
  add_custom_command(OUTPUT ${TAV_BUILT}/${compressed}.gz
                     COMMAND gzip -9nkf ${TAV_BUILT}/${compressed}
                     DEPENDS ${TAV_BUILT}/${compressed} VERBATIM)
  list(APPEND TAV_COMPRESSED ${TAV_BUILT}/${compressed}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${TAV_COMPRESSED})
install(FILES ${TAV_BUILT}/tavrelon.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

file(GLOB TAV_SCREENSHOTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${PROJECT_SOURCE_DIR}/README.ja.md ${PROJECT_SOURCE_DIR}/README.md
              linux/copyright ${TAV_BUILT}/changelog.gz
        DESTINATION ${TAV_DOC_DIR})
install(FILES ${TAV_SCREENSHOTS} DESTINATION ${TAV_DOC_DIR}/docs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrelon)
set(CPACK_PACKAGE_DESCRIPTION [[
Tavrelon brings one folder tree up to date from another, one direction per
run: a folder on the computer and the root of a removable drive such as a
USB stick or an external disk. It lists what it would create, update and
delete, lets you strike entries, and then carries the lists out. Its window
and messages are in Japanese.]])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Tavrelon developers <tavrelon@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries (and the C and C++ runtimes) come from the program's
# links; the window's Japanese text needs a Japanese font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
