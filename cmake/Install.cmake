# cmake --install: the programs in bin, Wlhook in lib/<multiarch>/wordlamp,
# the data (braille table, dictionary, manuals) in share/wordlamp, and the
# desktop's files: entry, icon, AppStream metainfo, manual pages.
set(WORDLAMP_APP_ID io.github.wordlamp.Wordlamp)

install(TARGETS Wordlamp wordlamp-lookup wordlamp-lookup-speech wordlamp-dict RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS Wlhook LIBRARY DESTINATION ${WORDLAMP_INSTALL_LIBDIR} NAMELINK_SKIP)
install(FILES ${PROJECT_SOURCE_DIR}/platform/orrin/wordlampbr.ini DESTINATION ${WORDLAMP_INSTALL_DATADIR})
# The manuals' folder, there even before it holds anything.
install(DIRECTORY DESTINATION ${WORDLAMP_INSTALL_DATADIR}/manual)
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/manual)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/manual/ DESTINATION ${WORDLAMP_INSTALL_DATADIR}/manual)
endif()
# The dictionary when it has been built (the `dictionary` target); without it
# the program starts and says where the dictionary is missing.
install(FILES ${WORDLAMP_PROGRAM_DIR}/waei.dic ${WORDLAMP_PROGRAM_DIR}/wordmere.dic
  ${WORDLAMP_PROGRAM_DIR}/EDICT-COPYRIGHT.txt DESTINATION ${WORDLAMP_INSTALL_DATADIR} OPTIONAL)

install(FILES ${PROJECT_SOURCE_DIR}/data/${WORDLAMP_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${WORDLAMP_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/wordlamp.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages, compressed as Debian keeps them.
find_program(GZIP gzip REQUIRED)
set(manpages)
foreach(page Wordlamp.1 wordlamp-lookup.1 wordlamp-dict.1)
  set(out ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/man/${page} > ${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${page}
    VERBATIM)
  list(APPEND manpages ${out})
endforeach()
add_custom_target(manpages ALL DEPENDS ${manpages})
install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
