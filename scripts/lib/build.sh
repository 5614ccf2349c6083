# Sourced: configures and builds the cross build into build/mingw-i686.
build_project() {
  cmake --preset mingw-i686 >/dev/null
  cmake --build --preset mingw-i686
}
