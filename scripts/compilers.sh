# Sourced by the set-up scripts: picks the native C and C++ compilers.
# The system's own compiler is used when it works; when it is missing or
# broken and clang works, clang builds the native programs instead (the
# code is warning-free with both).
compiles() { printf 'int main() { return 0; }\n' | "$1" -x c++ - -o /dev/null 2>/dev/null; }
if [ -z "${CXX:-}" ] && ! compiles c++; then
  if compiles clang++; then
    echo "note: the system C++ compiler does not work; building with clang"
    export CC=clang CXX=clang++
  else
    echo "error: no working C++ compiler (c++ or clang++)" >&2
    exit 1
  fi
fi
