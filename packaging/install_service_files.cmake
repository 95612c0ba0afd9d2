# Install-time step: the render server's unit and defaults file, written with the paths of the
# prefix actually installed to (cmake --install --prefix, or /usr when CPack builds the package).
if(IS_ABSOLUTE "${MORV_SYSCONFDIR}")
  set(sysconfdir "${MORV_SYSCONFDIR}")
elseif(CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/")
  # As GNUInstallDirs has it: a system installation keeps its settings in /etc, not /usr/etc.
  set(sysconfdir "/${MORV_SYSCONFDIR}")
else()
  set(sysconfdir "${CMAKE_INSTALL_PREFIX}/${MORV_SYSCONFDIR}")
endif()
set(MORV_BINDIR "${CMAKE_INSTALL_PREFIX}/${MORV_BINDIR_RELATIVE}")
set(MORV_DEFAULTS_FILE "${sysconfdir}/default/morv-render-server")

configure_file("${MORV_PACKAGING_SOURCE_DIR}/systemd/morv-render-server.service.in"
               "${MORV_PACKAGING_BINARY_DIR}/morv-render-server.service" @ONLY)
file(INSTALL "${MORV_PACKAGING_BINARY_DIR}/morv-render-server.service"
     DESTINATION "${CMAKE_INSTALL_PREFIX}/lib/systemd/system")
file(INSTALL "${MORV_PACKAGING_SOURCE_DIR}/systemd/morv-render-server.default"
     DESTINATION "${sysconfdir}/default" RENAME morv-render-server)
