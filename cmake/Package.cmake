# The Debian package (make package, or cpack -G DEB in the build folder): the tree that
# `cmake --install` makes, under /usr, as build/kivrel_VERSION_ARCH.deb. Its library
# dependencies are read from the binaries by dpkg-shlibdeps; the menu, icon and file
# type caches are brought up to date by Debian's own triggers, so there are no
# maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kivrel)
set(CPACK_PACKAGE_VENDOR "Kivrel developers")
set(CPACK_PACKAGE_CONTACT "${KIVREL_MAINTAINER}")
if(KIVREL_HOMEPAGE)
  set(CPACK_PACKAGE_HOMEPAGE_URL "${KIVREL_HOMEPAGE}")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word search puzzle maker")
# The long description, in lines of at most 80 characters.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Kivrel builds word search puzzles from word lists: the longest words first,\n"
  "crossing one another where their letters agree, in four or eight directions.\n"
  "It fills the empty cells with random letters, shows the answer key and the\n"
  "crossings, saves word lists and puzzles, and prints a page with the title,\n"
  "the instructions, the grid and the word list.\n"
  "\n"
  "kivrel-cli builds puzzles and draws their pages as PDF, PNG or SVG files\n"
  "without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries do not name: Qt's platform plugins (the window system, and the
# offscreen one kivrel-cli draws on) and the fonts every page and grid is drawn with.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
include(CPack)
