#!/bin/bash
# Builds the programs and runs them on the bundled examples, in a copy of
# examples/ under build/examples so the tree stays clean.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --run-only
. scripts/compilers.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target zorvex setup
rm -rf build/examples
cp -r examples build/examples

echo
echo "== zorvex build/examples/vexa/demo/house.prj"
build/converter/zorvex build/examples/vexa/demo/house.prj
echo
echo "== build/examples/vexa/demo/house.m3d (start)"
head -n 24 build/examples/vexa/demo/house.m3d
echo "..."
echo "== build/examples/vexa/demo/house.box"
cat build/examples/vexa/demo/house.box

echo
# the medium holds the program too: the install copies it into the product
# folder, where the uninstall entry's command runs it
cp build/installer/setup build/examples/installer/
echo "== build/examples/installer/setup"
echo "(questions are answered on the terminal; without one they take their default answer)"
# a scratch registry whose program-files folder is build/examples/programs,
# so the example installs there and not into /opt
export SETUP_REGISTRY=$PWD/build/examples/registry.reg
# and scratch menus, desktop and autostart folders for its shortcuts
export XDG_DATA_HOME=$PWD/build/examples/xdg/data XDG_CONFIG_HOME=$PWD/build/examples/xdg/config
export XDG_DESKTOP_DIR=$PWD/build/examples/xdg/desktop
# and a log of the run, for whoever wants to see what setup did
export SETUP_LOG=$PWD/build/examples/setup.log
mkdir -p build/examples/programs
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"ProgramFilesDir"="%s"\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\r\n' \
  "$PWD/build/examples/programs" > "$SETUP_REGISTRY"
set +e
build/examples/installer/setup
echo "setup exit status: $?"
echo
echo "== installed into build/examples/programs/Vexa 3D:"
ls -R "build/examples/programs/Vexa 3D" | head -n 20
echo "== the first lines of its log, build/examples/setup.log:"
head -n 12 build/examples/setup.log
echo "== its shortcuts, as desktop entries in build/examples/xdg:"
(cd build/examples/xdg && find . -name '*.desktop' | sort)
echo "(remove it again with the same SETUP_REGISTRY and XDG variables:"
echo " \"build/examples/programs/Vexa 3D/setup\" /UNINSTALL   (or /SILENT: without asking);"
echo " the setup.txt the install left there selects the uninstall run)"
