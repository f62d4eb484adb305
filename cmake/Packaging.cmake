# A Debian package of what cmake --install puts in place: cpack -G DEB in
# the build folder. Its dependencies come from the programs' own shared
# libraries (dpkg-shlibdeps), so they follow the converters that were built.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME crninv)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "crninv maintainers <maintainers@crninv.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "exact linear invariants of chemical reaction networks")
set(CPACK_PACKAGE_DESCRIPTION
    "crninv reads a chemical reaction network in a small text format and prints
its conservation laws and the other linear invariants of its stoichiometric
matrix, computed by exact 32-bit integer Gauss-Jordan elimination with every
operation checked for overflow. sbml2crn and pnml2crn convert SBML models and
PNML place/transition nets into that format.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
