# What `cmake --install` puts in place, for a lab's machine or the Debian package: the two
# programs, their manual pages, menu entries, icons, AppStream files, bash completion, the
# examples and the Snakemake workflow.
include(GNUInstallDirs)

install(TARGETS kadrel lutrane RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages carry the version; Debian wants them compressed, without a time stamp.
find_program(KADREL_GZIP gzip REQUIRED)
set(man_pages)
foreach(page kadrel lutrane)
  configure_file(docs/man/${page}.1.in ${CMAKE_BINARY_DIR}/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.1.gz
                     COMMAND ${KADREL_GZIP} -9nkf ${page}.1
                     DEPENDS ${CMAKE_BINARY_DIR}/man/${page}.1
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/man VERBATIM)
  list(APPEND man_pages ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

foreach(app Kadrel Lutrane)
  install(FILES packaging/org.kadrel.${app}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/org.kadrel.${app}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  string(TOLOWER ${app} program)
  install(FILES packaging/${program}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES packaging/completions/${program} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endforeach()

set(KADREL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/kadrel)
install(DIRECTORY examples/ DESTINATION ${KADREL_DOC_DIR}/examples)
install(FILES README.md DESTINATION ${KADREL_DOC_DIR})
install(DIRECTORY workflow/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kadrel/workflow)
install(FILES CHANGELOG.md CITATION.cff DESTINATION ${KADREL_DOC_DIR})

# The Debian package (scripts/package.sh): kadrel_VERSION_ARCH.deb, its dependencies read from
# the libraries the programs link.
set(KADREL_MAINTAINER "Kadrel maintainers <maintainers@users.noreply.c-seed-24414d8f.example>"
    CACHE STRING "The package's Maintainer field")
set(debian ${CMAKE_BINARY_DIR}/debian)
add_custom_command(OUTPUT ${debian}/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUTPUT=${debian}/changelog
                           -DPACKAGE=kadrel -DMAINTAINER=${KADREL_MAINTAINER}
                           -P ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
                   COMMAND ${KADREL_GZIP} -9nf ${debian}/changelog
                   DEPENDS CHANGELOG.md cmake/DebianChangelog.cmake VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${debian}/changelog.gz)
install(FILES ${debian}/changelog.gz packaging/copyright DESTINATION ${KADREL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kadrel)
set(CPACK_PACKAGE_VENDOR "The Kadrel developers")
set(CPACK_PACKAGE_CONTACT ${KADREL_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS t-coffee)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "snakemake, r-cran-ape")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pairwise divergence of two sets of DNA sequences")
# CPack puts the summary first and indents these lines; an empty line parts paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "\
Kadrel aligns every sequence of one set of DNA sequences with every sequence
of another and reports for each pair the site-by-site counts, the p-distance
and one model-corrected distance (Jukes-Cantor, Kimura 2-parameter,
Tajima-Nei, Tamura 3-parameter, Tamura-Nei or LogDet), and for each query its
best matches, as used to name specimens by their DNA barcodes.

Pairs are aligned by t_coffee or by a fast built-in aligner (WFA2-lib and
parasail). kadrel opens a window or runs from the command line, also in
shards on a cluster through the Snakemake workflow it ships. Lutrane, its
companion, splits a multiple-sequence FASTA file into one file per record.")
include(CPack)
