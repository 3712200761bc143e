# The Debian package: `cpack -G DEB` in a build configured with
# CMAKE_INSTALL_PREFIX=/usr (scripts/package does both). dpkg-shlibdeps
# computes the shared-library dependencies from the binaries; what the
# program loads by name (the Qt platform and speech plugins) is listed here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wordlamp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Wordlamp developers <wordlamp@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "talking English-Japanese dictionary for blind users")
set(CPACK_PACKAGE_DESCRIPTION
    "Wordlamp is an English-Japanese and Japanese-English dictionary made for\n"
    "blind and partially sighted users: a word typed into it is looked up, shown\n"
    "in large print and read aloud through Speech Dispatcher. A word selected in\n"
    "another application can be looked up with a hot key. The dictionary is\n"
    "built from EDICT.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-speech-speechd-plugin | qt6-speech-flite-plugin")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "speech-dispatcher, mecab-ipadic-utf8, fonts-ipafont-gothic, at-spi2-core, xdg-user-dirs")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "edict, orca")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
include(CPack)
