# Installs headers of the host kit under okta/ in the include directory, with
# their includes of "host/..." and "common/..." turned into "okta/host/..."
# and "okta/common/...": a POS program reaches them as <okta/host/client.h>
# and gets nothing as generic as common/ on its include path.
# Run by install(CODE) with OKTA_HEADERS (the files), OKTA_FOLDER (host or
# common) and OKTA_INCLUDE_DIR (the include directory under the prefix).
foreach(header IN LISTS OKTA_HEADERS)
  file(READ "${header}" text)
  string(REGEX REPLACE "#include \"(host|common)/" "#include \"okta/\\1/" text "${text}")
  get_filename_component(name "${header}" NAME)
  set(target "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${OKTA_INCLUDE_DIR}/okta/${OKTA_FOLDER}/${name}")
  message(STATUS "Installing: ${target}")
  file(WRITE "${target}" "${text}")
endforeach()
