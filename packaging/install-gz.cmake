# Installs the compressed files of the program: the manual page, which names
# the guide and the examples under the prefix being installed to (cpack
# installs to /usr whatever the configure said), and the changelog, both
# gzipped without a time stamp as a Debian package has them.
set(nivex_doc "${CMAKE_INSTALL_PREFIX}/${NIVEX_DOCDIR}")
# file(INSTALL) puts DESTDIR (set by cpack) in front by itself.
set(nivex_root "${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${NIVEX_BINARY_DIR}/gz")

set(NIVEX_DOC "${nivex_doc}")
configure_file("${NIVEX_SOURCE_DIR}/man/nivex.1.in" "${NIVEX_BINARY_DIR}/gz/nivex.1" @ONLY)
execute_process(COMMAND "${NIVEX_GZIP}" -9nf "${NIVEX_BINARY_DIR}/gz/nivex.1" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${NIVEX_GZIP}" -9nc "${NIVEX_SOURCE_DIR}/packaging/debian/changelog"
                OUTPUT_FILE "${NIVEX_BINARY_DIR}/gz/changelog.gz" COMMAND_ERROR_IS_FATAL ANY)

file(INSTALL DESTINATION "${nivex_root}/${NIVEX_MANDIR}/man1" TYPE FILE
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ FILES "${NIVEX_BINARY_DIR}/gz/nivex.1.gz")
file(INSTALL DESTINATION "${nivex_root}/${NIVEX_DOCDIR}" TYPE FILE
     PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ FILES "${NIVEX_BINARY_DIR}/gz/changelog.gz")
