# The Debian package, made by CPack's DEB generator: `cpack -G DEB` in a build configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package.sh does both) gives scrivlo_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME scrivlo)
set(CPACK_PACKAGE_VENDOR "The Scrivlo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word processor for rich text documents")
# Package descriptions keep their lines under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Scrivlo is a desktop word processor for rich text. It keeps several
documents open at once in one window, formats them with fonts, sizes, bold,
italic, underline, strike-through, colours, alignment and bullets, prints
them, and stores them as Rich Text Format or plain text. It also converts
documents to plain text, Rich Text Format or PDF from the command line,
without a display.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_PACKAGE_CONTACT "The Scrivlo developers <scrivlo@example.org>")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries' packages come from dpkg-shlibdeps; it finds the program's own library in
# its private folder through the program's run path. The fonts are ones the documents and the
# font boxes expect; Qt's SVG plugins draw the program's icons (loaded at run time, so
# dpkg-shlibdeps cannot see them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, libqt6svg6")
# Spelling goes through Enchant (found by dpkg-shlibdeps); Enchant finds the words in a
# Hunspell dictionary, which it does not depend on itself.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hunspell-en-us | hunspell-dictionary")

include(CPack)
